// Asio's, asio::ssl's and Beast's own compiled parts, once for every file that uses them.
#include "http/asio.h"

#include <boost/asio/impl/src.hpp>
#include <boost/asio/ssl/impl/src.hpp>
#include <boost/beast/src.hpp>

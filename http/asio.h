#pragma once
// The one project header that brings in Boost.Asio, Beast and asio::ssl; every file of ours that
// needs them includes this one. <utility> comes first: Boost 1.74's Asio uses std::exchange
// without including it, which GCC 12 refuses in C++20.
#include <utility>

#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/ssl.hpp>
#include <boost/asio/steady_timer.hpp>
#include <boost/asio/strand.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>

namespace qmv::http {

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace bhttp = boost::beast::http;
using tcp = boost::asio::ip::tcp;
using error_code = boost::system::error_code;

}  // namespace qmv::http

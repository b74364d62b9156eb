#pragma once
// TLS for the server's connections (OpenSSL): the certificate and private key are loaded once, and
// every accepted socket is wrapped in a channel that does its handshake inside its first reads and
// writes. Loading happens on the controlling thread (it also makes the process ignore SIGPIPE);
// each channel belongs to the event thread.
#include "appserver/httpserver.h"

#include <QString>

namespace qmv::appserver {

// The channel factory of a server that speaks only TLS (1.2 or later) with this certificate chain
// and key (PEM files). Throws std::runtime_error naming the file that could not be used.
ChannelFactory tlsChannels(const QString& certificateFile, const QString& keyFile);

}  // namespace qmv::appserver

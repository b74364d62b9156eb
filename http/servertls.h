#pragma once
// The server's TLS identity: its certificate chain and private key (PEM files), loaded once on the
// controlling thread and shared, read-only, by every TLS connection (TLS 1.2 or later).
#include <QString>

#include <memory>

namespace qmv::http {

class ServerTls;

// Throws std::runtime_error naming the file that could not be used.
std::shared_ptr<ServerTls> loadServerTls(const QString& certificateFile, const QString& keyFile);

}  // namespace qmv::http

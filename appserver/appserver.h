#pragma once
// The application server: serves the remote methods of "Qmv00500.rdmFotoMontManual" over HTTP
// (POST /rdm/<object>/<method>, GET /health) on its own threads, each with its own database
// connection. start() and stop() may be called from any one controlling thread.
#include "appserver/dbconfig.h"

#include <QString>
#include <functional>
#include <memory>

namespace qmv::appserver {

using LogSink = std::function<void(const QString& line)>;

struct ServerOptions {
    DbConfig database;
    QString listen = QStringLiteral("127.0.0.1");
    int port = 8211;  // 0 picks a free port
    int threads = 8;
    LogSink log;      // one line per call; empty writes to standard error
};

class AppServer {
public:
    explicit AppServer(ServerOptions options);
    ~AppServer();  // stops
    AppServer(const AppServer&) = delete;
    AppServer& operator=(const AppServer&) = delete;

    // Migrates the schema, binds and starts serving; returns the port. Throws std::runtime_error.
    int start();
    // Stops accepting, finishes the calls in progress and closes the connections. Idempotent.
    void stop();
    int port() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace qmv::appserver

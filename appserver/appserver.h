#pragma once
// The application server: serves the remote methods of "Qmv00500.rdmFotoMontManual" over HTTP
// (POST /rdm/<object>/<method>, GET /health) and a read-only web view of the manual (GET /manual,
// web/website.h). A few I/O threads hold every client connection (http/httpserver.h); complete
// calls run on the worker threads, each with its own database connection, so the database
// connections are as many as the workers however many clients stay connected. The remote methods
// keep no session state: several servers may share one PostgreSQL behind a load balancer (the web
// view's sign-in sessions live in one server's memory).
// start() and stop() may be called from any one controlling thread.
//
// Exposure beyond loopback plugs in here: with ServerOptions::tls every connection speaks TLS
// (http/servertls.h), and ServerOptions::authorize sees every call before any database work
// with the access key the request carries (header "X-Access-Key") and its decoded arguments,
// from which it takes the branch the method works on; a refusal is answered 403 and logged.
// GET /metrics (Prometheus text) answers this machine, and others whose key readsMetrics accepts.
#include "appserver/database/dbconfig.h"
#include "http/httpserver.h"

#include <QCborArray>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

namespace qmv::appserver {

using http::HttpLimits;
using http::HttpRequest;
using http::HttpResponse;

using LogSink = std::function<void(const QString& line)>;

inline constexpr char AccessKeyHeader[] = "x-access-key";
// The login name of the person using the client, percent-encoded UTF-8: recorded, never trusted.
inline constexpr char UserHeader[] = "x-user";

struct CallAccess {
    std::string accessKey;    // the X-Access-Key header, empty when absent
    QString method;           // a method of the catalogue
    const QCborArray& arguments;
};

// Returns the reason for refusing the call, or nothing to let it run. Runs on a worker thread.
using AccessCheck = std::function<std::optional<QString>(const CallAccess& call)>;
// True when the access key may read the metrics from another machine. Runs on a worker thread.
using MetricsCheck = std::function<bool(const std::string& accessKey)>;

struct ServerOptions {
    DbConfig database;
    QString listen = QStringLiteral("127.0.0.1");
    int port = 8211;  // 0 picks a free port
    int threads = 8;  // workers, and so database connections
    HttpLimits limits;
    LogSink log;      // one line per call; empty writes to standard error
    AccessCheck authorize;   // empty: every call runs
    MetricsCheck readsMetrics;  // empty: metrics for this machine only
    std::shared_ptr<http::ServerTls> tls;  // empty: plain HTTP
    int historyDays = 0;        // > 0: history older than this many days is pruned (at start, then hourly)
    bool recordHistory = true;  // false only to measure what recording costs
    // The web view under /manual (web/website.h): whether an access key reads a branch ("" any).
    // Off loopback its pages need a signed-in key; webKeysOnLoopback asks for that on loopback too.
    std::function<bool(const std::string& key, const QString& branch)> webReads;
    bool webKeysOnLoopback = false;
};

class AppServer {
public:
    explicit AppServer(ServerOptions options);
    ~AppServer();  // stops
    AppServer(const AppServer&) = delete;
    AppServer& operator=(const AppServer&) = delete;

    // Migrates the schema, binds and starts serving; returns the port. Throws std::runtime_error,
    // also when the address is not loopback and TLS or access keys are missing (exposure.h).
    int start();
    // Stops accepting, finishes the calls in progress (answers not yet begun are refused with 503)
    // and closes the connections within the grace period of the limits. Idempotent.
    void stop();
    int port() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace qmv::appserver

#pragma once
// An HTTP/1.1 server on Boost.Beast over Boost.Asio, plain or TLS: a few I/O threads accept,
// read and write every connection asynchronously; only a complete request is handed to the
// executor (the worker pool) to be answered. An idle kept-alive connection or a slow sender holds
// no worker: it costs a socket and its own timers, never another client's call. Each connection
// has a timer of its own per phase (idle, headers, body, answer), so a request that arrives too
// slowly is answered 408 before the close. bind() and start() from one controlling thread; stop()
// from that thread too.
#include "http/httpmessage.h"
#include "platform/wire.h"

#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace qmv::http {

class ServerTls;
struct ServerCore;

// One I/O thread per four cores, at least one.
int defaultIoThreads();

struct HttpLimits {
    size_t maxHeadBytes = 16 * 1024;
    qsizetype maxBodyBytes = 8 * 1024 * 1024;
    std::chrono::milliseconds headerTimeout{10'000};  // from the first byte to the end of the headers
    std::chrono::milliseconds bodyTimeout{30'000};    // from the end of the headers to the last byte
    std::chrono::milliseconds idleTimeout{wire::serverIdleTimeout};  // a kept-alive connection between requests
    std::chrono::milliseconds writeTimeout{30'000};   // an answer the client does not read
    std::chrono::milliseconds stopGrace{3'000};       // stop(): answers in flight get this long
    int backlog = 1024;
    int maxConnections = 10'000;
    // The calls' work is on the workers; the I/O threads only move bytes (and TLS records). On two
    // cores a second one cost a quarter more CPU per small call in hand-offs than it gained.
    int ioThreads = defaultIoThreads();
};

struct HttpHandlers {
    // Runs on a worker: answers one complete request.
    std::function<HttpResponse(HttpRequest& request)> answer;
    // Runs on an I/O thread: the answer to a request refused before it was complete (bad framing,
    // too large, too slow) or refused because the server is stopping; `request` holds what was
    // read of it.
    std::function<HttpResponse(int status, const std::string& message, const HttpRequest& request)> refuse;
    // Runs on an I/O thread before a complete request goes to a worker: the answer to a request that
    // needs no worker (nothing that waits for the database), or nothing to hand it to one. Empty:
    // every request goes to a worker.
    std::function<std::optional<HttpResponse>(HttpRequest& request)> answerAtOnce;
    // Runs a task on a worker thread.
    std::function<void(std::function<void()> task)> execute;
    // A fault that closed one connection (an exception on an I/O thread); empty writes to stderr.
    std::function<void(const std::string& message)> fault;
};

struct ConnectionCounts {
    size_t open = 0;
    size_t idle = 0;  // kept alive, waiting for their next request
};

class HttpServer {
public:
    // Without `tls` the server speaks plain HTTP.
    HttpServer(HttpLimits limits, HttpHandlers handlers, std::shared_ptr<ServerTls> tls = {});
    ~HttpServer();  // stops
    HttpServer(const HttpServer&) = delete;
    HttpServer& operator=(const HttpServer&) = delete;

    // Binds and listens; port 0 picks a free one. Returns the port; throws std::runtime_error.
    int bind(const std::string& host, int port);
    void start();
    // Stops accepting, closes idle connections and requests not yet complete, lets the answers in
    // flight go out within the grace period (calls still queued are answered 503), then closes
    // every connection. Idempotent.
    void stop();
    // Any thread.
    ConnectionCounts connections() const;

private:
    std::unique_ptr<ServerCore> core_;
};

}  // namespace qmv::http

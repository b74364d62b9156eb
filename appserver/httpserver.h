#pragma once
// An event-driven HTTP/1.1 server: one thread waits on every connection (epoll), reads requests
// as their bytes arrive and writes answers as the sockets take them; only a complete request is
// handed to the executor (the worker pool) to be answered. An idle kept-alive connection or a slow
// sender therefore holds no worker: it costs a socket and its own timeouts, never another
// client's call. bind() and start() from one controlling thread; stop() from that thread too.
//
// Where TLS plugs in: the constructor takes a ChannelFactory, and every accepted
// socket is wrapped in the ByteChannel it returns (plain reads and writes by default). A TLS
// channel (OpenSSL on a non-blocking socket, SSL_set_accept_state) does its handshake inside its
// first read()/write() and maps SSL_ERROR_WANT_READ / SSL_ERROR_WANT_WRITE to errno EAGAIN; the loop
// reads until EAGAIN, so bytes buffered inside the TLS layer are always consumed.
#include "appserver/httprequest.h"

#include <sys/types.h>
#include <sys/uio.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>

namespace qmv::appserver {

struct HttpResponse {
    int status = 200;
    const char* contentType = "text/plain";
    QByteArray body;
};

struct HttpLimits {
    size_t maxHeadBytes = 16 * 1024;
    qsizetype maxBodyBytes = 8 * 1024 * 1024;
    std::chrono::milliseconds headerTimeout{10'000};  // from the first byte to the end of the headers
    std::chrono::milliseconds bodyTimeout{30'000};    // from the end of the headers to the last byte
    std::chrono::milliseconds idleTimeout{60'000};    // a kept-alive connection between requests
    std::chrono::milliseconds writeTimeout{30'000};   // an answer the client does not read
    std::chrono::milliseconds stopGrace{3'000};       // stop(): answers in flight get this long
    int backlog = 1024;
    int maxConnections = 10'000;
};

// The bytes of one accepted connection. read() and writev() behave as recv() and sendmsg() on a
// non-blocking socket: -1 with errno EAGAIN when they would block, read() 0 at the end of input.
class ByteChannel {
public:
    virtual ~ByteChannel() = default;
    virtual ssize_t read(char* data, size_t size) = 0;
    virtual ssize_t writev(const iovec* parts, int count) = 0;
};

using ChannelFactory = std::function<std::unique_ptr<ByteChannel>(int fd)>;

class HttpServer {
public:
    // Runs on a worker: answers one complete request.
    using Handler = std::function<HttpResponse(HttpRequest& request)>;
    // Runs on the event thread: the answer to a request refused before it was complete (bad
    // framing, too large, too slow); `request` holds what was read of it.
    using Refusal = std::function<HttpResponse(int status, const std::string& message, const HttpRequest& request)>;
    // Runs a task on a worker thread.
    using Executor = std::function<void(std::function<void()> task)>;

    HttpServer(HttpLimits limits, Handler handler, Refusal refusal, Executor executor,
               ChannelFactory channels = {});
    ~HttpServer();  // stops
    HttpServer(const HttpServer&) = delete;
    HttpServer& operator=(const HttpServer&) = delete;

    // Binds and listens; port 0 picks a free one. Returns the port; throws std::runtime_error.
    int bind(const std::string& host, int port);
    void start();
    // Stops accepting, refuses requests not yet begun, lets the answers in flight go out within
    // the grace period, then closes every connection. Idempotent.
    void stop();

private:
    struct Loop;
    std::unique_ptr<Loop> loop_;
};

}  // namespace qmv::appserver

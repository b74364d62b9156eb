#pragma once
// What the server's connections share: the limits and handlers, the TLS identity, the I/O context
// and the list of open connections (so that stop() can reach them). Internal to the server; the
// list and the counters take any thread, the rest is read-only once the server runs.
#include "http/asio.h"
#include "http/httpserver.h"

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <unordered_map>
#include <vector>

namespace qmv::http {

class ServerTls {
public:
    ServerTls() : context(asio::ssl::context::tls_server) {}
    asio::ssl::context context;
};

// The server's hold on one connection; both run on the connection's strand.
class SessionControl {
public:
    virtual ~SessionControl() = default;
    // Stopping: an idle or unfinished request is closed; a call in flight answers, then closes.
    virtual void beginStop() = 0;
    virtual void forceClose() = 0;
};

struct ServerCore {
    ServerCore(HttpLimits l, HttpHandlers h, std::shared_ptr<ServerTls> t);

    void fault(const std::string& message) const;
    uint64_t enrol(std::weak_ptr<SessionControl> session);
    void leave(uint64_t id);
    size_t connections();
    // Calls carrying large bodies: once none has been running for a while, freed memory goes back
    // to the system (calls coming one after another, such as photos, keep reusing it meanwhile).
    void largeCallStarted() { ++largeInFlight; }
    void largeCallFinished();
    void trimWhenQuiet(std::chrono::steady_clock::duration wait);

    const HttpLimits limits;
    const HttpHandlers handlers;
    const std::shared_ptr<ServerTls> tls;
    std::atomic<bool> stopping{false};

    std::mutex mutex;
    std::condition_variable emptied;
    std::unordered_map<uint64_t, std::weak_ptr<SessionControl>> sessions;
    uint64_t serial = 0;
    std::atomic<int> largeInFlight{0};
    std::atomic<std::chrono::steady_clock::rep> lastLargeCall{0};  // when the last one finished
    std::atomic<bool> trimArmed{false};  // one timer for a run of calls, not one wake-up per call
    std::atomic<int> idle{0};  // connections kept alive between requests

    // Declared after what the connections use: destroying the context destroys the connections.
    asio::io_context io;
    tcp::acceptor acceptor{asio::make_strand(io)};
    asio::steady_timer acceptPause{acceptor.get_executor()};
    asio::strand<asio::io_context::executor_type> trimStrand{asio::make_strand(io)};
    asio::steady_timer trimTimer{trimStrand};
    std::vector<std::thread> threads;
};

}  // namespace qmv::http

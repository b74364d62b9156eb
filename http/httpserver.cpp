#include "http/httpserver.h"

#include "http/serversession.h"

#include <malloc.h>

#include <algorithm>
#include <cstdio>
#include <stdexcept>

namespace qmv::http {

namespace {

using TlsStream = asio::ssl::stream<tcp::socket>;

// Accept failures that mean "out of descriptors or memory": wait instead of spinning on them.
bool exhausted(const error_code& ec)
{
    return ec == asio::error::no_descriptors || ec == asio::error::no_buffer_space || ec == asio::error::no_memory
           || ec.value() == ENFILE;
}

void accept(ServerCore& core);

void onAccepted(ServerCore& core, const error_code& ec, tcp::socket socket)
{
    if (ec == asio::error::operation_aborted || !core.acceptor.is_open())
        return;
    if (ec && exhausted(ec)) {
        core.acceptPause.expires_after(std::chrono::milliseconds(100));
        core.acceptPause.async_wait([&core](const error_code& e) {
            if (!e)
                accept(core);
        });
        return;
    }
    if (!ec && int(core.connections()) < core.limits.maxConnections) {
        error_code ignored;
        socket.set_option(tcp::no_delay(true), ignored);
        std::shared_ptr<SessionControl> session;
        if (core.tls) {
            auto s = std::make_shared<Session<TlsStream>>(core, std::move(socket), core.tls->context);
            s->start(core.enrol(s));
        } else {
            auto s = std::make_shared<Session<tcp::socket>>(core, std::move(socket));
            s->start(core.enrol(s));
        }
    }
    accept(core);
}

void accept(ServerCore& core)
{
    core.acceptor.async_accept(asio::make_strand(core.io), [&core](const error_code& ec, tcp::socket socket) {
        try {
            onAccepted(core, ec, std::move(socket));
        } catch (const std::exception& error) {
            core.fault(std::string("accepting a connection: ") + error.what());
            accept(core);
        }
    });
}

// One I/O thread: an exception out of a handler is reported and the thread goes on serving.
void serve(ServerCore& core)
{
    for (;;) {
        try {
            core.io.run();
            return;
        } catch (const std::exception& error) {
            core.fault(std::string("HTTP I/O thread: ") + error.what());
        }
    }
}

}  // namespace

int defaultIoThreads()
{
    return std::max(1, int(std::thread::hardware_concurrency() / 4));
}

ServerCore::ServerCore(HttpLimits l, HttpHandlers h, std::shared_ptr<ServerTls> t)
    : limits(l), handlers(std::move(h)), tls(std::move(t))
{
}

void ServerCore::fault(const std::string& message) const
{
    if (handlers.fault)
        handlers.fault(message);
    else
        std::fprintf(stderr, "%s\n", message.c_str());
}

uint64_t ServerCore::enrol(std::weak_ptr<SessionControl> session)
{
    std::lock_guard lock(mutex);
    sessions.emplace(++serial, std::move(session));
    return serial;
}

void ServerCore::leave(uint64_t id)
{
    std::lock_guard lock(mutex);
    sessions.erase(id);
    if (sessions.empty())
        emptied.notify_all();
}

ConnectionCounts HttpServer::connections() const
{
    return ConnectionCounts{core_->connections(), size_t(std::max(0, core_->idle.load(std::memory_order_relaxed)))};
}

size_t ServerCore::connections()
{
    std::lock_guard lock(mutex);
    return sessions.size();
}

namespace {
constexpr std::chrono::steady_clock::duration kTrimQuiet = std::chrono::milliseconds(500);
}

void ServerCore::largeCallFinished()
{
    lastLargeCall = std::chrono::steady_clock::now().time_since_epoch().count();
    if (--largeInFlight > 0 || trimArmed.exchange(true))
        return;
    asio::post(trimStrand, [this] { trimWhenQuiet(kTrimQuiet); });
}

// Waits until no large call has run for a while, then gives the freed pages back to the system.
void ServerCore::trimWhenQuiet(std::chrono::steady_clock::duration wait)
{
    trimTimer.expires_after(wait);
    trimTimer.async_wait([this](const error_code& ec) {
        if (ec) {
            trimArmed = false;
            return;
        }
        const auto last = std::chrono::steady_clock::time_point(std::chrono::steady_clock::duration(lastLargeCall));
        const auto quiet = std::chrono::steady_clock::now() - last;
        if (largeInFlight > 0 || quiet < kTrimQuiet)
            return trimWhenQuiet(largeInFlight > 0 ? kTrimQuiet : kTrimQuiet - quiet);
        trimArmed = false;
        ::malloc_trim(0);  // the large bodies are freed by now
    });
}

HttpServer::HttpServer(HttpLimits limits, HttpHandlers handlers, std::shared_ptr<ServerTls> tls)
    : core_(std::make_unique<ServerCore>(limits, std::move(handlers), std::move(tls)))
{
}

HttpServer::~HttpServer()
{
    stop();
}

int HttpServer::bind(const std::string& host, int port)
{
    ServerCore& core = *core_;
    error_code ec;
    tcp::resolver resolver(core.io);
    const auto found = resolver.resolve(host, std::to_string(port), tcp::resolver::passive, ec);
    if (ec || found.empty())
        throw std::runtime_error("cannot resolve " + host);
    const tcp::endpoint endpoint = found.begin()->endpoint();
    // Address reuse lets a restart bind at once; port sharing is left off, so a second server on
    // the same port fails instead of taking half the calls.
    core.acceptor.open(endpoint.protocol(), ec);
    if (!ec)
        core.acceptor.set_option(tcp::acceptor::reuse_address(true), ec);
    if (!ec)
        core.acceptor.bind(endpoint, ec);
    if (!ec)
        core.acceptor.listen(core.limits.backlog, ec);
    if (ec) {
        error_code ignored;
        core.acceptor.close(ignored);
        throw std::runtime_error("cannot listen on " + host + ":" + std::to_string(port) + ": " + ec.message());
    }
    return core.acceptor.local_endpoint().port();
}

void HttpServer::start()
{
    ServerCore& core = *core_;
    if (!core.acceptor.is_open())
        throw std::runtime_error("the HTTP server is not bound");
    accept(core);
    for (int i = 0; i < std::max(1, core.limits.ioThreads); ++i)
        core.threads.emplace_back([&core] { serve(core); });
}

void HttpServer::stop()
{
    ServerCore& core = *core_;
    if (core.threads.empty() || core.stopping.exchange(true))
        return;
    asio::post(core.acceptor.get_executor(), [&core] {
        error_code ignored;
        core.acceptor.close(ignored);
        core.acceptPause.cancel();
    });
    // Taken out of the list first: the last hold on a connection may go here, and it leaves the list.
    const auto each = [&core](void (SessionControl::*action)()) {
        std::vector<std::shared_ptr<SessionControl>> open;
        {
            std::lock_guard lock(core.mutex);
            for (const auto& [id, weak] : core.sessions)
                if (auto session = weak.lock())
                    open.push_back(std::move(session));
        }
        for (const auto& session : open)
            (session.get()->*action)();
    };
    each(&SessionControl::beginStop);
    {
        std::unique_lock lock(core.mutex);
        core.emptied.wait_for(lock, core.limits.stopGrace, [&core] { return core.sessions.empty(); });
    }
    each(&SessionControl::forceClose);
    {
        // The closes run on the I/O threads; a connection whose call is still queued stays until its
        // worker lets go of it.
        std::unique_lock lock(core.mutex);
        core.emptied.wait_for(lock, std::chrono::milliseconds(100), [&core] { return core.sessions.empty(); });
    }
    core.io.stop();
    for (std::thread& thread : core.threads)
        thread.join();
}

}  // namespace qmv::http

#include "appserver/httpserver.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <malloc.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <mutex>
#include <stdexcept>
#include <thread>
#include <unordered_map>
#include <vector>

namespace qmv::appserver {

namespace {

using Clock = std::chrono::steady_clock;

// Once no call has held a body at least this large for a while, freed memory goes back to the
// system; calls coming one after another (photos) keep reusing it meanwhile.
constexpr qsizetype largeBody = 256 * 1024;
constexpr auto trimAfter = std::chrono::milliseconds(500);
// Bodies beyond this are mapped and unmapped whole, so a burst of them is never kept in the arenas.
constexpr int mappedBody = 4 * 1024 * 1024;

class SocketChannel : public ByteChannel {
public:
    explicit SocketChannel(int fd) : fd_(fd) {}
    ssize_t read(char* data, size_t size) override { return ::recv(fd_, data, size, 0); }
    ssize_t writev(const iovec* parts, int count) override
    {
        msghdr message{};
        message.msg_iov = const_cast<iovec*>(parts);
        message.msg_iovlen = size_t(count);
        return ::sendmsg(fd_, &message, MSG_NOSIGNAL);
    }

private:
    int fd_;
};

const char* reason(int status)
{
    switch (status) {
    case 200: return "OK";
    case 400: return "Bad Request";
    case 403: return "Forbidden";
    case 404: return "Not Found";
    case 408: return "Request Timeout";
    case 411: return "Length Required";
    case 413: return "Content Too Large";
    case 417: return "Expectation Failed";
    case 431: return "Request Header Fields Too Large";
    case 500: return "Internal Server Error";
    case 503: return "Service Unavailable";
    case 505: return "HTTP Version Not Supported";
    default: return "Status";
    }
}

enum class Phase { Reading, Calling, Writing, Draining };

struct Connection {
    Connection(int socket, uint64_t serial, std::unique_ptr<ByteChannel> ch, const HttpLimits& limits)
        : fd(socket), id(serial), channel(std::move(ch)), parser(limits.maxHeadBytes, limits.maxBodyBytes)
    {
    }
    int fd;
    uint64_t id;
    std::unique_ptr<ByteChannel> channel;
    RequestParser parser;
    Phase phase = Phase::Reading;
    uint32_t watched = 0;  // the epoll events registered, 0 when not registered
    std::string pending;   // bytes of the next request read with the current one
    std::string head;      // the answer being written: head, then body
    QByteArray body;
    size_t written = 0;
    bool closeAfterWrite = false;
    bool continueSent = false;
    Clock::time_point since;  // start of the current phase (or of the idle wait)
    Clock::time_point bodySince;
};

struct Completion {
    int fd;
    uint64_t id;
    bool keepAlive;
    bool largeBody;
    HttpResponse response;
};

}  // namespace

struct HttpServer::Loop {
    HttpLimits limits;
    Handler handler;
    Refusal refusal;
    Executor executor;
    ChannelFactory channels;
    int listenFd = -1;
    int epollFd = -1;
    int wakeFd = -1;
    std::thread thread;
    std::atomic<bool> stopping{false};
    bool listenWatched = false;
    uint64_t serial = 0;
    std::unordered_map<int, std::unique_ptr<Connection>> connections;
    std::mutex completionMutex;
    std::vector<Completion> completions;
    int callsInFlight = 0;
    int largeInFlight = 0;
    bool trimDue = false;
    Clock::time_point trimAt{};
    Clock::time_point acceptPausedUntil{};

    ~Loop()
    {
        for (int fd : {listenFd, epollFd, wakeFd})
            if (fd >= 0)
                ::close(fd);
    }

    void watch(Connection& c, uint32_t events)
    {
        if (events == c.watched)
            return;
        epoll_event ev{};
        ev.events = events;
        ev.data.fd = c.fd;
        const int op = c.watched == 0 ? EPOLL_CTL_ADD : events == 0 ? EPOLL_CTL_DEL : EPOLL_CTL_MOD;
        ::epoll_ctl(epollFd, op, c.fd, &ev);
        c.watched = events;
    }

    void watchListener(bool on)
    {
        if (on == listenWatched || listenFd < 0)
            return;
        epoll_event ev{};
        ev.events = EPOLLIN;
        ev.data.fd = listenFd;
        ::epoll_ctl(epollFd, on ? EPOLL_CTL_ADD : EPOLL_CTL_DEL, listenFd, &ev);
        listenWatched = on;
    }

    void close(Connection& c)
    {
        watch(c, 0);
        const int fd = c.fd;
        c.channel.reset();
        ::close(fd);
        connections.erase(fd);
    }

    void acceptAll()
    {
        for (;;) {
            const int fd = ::accept4(listenFd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
            if (fd < 0) {
                if (errno == EMFILE || errno == ENFILE || errno == ENOBUFS || errno == ENOMEM) {
                    // Out of descriptors: let the backlog wait instead of spinning on it.
                    watchListener(false);
                    acceptPausedUntil = Clock::now() + std::chrono::milliseconds(100);
                }
                return;
            }
            if (int(connections.size()) >= limits.maxConnections) {
                ::close(fd);
                continue;
            }
            int yes = 1;
            ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof(yes));
            auto channel = channels ? channels(fd) : std::make_unique<SocketChannel>(fd);
            auto c = std::make_unique<Connection>(fd, ++serial, std::move(channel), limits);
            c->since = Clock::now();
            Connection& ref = *c;
            connections.emplace(fd, std::move(c));
            watch(ref, EPOLLIN);
        }
    }

    // Reads what the socket holds into the current request; hands it over once complete.
    void onReadable(Connection& c)
    {
        char scratch[16 * 1024];
        for (;;) {
            RequestParser& parser = c.parser;
            const bool inBody = parser.state() == RequestParser::State::Body;
            char* target = inBody ? parser.bodyCursor() : scratch;
            const size_t room = inBody ? size_t(parser.bodyMissing()) : sizeof scratch;
            const ssize_t n = c.channel->read(target, room);
            if (n == 0)
                return close(c);  // the client left before a request was complete
            if (n < 0) {
                if (errno == EINTR)
                    continue;
                if (errno != EAGAIN && errno != EWOULDBLOCK)
                    close(c);
                return;
            }
            if (inBody) {
                parser.advance(n);
            } else {
                const bool wasStarted = parser.started();
                const size_t used = parser.feed(scratch, size_t(n));
                if (!wasStarted && parser.started())
                    c.since = Clock::now();
                if (used < size_t(n))
                    c.pending.append(scratch + used, size_t(n) - used);
            }
            if (!afterInput(c))
                return;
        }
    }

    // Acts on the parser's state after new bytes; false when the connection stops reading.
    bool afterInput(Connection& c)
    {
        RequestParser& parser = c.parser;
        switch (parser.state()) {
        case RequestParser::State::Failed:
            refuse(c, parser.errorStatus(), parser.errorMessage());
            return false;
        case RequestParser::State::Complete:
            dispatch(c);
            return false;
        case RequestParser::State::Body:
            if (c.bodySince == Clock::time_point{})
                c.bodySince = Clock::now();
            if (parser.request().expectContinue && !c.continueSent) {
                static const char go[] = "HTTP/1.1 100 Continue\r\n\r\n";
                const iovec part{const_cast<char*>(go), sizeof go - 1};
                c.continueSent = true;
                c.channel->writev(&part, 1);
            }
            return true;
        case RequestParser::State::Head:
            return true;
        }
        return true;
    }

    void dispatch(Connection& c)
    {
        watch(c, 0);
        c.phase = Phase::Calling;
        ++callsInFlight;
        auto request = std::make_shared<HttpRequest>(std::move(c.parser.request()));
        const bool large = request->body.size() >= largeBody;
        largeInFlight += large ? 1 : 0;
        executor([this, fd = c.fd, id = c.id, request, large]() mutable {
            Completion done{fd, id, request->keepAlive, large, {}};
            if (stopping) {
                done.response = refusal(503, "Servidor em encerramento; repita a chamada.", *request);
            } else {
                try {
                    done.response = handler(*request);
                } catch (const std::exception& error) {
                    done.response = refusal(500, error.what(), *request);
                }
            }
            request.reset();
            bool wake = false;
            {
                std::lock_guard lock(completionMutex);
                wake = completions.empty();
                completions.push_back(std::move(done));
            }
            if (wake) {
                const uint64_t one = 1;
                [[maybe_unused]] const ssize_t n = ::write(wakeFd, &one, sizeof one);
            }
        });
    }

    void refuse(Connection& c, int status, const std::string& message)
    {
        respond(c, refusal(status, message, c.parser.request()), false);
    }

    void respond(Connection& c, HttpResponse response, bool keepAlive)
    {
        c.closeAfterWrite = !keepAlive || stopping;
        c.head = "HTTP/1.1 " + std::to_string(response.status) + ' ' + reason(response.status)
                 + "\r\nContent-Type: " + response.contentType
                 + "\r\nContent-Length: " + std::to_string(response.body.size())
                 + (c.closeAfterWrite ? "\r\nConnection: close\r\n\r\n" : "\r\nConnection: keep-alive\r\n\r\n");
        c.body = std::move(response.body);
        c.written = 0;
        c.phase = Phase::Writing;
        c.since = Clock::now();
        flush(c);
    }

    void flush(Connection& c)
    {
        const size_t total = c.head.size() + size_t(c.body.size());
        while (c.written < total) {
            iovec parts[2];
            int count = 0;
            if (c.written < c.head.size())
                parts[count++] = {c.head.data() + c.written, c.head.size() - c.written};
            const size_t bodyOffset = c.written > c.head.size() ? c.written - c.head.size() : 0;
            if (c.body.size() > qsizetype(bodyOffset))
                parts[count++] = {c.body.data() + bodyOffset, size_t(c.body.size()) - bodyOffset};
            const ssize_t n = c.channel->writev(parts, count);
            if (n < 0) {
                if (errno == EINTR)
                    continue;
                if (errno == EAGAIN || errno == EWOULDBLOCK)
                    return watch(c, EPOLLOUT);
                return close(c);
            }
            c.written += size_t(n);
        }
        finishAnswer(c);
    }

    void finishAnswer(Connection& c)
    {
        c.head.clear();
        c.body = QByteArray();
        if (c.closeAfterWrite) {
            // Unread request bytes would make close() reset the connection and lose the answer:
            // stop sending, then drain what the client still sends for a moment.
            ::shutdown(c.fd, SHUT_WR);
            c.phase = Phase::Draining;
            c.since = Clock::now();
            return watch(c, EPOLLIN);
        }
        c.parser.reset();
        c.phase = Phase::Reading;
        c.continueSent = false;
        c.bodySince = {};
        c.since = Clock::now();
        if (!c.pending.empty()) {
            std::string next;
            next.swap(c.pending);
            const size_t used = c.parser.feed(next.data(), next.size());
            c.pending.assign(next, used);
            if (!afterInput(c))
                return;
        }
        watch(c, EPOLLIN);
        // A request may already wait in the socket (pipelining or a quick client).
        onReadable(c);
    }

    void drain(Connection& c)
    {
        char scratch[16 * 1024];
        for (;;) {
            const ssize_t n = c.channel->read(scratch, sizeof scratch);
            if (n > 0)
                continue;
            if (n < 0 && errno == EINTR)
                continue;
            if (n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK))
                close(c);
            return;
        }
    }

    void takeCompletions()
    {
        uint64_t count = 0;
        [[maybe_unused]] const ssize_t n = ::read(wakeFd, &count, sizeof count);
        std::vector<Completion> done;
        {
            std::lock_guard lock(completionMutex);
            done.swap(completions);
        }
        for (Completion& completion : done) {
            --callsInFlight;
            if (completion.largeBody && --largeInFlight == 0) {
                trimDue = true;
                trimAt = Clock::now() + trimAfter;
            }
            const auto it = connections.find(completion.fd);
            if (it == connections.end() || it->second->id != completion.id)
                continue;
            respond(*it->second, std::move(completion.response), completion.keepAlive);
        }
    }

    void sweep(Clock::time_point now)
    {
        std::vector<Connection*> expired;
        for (auto& [fd, c] : connections) {
            const auto age = now - c->since;
            const bool late =
                (c->phase == Phase::Reading && !c->parser.started() && age > limits.idleTimeout)
                || (c->phase == Phase::Writing && age > limits.writeTimeout)
                || (c->phase == Phase::Draining && age > std::chrono::seconds(2))
                || (c->phase == Phase::Reading && c->parser.started() && timedOut(*c, now));
            if (late)
                expired.push_back(c.get());
        }
        for (Connection* c : expired) {
            if (c->phase == Phase::Reading && c->parser.started())
                refuse(*c, 408, "A requisição não chegou a tempo.");
            else
                close(*c);
        }
        if (!listenWatched && !stopping && now >= acceptPausedUntil)
            watchListener(true);
        if (trimDue && largeInFlight == 0 && now >= trimAt) {
            // Large bodies are freed by then; give their pages back so memory returns to idle.
            ::malloc_trim(0);
            trimDue = false;
        }
    }

    bool timedOut(const Connection& c, Clock::time_point now) const
    {
        if (c.parser.state() == RequestParser::State::Body)
            return now - c.bodySince > limits.bodyTimeout;
        return now - c.since > limits.headerTimeout;
    }

    void beginStop()
    {
        watchListener(false);
        ::close(listenFd);
        listenFd = -1;
        std::vector<Connection*> waiting;
        for (auto& [fd, c] : connections)
            if (c->phase == Phase::Reading || c->phase == Phase::Draining)
                waiting.push_back(c.get());
        for (Connection* c : waiting)
            close(*c);
        for (auto& [fd, c] : connections)
            c->closeAfterWrite = true;
    }

    void run()
    {
        std::vector<epoll_event> events(256);
        auto nextSweep = Clock::now();
        Clock::time_point stopDeadline{};
        bool stopBegun = false;
        for (;;) {
            const int n = ::epoll_wait(epollFd, events.data(), int(events.size()), 50);
            for (int i = 0; i < n; ++i) {
                const int fd = events[size_t(i)].data.fd;
                const uint32_t what = events[size_t(i)].events;
                if (fd == listenFd) {
                    acceptAll();
                } else if (fd == wakeFd) {
                    takeCompletions();
                } else if (const auto it = connections.find(fd); it != connections.end()) {
                    Connection& c = *it->second;
                    if (c.phase == Phase::Reading)
                        onReadable(c);
                    else if (c.phase == Phase::Writing && (what & (EPOLLOUT | EPOLLERR | EPOLLHUP)))
                        flush(c);
                    else if (c.phase == Phase::Draining)
                        drain(c);
                }
            }
            const auto now = Clock::now();
            if (stopping && !stopBegun) {
                stopBegun = true;
                stopDeadline = now + limits.stopGrace;
                beginStop();
            }
            if (stopBegun && (connections.empty() || now >= stopDeadline))
                break;
            if (now >= nextSweep) {
                sweep(now);
                nextSweep = now + std::chrono::milliseconds(100);
            }
        }
        while (!connections.empty())
            close(*connections.begin()->second);
    }
};

HttpServer::HttpServer(HttpLimits limits, Handler handler, Refusal refusal, Executor executor,
                       ChannelFactory channels)
    : loop_(std::make_unique<Loop>())
{
    loop_->limits = limits;
    loop_->handler = std::move(handler);
    loop_->refusal = std::move(refusal);
    loop_->executor = std::move(executor);
    loop_->channels = std::move(channels);
}

HttpServer::~HttpServer()
{
    stop();
}

int HttpServer::bind(const std::string& host, int port)
{
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_PASSIVE | AI_NUMERICSERV;
    addrinfo* found = nullptr;
    const std::string service = std::to_string(port);
    if (::getaddrinfo(host.c_str(), service.c_str(), &hints, &found) != 0 || !found)
        throw std::runtime_error("cannot resolve " + host);
    std::unique_ptr<addrinfo, decltype(&::freeaddrinfo)> guard(found, &::freeaddrinfo);
    const int fd = ::socket(found->ai_family, found->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0)
        throw std::runtime_error(std::string("socket: ") + std::strerror(errno));
    // Address reuse lets a restart bind at once; port sharing is left off, so a second server on
    // the same port fails instead of taking half the calls.
    int yes = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof(yes));
    if (::bind(fd, found->ai_addr, found->ai_addrlen) != 0 || ::listen(fd, loop_->limits.backlog) != 0) {
        const std::string reasonText = std::strerror(errno);
        ::close(fd);
        throw std::runtime_error("cannot listen on " + host + ":" + std::to_string(port) + ": " + reasonText);
    }
    sockaddr_storage bound{};
    socklen_t length = sizeof bound;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&bound), &length);
    loop_->listenFd = fd;
    return ntohs(bound.ss_family == AF_INET6 ? reinterpret_cast<sockaddr_in6&>(bound).sin6_port
                                             : reinterpret_cast<sockaddr_in&>(bound).sin_port);
}

void HttpServer::start()
{
    // Fixed thresholds, whichever server (program or embedded): left to adapt, the allocator would
    // keep very large bodies in its arenas after a burst; smaller ones stay there between calls
    // (mapping each anew costs a page fault per page) until the trim above gives them back.
    static std::once_flag thresholds;
    std::call_once(thresholds, [] {
        ::mallopt(M_MMAP_THRESHOLD, mappedBody);
        ::mallopt(M_TRIM_THRESHOLD, 4 * mappedBody);
    });
    Loop& loop = *loop_;
    loop.epollFd = ::epoll_create1(EPOLL_CLOEXEC);
    loop.wakeFd = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (loop.epollFd < 0 || loop.wakeFd < 0 || loop.listenFd < 0)
        throw std::runtime_error("cannot start the HTTP event loop");
    epoll_event ev{};
    ev.events = EPOLLIN;
    ev.data.fd = loop.wakeFd;
    ::epoll_ctl(loop.epollFd, EPOLL_CTL_ADD, loop.wakeFd, &ev);
    loop.watchListener(true);
    loop.thread = std::thread([&loop] { loop.run(); });
}

void HttpServer::stop()
{
    Loop& loop = *loop_;
    if (!loop.thread.joinable())
        return;
    loop.stopping = true;
    const uint64_t one = 1;
    [[maybe_unused]] const ssize_t n = ::write(loop.wakeFd, &one, sizeof one);
    loop.thread.join();
}

}  // namespace qmv::appserver

#include "keptaliveclients.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/epoll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <span>
#include <thread>

namespace qmv::bench {

using namespace std::chrono_literals;

int connectTo(int port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(uint16_t(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);  // loopback only, whatever the options say
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return -1;
    }
    int yes = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
    timeval tick{0, 100'000};
    ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &tick, sizeof tick);
    return fd;
}

namespace {

struct Caller {
    int fd = -1;
    bool calling = false;
    bool wantsOut = false;
    size_t sent = 0;
    std::string received;
    Clock::time_point start;
    Clock::time_point retry;  // while unconnected: when to try again
    std::vector<double> ms;
    int errors = 0;
};

// One thread's share of the connections, on its own epoll set.
class Driver {
public:
    Driver(int port, const std::string& request, std::span<Caller> callers, Clock::time_point end)
        : port_(port), request_(request), callers_(callers), end_(end), epoll_(::epoll_create1(0))
    {
    }
    ~Driver() { ::close(epoll_); }

    void run()
    {
        for (Caller& c : callers_)
            reconnect(c);
        epoll_event events[64];
        while (Clock::now() < end_) {
            const int n = ::epoll_wait(epoll_, events, 64, 10);
            for (int i = 0; i < n; ++i)
                onReady(*static_cast<Caller*>(events[i].data.ptr), events[i].events);
            for (Caller& c : callers_)
                if (c.fd < 0 && Clock::now() >= c.retry)
                    reconnect(c);
        }
    }

    void finish(Run& run)
    {
        const auto now = Clock::now();
        for (Caller& c : callers_) {
            int waiting = 0;
            if (c.calling) {
                c.ms.push_back(std::chrono::duration<double, std::milli>(now - c.start).count());
                waiting = 1;
            }
            if (c.fd >= 0)
                ::close(c.fd);
            run.add(c.ms, c.errors, waiting);
        }
    }

private:
    // Never waits: a connection refused is tried again a moment later, the others go on meanwhile.
    void reconnect(Caller& c)
    {
        if (c.fd >= 0)
            ::close(c.fd);
        c.calling = false;
        if ((c.fd = connectTo(port_)) < 0) {
            ++c.errors;
            c.retry = Clock::now() + 10ms;
            return;
        }
        ::fcntl(c.fd, F_SETFL, ::fcntl(c.fd, F_GETFL) | O_NONBLOCK);
        epoll_event event{EPOLLIN, {.ptr = &c}};
        ::epoll_ctl(epoll_, EPOLL_CTL_ADD, c.fd, &event);
        c.wantsOut = false;
        if (Clock::now() < end_)
            call(c);
    }

    void call(Caller& c)
    {
        c.calling = true;
        c.sent = 0;
        c.received.clear();
        c.start = Clock::now();
        if (!send(c))
            fail(c);
    }

    // Sends what the socket takes; the rest when it is writable again.
    bool send(Caller& c)
    {
        while (c.sent < request_.size()) {
            const ssize_t n = ::send(c.fd, request_.data() + c.sent, request_.size() - c.sent, MSG_NOSIGNAL);
            if (n > 0) {
                c.sent += size_t(n);
                continue;
            }
            if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
                return watchOut(c, true);
            return false;
        }
        return watchOut(c, false);
    }

    bool watchOut(Caller& c, bool out)
    {
        if (c.wantsOut != out) {
            epoll_event event{out ? uint32_t(EPOLLIN | EPOLLOUT) : uint32_t(EPOLLIN), {.ptr = &c}};
            ::epoll_ctl(epoll_, EPOLL_CTL_MOD, c.fd, &event);
            c.wantsOut = out;
        }
        return true;
    }

    void onReady(Caller& c, uint32_t events)
    {
        if ((events & EPOLLOUT) && c.sent < request_.size() && !send(c))
            return fail(c);
        if (!(events & (EPOLLIN | EPOLLERR | EPOLLHUP)))
            return;
        const bool open = receive(c);
        const Outcome outcome = answerIn(c.received);
        if (outcome == Outcome::Error || (outcome == Outcome::Unfinished && !open))
            return fail(c);
        if (outcome == Outcome::Unfinished)
            return;
        c.calling = false;
        c.ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - c.start).count());
        if (!open)
            reconnect(c);
        else if (Clock::now() < end_)
            call(c);
    }

    // False when the connection is gone (closed or failed); what came before stays received.
    bool receive(Caller& c)
    {
        char chunk[64 * 1024];
        for (;;) {
            const ssize_t n = ::recv(c.fd, chunk, sizeof chunk, 0);
            if (n > 0) {
                c.received.append(chunk, size_t(n));
                continue;
            }
            return n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR);
        }
    }

    void fail(Caller& c)
    {
        ++c.errors;
        reconnect(c);
    }

    int port_;
    const std::string& request_;
    std::span<Caller> callers_;
    Clock::time_point end_;
    int epoll_;
};

}  // namespace

void callOnKeptAliveConnections(Run& run, int port, const std::string& request, int connections, int threads,
                                int seconds)
{
    std::vector<Caller> callers(size_t(std::max(0, connections)));
    threads = std::clamp(threads, 1, std::max(1, connections));
    const auto start = Clock::now();
    const auto end = start + std::chrono::seconds(seconds);
    std::vector<std::thread> drivers;
    for (int t = 0; t < threads; ++t) {
        const size_t from = callers.size() * size_t(t) / size_t(threads);
        const size_t to = callers.size() * size_t(t + 1) / size_t(threads);
        drivers.emplace_back([&, from, to] {
            Driver driver(port, request, std::span<Caller>(callers).subspan(from, to - from), end);
            driver.run();
            driver.finish(run);
        });
    }
    for (std::thread& d : drivers)
        d.join();
    run.seconds = std::chrono::duration<double>(Clock::now() - start).count();
}

}  // namespace qmv::bench

// Load client for the application server and the peer endpoint, loopback only: N kept-alive
// connections calling for a fixed time, optionally beside idle connections and slow senders, then a
// burst of clients connecting at once. Latencies include the calls still waiting when a run ends.
// Prints calls/s, p50/p99/max, errors and clients served, and the ratios against the peer. With a
// TLS server beside the plain one, the same calls also go through our own client connection, plain
// and TLS (the certificate pinned), for the cost of TLS.
#include "keptaliveclients.h"
#include "loadtarget.h"
#include "peersql.h"

#include "http/httpconnection.h"

#include <QCoreApplication>

#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <barrier>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace qmv::bench;
using namespace std::chrono_literals;

struct Options {
    int port = 0;
    int peerPort = 0;
    QString db;
    int connections = 50;
    int drivers = 1;  // threads driving the connections
    int seconds = 20;
    int idle = 0;
    int slow = 0;
    int burst = 0;
    int tlsPort = 0;
    QString tlsCertificate;
};

bool sendAll(int fd, const std::string& bytes)
{
    for (size_t done = 0; done < bytes.size();) {
        const ssize_t n = ::send(fd, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
        if (n <= 0)
            return false;
        done += size_t(n);
    }
    return true;
}

// Reads one answer; Unfinished when `end` passes first.
Outcome readAnswer(int fd, std::string& buffer, Clock::time_point end)
{
    buffer.clear();
    char chunk[64 * 1024];
    for (;;) {
        if (const Outcome outcome = answerIn(buffer); outcome != Outcome::Unfinished)
            return outcome;
        const ssize_t n = ::recv(fd, chunk, sizeof chunk, 0);
        if (n > 0) {
            buffer.append(chunk, size_t(n));
            continue;
        }
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) {
            if (Clock::now() >= end)
                return Outcome::Unfinished;
            continue;
        }
        return Outcome::Error;
    }
}

// Idle connections, and slow ones sending one byte a second of an endless request.
class Bystanders {
public:
    Bystanders(int port, int idle, int slow) : port_(port)
    {
        for (int i = 0; i < idle; ++i)
            idle_.push_back(connectTo(port));
        for (int i = 0; i < slow; ++i)
            slow_.push_back(connectTo(port));
        if (slow > 0)
            sender_ = std::thread([this] { trickle(); });
    }
    ~Bystanders()
    {
        stop_ = true;
        if (sender_.joinable())
            sender_.join();
        for (int fd : idle_)
            ::close(fd);
        for (int fd : slow_)
            ::close(fd);
    }

private:
    void trickle()
    {
        const std::string request = "POST /rdm/Qmv00500.rdmFotoMontManual/GetParametros HTTP/1.1\r\n"
                                    "Content-Type: application/cbor\r\nContent-Length: 100000\r\n\r\n"
                                    + std::string(100000, 'x');
        size_t at = 0;
        while (!stop_) {
            for (int& fd : slow_)
                if (fd < 0 || ::send(fd, &request[at], 1, MSG_NOSIGNAL) != 1) {  // timed out: again
                    if (fd >= 0)
                        ::close(fd);
                    fd = connectTo(port_);
                }
            at = (at + 1) % request.size();
            for (int i = 0; i < 10 && !stop_; ++i)
                std::this_thread::sleep_for(100ms);
        }
    }

    int port_;
    std::vector<int> idle_, slow_;
    std::thread sender_;
    std::atomic<bool> stop_{false};
};

// One call as our client connection sends it: the path and body of a raw request.
struct Call {
    QByteArray path, body;
};

Call callOf(const std::string& request)
{
    const size_t path = request.find(' ') + 1;
    return Call{QByteArray::fromStdString(request.substr(path, request.find(' ', path) - path)),
                QByteArray::fromStdString(request.substr(request.find("\r\n\r\n") + 4))};
}

// A client on our own HTTP connection class, plain or (with a certificate) TLS.
void connectionClient(int port, const QString& certificate, const Call& call, Clock::time_point end, Run& run)
{
    qmv::http::HttpConnection connection(QStringLiteral("127.0.0.1"), port, certificate);
    const qmv::http::HttpConnection::Headers headers{{"Content-Type", "application/cbor"}};
    qmv::http::HttpConnection::Answer answer;
    std::vector<double> mine;
    int errors = 0;
    while (Clock::now() < end) {
        const auto start = Clock::now();
        if (connection.exchange("POST", call.path, headers, call.body, 30s, answer)
                != qmv::http::HttpConnection::Failure::None
            || answer.status != 200) {
            ++errors;
            std::this_thread::sleep_for(10ms);
            continue;
        }
        mine.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    run.add(mine, errors, 0);
}

using Client = std::function<void(Clock::time_point end, Run& run)>;

void measureWith(Run& run, const Client& each, int connections, int seconds)
{
    const auto end = Clock::now() + std::chrono::seconds(seconds);
    const auto start = Clock::now();
    std::vector<std::thread> threads;
    for (int i = 0; i < connections; ++i)
        threads.emplace_back([&] { each(end, run); });
    for (std::thread& t : threads)
        t.join();
    run.seconds = std::chrono::duration<double>(Clock::now() - start).count();
}

void measure(Run& run, int port, const std::string& request, const Options& o)
{
    callOnKeptAliveConnections(run, port, request, o.connections, o.drivers, o.seconds);
}

void report(const char* label, Run& run, int connections)
{
    std::printf("%-44s served %3d/%-3d %8.0f calls/s  p50 %7.2f ms  p99 %7.2f ms  max %8.2f ms  errors %d  "
                "unfinished %d\n",
                label, run.served, connections, run.callsPerSecond(), run.percentile(0.5), run.percentile(0.99),
                run.percentile(1.0), run.errors, run.unfinished);
    std::fflush(stdout);
}

// The same calls through our client connection, plain then TLS, and what TLS costs.
void compareTls(const Options& o, const std::string& request, const std::string& label)
{
    const Call call = callOf(request);
    Run plain, tls;
    measureWith(plain, [&](Clock::time_point end, Run& r) { connectionClient(o.port, {}, call, end, r); },
                o.connections, o.seconds);
    report(("client plain " + label).c_str(), plain, o.connections);
    measureWith(tls, [&](Clock::time_point end, Run& r) { connectionClient(o.tlsPort, o.tlsCertificate, call, end, r); },
                o.connections, o.seconds);
    report(("client TLS   " + label).c_str(), tls, o.connections);
    std::printf("ratio TLS/plain %s: calls/s %.2fx, p99 %.2fx\n", label.c_str(),
                tls.callsPerSecond() / plain.callsPerSecond(),
                tls.percentile(0.99) / std::max(0.001, plain.percentile(0.99)));
    std::fflush(stdout);
}

void burst(int port, const std::string& request, int clients)
{
    std::atomic<int> answered{0};
    std::barrier start(clients);
    const auto end = Clock::now() + 30s;
    std::vector<std::thread> threads;
    for (int i = 0; i < clients; ++i)
        threads.emplace_back([&] {
            start.arrive_and_wait();
            const int fd = connectTo(port);
            std::string buffer;
            if (fd >= 0 && sendAll(fd, request) && readAnswer(fd, buffer, end) == Outcome::Ok)
                ++answered;
            if (fd >= 0)
                ::close(fd);
        });
    for (std::thread& t : threads)
        t.join();
    std::printf("%d clients connecting at once: %d answered\n", clients, answered.load());
}

bool parse(int argc, char** argv, Options& o)
{
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string key = argv[i];
        const char* value = argv[i + 1];
        if (key == "--db")
            o.db = QString::fromLocal8Bit(value);
        else if (key == "--port")
            o.port = std::atoi(value);
        else if (key == "--peer-port")
            o.peerPort = std::atoi(value);
        else if (key == "--connections")
            o.connections = std::atoi(value);
        else if (key == "--drivers")
            o.drivers = std::atoi(value);
        else if (key == "--seconds")
            o.seconds = std::clamp(std::atoi(value), 1, 600);
        else if (key == "--idle")
            o.idle = std::atoi(value);
        else if (key == "--slow")
            o.slow = std::atoi(value);
        else if (key == "--burst")
            o.burst = std::atoi(value);
        else if (key == "--tls-port")
            o.tlsPort = std::atoi(value);
        else if (key == "--tls-cert")
            o.tlsCertificate = QString::fromLocal8Bit(value);
        else
            return false;
    }
    return o.port > 0 && !o.db.isEmpty() && (o.tlsPort == 0) == o.tlsCertificate.isEmpty();
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc == 3 && std::strcmp(argv[1], "--write-peer-sql") == 0) {
        qmv::bench::writePeerSql(QString::fromLocal8Bit(argv[2]));
        return 0;
    }
    Options o;
    if (!parse(argc, argv, o)) {
        std::fputs("usage: bench_load --db DEMO.sqlite --port P [--peer-port Q] [--connections 50] [--drivers 1]\n"
                   "                  [--seconds 20] [--idle N] [--slow N] [--burst N] [--tls-port T --tls-cert PEM]\n"
                   "       bench_load --write-peer-sql FILE\n",
                   stderr);
        return 2;
    }
    const qmv::bench::LoadTarget target = qmv::bench::loadTarget(o.db);
    const std::string rowsLabel = std::to_string(target.rows) + "-row GetSubGruSeMa";
    const int n = o.connections;
    // Interleaved: each call on the server, then on the peer, so both see the same machine state.
    Run cheap, rows, peerCheap, peerRows;
    measure(cheap, o.port, target.cheapCbor, o);
    report("appserver GetParametros", cheap, n);
    if (o.peerPort) {
        measure(peerCheap, o.peerPort, target.cheapJson, o);
        report("peer      GetParametros", peerCheap, n);
    }
    measure(rows, o.port, target.rowsCbor, o);
    report(("appserver " + rowsLabel).c_str(), rows, n);
    if (o.peerPort) {
        measure(peerRows, o.peerPort, target.rowsJson, o);
        report(("peer      " + rowsLabel).c_str(), peerRows, n);
        std::printf("ratio calls/s appserver/peer: GetParametros %.2fx, %s %.2fx\n",
                    cheap.callsPerSecond() / peerCheap.callsPerSecond(), rowsLabel.c_str(),
                    rows.callsPerSecond() / peerRows.callsPerSecond());
    }
    if (o.tlsPort) {
        compareTls(o, target.cheapCbor, "GetParametros");
        compareTls(o, target.rowsCbor, rowsLabel);
    }
    if (o.idle > 0 || o.slow > 0) {
        Bystanders bystanders(o.port, o.idle, o.slow);
        Run crowded;
        measure(crowded, o.port, target.rowsCbor, o);
        const std::string label = "appserver " + rowsLabel + " +" + std::to_string(o.idle) + " idle +"
                                  + std::to_string(o.slow) + " slow";
        report(label.c_str(), crowded, n);
        std::printf("ratio p99 with idle and slow connections / without: %.2fx\n",
                    crowded.percentile(0.99) / std::max(0.001, rows.percentile(0.99)));
    }
    if (o.burst > 0)
        burst(o.port, target.cheapCbor, o.burst);
    return 0;
}

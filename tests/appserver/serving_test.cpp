// The serving model over raw loopback sockets: every client is answered while hundreds of others
// hold idle or slow connections, framing the server cannot trust is refused before any call, slow
// requests time out, a half-closed HTTP/1.0 request is answered, large bodies leave no memory
// behind, and stop() ends within its grace period whatever the clients do.
#include "appserver/serverfixture.h"

#include <QCborValue>
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <thread>

namespace qmv::appserver::test {
namespace {

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

class RawClient {
public:
    explicit RawClient(int port)
    {
        fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(uint16_t(port));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        connected_ = ::connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    }
    ~RawClient() { ::close(fd_); }
    RawClient(const RawClient&) = delete;
    RawClient& operator=(const RawClient&) = delete;

    bool connected() const { return connected_; }
    bool send(std::string_view bytes) const
    {
        while (!bytes.empty()) {
            const ssize_t n = ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
            if (n <= 0)
                return false;
            bytes.remove_prefix(size_t(n));
        }
        return true;
    }
    void halfClose() const { ::shutdown(fd_, SHUT_WR); }

    // One answer (head and Content-Length body), or what came before the deadline or the close.
    std::string answer(std::chrono::milliseconds timeout = 5s)
    {
        std::string& text = received_;
        const auto deadline = Clock::now() + timeout;
        while (!complete(text)) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            pollfd p{fd_, POLLIN, 0};
            if (left.count() <= 0 || ::poll(&p, 1, int(left.count())) <= 0)
                break;
            char buffer[8192];
            const ssize_t n = ::recv(fd_, buffer, sizeof buffer, 0);
            if (n <= 0)
                break;
            text.append(buffer, size_t(n));
        }
        const size_t length = complete(text);
        std::string first = length ? text.substr(0, length) : text;
        text.erase(0, length ? length : text.size());
        return first;
    }
    // True when the server closed the connection (after any answer).
    bool closedByServer(std::chrono::milliseconds timeout = 3s) const
    {
        pollfd p{fd_, POLLIN, 0};
        char byte;
        return ::poll(&p, 1, int(timeout.count())) > 0 && ::recv(fd_, &byte, 1, MSG_PEEK) <= 0;
    }

private:
    // The length of the first whole answer in `text`, 0 while there is none.
    static size_t complete(const std::string& text)
    {
        const size_t end = text.find("\r\n\r\n");
        if (end == std::string::npos)
            return 0;
        const size_t at = text.find("Content-Length: ");
        const size_t length = at < end ? std::stoul(text.substr(at + 16)) : 0;
        return text.size() >= end + 4 + length ? end + 4 + length : 0;
    }

    std::string received_;
    int fd_ = -1;
    bool connected_ = false;
};

int statusOf(const std::string& answer)
{
    return answer.size() > 12 && answer.starts_with("HTTP/1.1 ") ? std::stoi(answer.substr(9, 3)) : 0;
}

std::string callRequest(const QString& method, const QCborArray& args, std::string_view version = "HTTP/1.1")
{
    const QByteArray body = QCborValue(args).toCbor();
    return "POST /rdm/Qmv00500.rdmFotoMontManual/" + method.toStdString() + ' ' + std::string(version)
           + "\r\nHost: x\r\nContent-Type: application/cbor\r\nContent-Length: " + std::to_string(body.size())
           + "\r\n\r\n" + body.toStdString();
}

const std::string parametros = callRequest(u"GetParametros"_s, {u"0001"_s});

bool answeredOk(const std::string& answer)
{
    return statusOf(answer) == 200 && answer.find("\xf5") != std::string::npos;  // CBOR true of "ok"
}

long residentKiB()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.starts_with("VmRSS:"))
            return std::stol(line.substr(6));
    return 0;
}

class Serving : public ::testing::Test {
protected:
    void SetUp() override
    {
        database_ = std::make_unique<TestDatabase>(sqliteDriver);
        seedFixture(*database_);
    }
    void serve(const HttpLimits& limits = {}) { server_ = std::make_unique<TestServer>(database_->config(), limits); }

    void expectStillServing() const
    {
        RawClient client(server_->port());
        client.send(parametros);
        EXPECT_TRUE(answeredOk(client.answer()));
    }

    std::unique_ptr<TestDatabase> database_;
    std::unique_ptr<TestServer> server_;
};

TEST_F(Serving, AnswersEveryClientWhileFiveHundredOthersHoldIdleOrSlowConnections)
{
    serve();
    std::vector<std::unique_ptr<RawClient>> idle;
    for (int i = 0; i < 450; ++i)
        idle.push_back(std::make_unique<RawClient>(server_->port()));
    // Slow senders: headers without their end, and a body that never comes.
    std::vector<std::unique_ptr<RawClient>> slow;
    for (int i = 0; i < 16; ++i) {
        slow.push_back(std::make_unique<RawClient>(server_->port()));
        slow.back()->send(i % 2 ? parametros.substr(0, 40) : parametros.substr(0, parametros.size() - 3));
    }
    // Each newcomer is answered at once, however many connections the workers could hold.
    for (int i = 0; i < 34; ++i) {
        RawClient client(server_->port());
        const auto start = Clock::now();
        ASSERT_TRUE(client.send(parametros));
        ASSERT_TRUE(answeredOk(client.answer(2s))) << "client " << i;
        EXPECT_LT(Clock::now() - start, 1s) << "client " << i;
    }
    // Then every idle connection calls, all at once, and each is answered.
    for (const auto& client : idle)
        ASSERT_TRUE(client->connected() && client->send(parametros));
    int answered = 0;
    for (const auto& client : idle)
        answered += answeredOk(client->answer(10s)) ? 1 : 0;
    EXPECT_EQ(answered, 450);
}

TEST_F(Serving, RefusesFramingItCannotTrustBeforeAnyCall)
{
    serve();
    const std::string path = "POST /rdm/Qmv00500.rdmFotoMontManual/GetParametros HTTP/1.1\r\n"
                             "Content-Type: application/cbor\r\n";
    const std::string body = QCborValue(QCborArray{u"0001"_s}).toCbor().toStdString();
    const std::string length = "Content-Length: " + std::to_string(body.size()) + "\r\n";
    struct Case {
        std::string request;
        int status;
    };
    const std::vector<Case> cases = {
        {path + length + "Content-Length: 2\r\n\r\n" + body, 400},                    // conflicting
        {path + length + length + "\r\n" + body, 400},                                // repeated
        {path + "Content-Length: 1x\r\n\r\n" + body, 400},                            // not a number
        {path + "Transfer-Encoding: chunked\r\n\r\n5\r\nhello\r\n0\r\n\r\n", 411},   // no length
        {path + "Content-Length: 8388609\r\n\r\n", 413},                              // over the cap, unsent
        {"GARBAGE\r\n\r\n", 400},
        {"GET /health HTTP/2.0\r\n\r\n", 505},
        {"GET /health HTTP/1.1\r\nX: " + std::string(20000, 'a') + "\r\n\r\n", 431},
    };
    for (const Case& c : cases) {
        RawClient client(server_->port());
        client.send(c.request);
        const std::string answer = client.answer();
        EXPECT_EQ(statusOf(answer), c.status) << c.request.substr(0, 120);
        EXPECT_NE(answer.find("Connection: close"), std::string::npos);
        EXPECT_TRUE(client.closedByServer()) << c.request.substr(0, 120);
    }
    EXPECT_TRUE(server_->logLines().filter(u" ms "_s).isEmpty());  // no call ran
    expectStillServing();
}

TEST_F(Serving, AnswersAHalfClosedHttp10RequestAndClosesAfterIt)
{
    serve();
    RawClient client(server_->port());
    client.send(callRequest(u"GetParametros"_s, {u"0001"_s}, "HTTP/1.0"));
    client.halfClose();
    EXPECT_TRUE(answeredOk(client.answer()));
    EXPECT_TRUE(client.closedByServer());
}

TEST_F(Serving, KeepsAConnectionAliveForPipelinedCalls)
{
    serve();
    RawClient client(server_->port());
    client.send(parametros + parametros);
    EXPECT_TRUE(answeredOk(client.answer()));
    EXPECT_TRUE(answeredOk(client.answer()));
    client.send(parametros);
    EXPECT_TRUE(answeredOk(client.answer()));
}

TEST_F(Serving, SlowHeadersAndBodiesTimeOutWith408)
{
    HttpLimits limits;
    limits.headerTimeout = 300ms;
    limits.bodyTimeout = 300ms;
    serve(limits);
    for (const std::string& partial : {parametros.substr(0, 30), parametros.substr(0, parametros.size() - 2)}) {
        RawClient client(server_->port());
        const auto start = Clock::now();
        client.send(partial);
        EXPECT_EQ(statusOf(client.answer(3s)), 408);
        EXPECT_TRUE(client.closedByServer());
        EXPECT_LT(Clock::now() - start, 2s);
    }
    expectStillServing();
}

TEST_F(Serving, MemoryReturnsToIdleAfterABurstOfLargeBodies)
{
    serve();
    // Sixteen bodies of 7 MB at once, each read in full and refused (not a change set).
    const std::string request = callRequest(u"SetFotoSeMa"_s, {QByteArray(7 * 1024 * 1024 - 64, 'p')});
    expectStillServing();
    const long idle = residentKiB();
    std::vector<std::thread> senders;
    std::atomic<int> answered{0};
    for (int i = 0; i < 16; ++i)
        senders.emplace_back([&] {
            RawClient client(server_->port());
            client.send(request);
            answered += statusOf(client.answer(20s)) == 200 ? 1 : 0;
        });
    for (std::thread& sender : senders)
        sender.join();
    EXPECT_EQ(answered, 16);
    // The workers may still be letting go of their buffers on a busy machine: wait for it a while.
    long held = 0;
    for (int tries = 0; tries < 30; ++tries) {
        std::this_thread::sleep_for(100ms);
        held = residentKiB() - idle;
        if (held < 32 * 1024)
            break;
    }
    EXPECT_LT(held, 32 * 1024) << "KiB held after the burst";
}

TEST_F(Serving, StopEndsWithinTheGracePeriodWhateverClientsDo)
{
    HttpLimits limits;
    limits.stopGrace = 1s;
    serve(limits);
    std::vector<std::unique_ptr<RawClient>> clients;
    for (int i = 0; i < 20; ++i) {
        clients.push_back(std::make_unique<RawClient>(server_->port()));
        clients.back()->send(i % 2 ? parametros.substr(0, 50) : std::string());
    }
    const auto start = Clock::now();
    server_.reset();
    EXPECT_LT(Clock::now() - start, 2s);
    for (const auto& client : clients)
        EXPECT_TRUE(client->closedByServer(1s));
}

// Servers keep no session state: a change read through one server and made stale through another
// is refused, on the one database they share.
TEST(TwoServers, RefuseAStaleChangeMadeThroughTheOtherServer)
{
    TestDatabase database(postgresDriver);
    if (!database.available())
        GTEST_SKIP() << "QMV_TEST_PG names no PostgreSQL database";
    seedFixture(database);
    TestServer first(database.config());
    TestServer second(database.config());
    const QCborArray args{u"0001"_s, u"0001"_s, u"0001"_s, u"000000100100010001"_s, u"2"_s, u"2"_s};
    const DataPacket readByFirst = first.call(u"GetSubGruSeMa"_s, args).packet();
    const DataPacket readBySecond = second.call(u"GetSubGruSeMa"_s, args).packet();
    ASSERT_FALSE(readByFirst.rows.isEmpty());
    const auto send = [](const TestServer& server, const ChangeSet& changes) {
        return server.call(u"SetSubGruSeMa"_s, {toCbor(changes), u"_OBS"_s});
    };
    ASSERT_TRUE(send(first, updateOf(readByFirst, 0, {{u"NRORDSUMA"_s, u"010"_s}})).ok());
    const Reply stale = send(second, updateOf(readBySecond, 0, {{u"DSSUBGRUPO"_s, u"Outra"_s}}));
    EXPECT_FALSE(stale.ok());
    EXPECT_TRUE(stale.error().startsWith(u"Outro usuário alterou o sub-grupo"_s)) << stale.error().toStdString();
}

}  // namespace
}  // namespace qmv::appserver::test

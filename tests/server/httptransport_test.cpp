// The HTTP transport against small in-process servers: what goes on the wire, and every way a call can
// fail becoming a result with a clear message.
#include <gtest/gtest.h>

#include <QCborMap>
#include <QCborStreamWriter>
#include <QDateTime>
#include <QElapsedTimer>
#include <arpa/inet.h>
#include <atomic>
#include <netinet/in.h>
#include <sys/socket.h>
#include <string>
#include <thread>
#include <vector>
#include <unistd.h>

#include "http/httpserver.h"
#include "http/router.h"
#include "server/httptransport.h"
#include "server/loadresult.h"

namespace qmv {
namespace {

using namespace std::chrono_literals;

using http::HttpRequest;
using http::HttpResponse;
using http::Router;

// Our HTTP server with the given routes on a free loopback port for the lifetime of the object; with
// `health` it answers GET /health as the application server does.
class LocalServer {
public:
    explicit LocalServer(const std::function<void(Router&)>& routes, bool health = true)
    {
        if (health)
            router_.exact("GET", "/health", [](HttpRequest&, std::string_view) {
                return HttpResponse{200, "text/plain", "ok"};
            });
        routes(router_);
        http::HttpHandlers handlers;
        handlers.answer = [this](HttpRequest& request) { return router_.route(request); };
        handlers.refuse = [](int status, const std::string& message, const HttpRequest&) {
            return HttpResponse{status, "text/plain", QByteArray::fromStdString(message)};
        };
        handlers.execute = [](const std::function<void()>& task) { task(); };
        server_ = std::make_unique<http::HttpServer>(http::HttpLimits{}, handlers);
        port_ = server_->bind("127.0.0.1", 0);
        server_->start();
    }
    int port() const { return port_; }

private:
    Router router_;
    std::unique_ptr<http::HttpServer> server_;
    int port_ = 0;
};

HttpResponse answer(const QByteArray& body, const char* type, int status = 200)
{
    return HttpResponse{status, type, body};
}

QByteArray cbor(const QCborMap& map)
{
    return QCborValue(map).toCbor();
}

// A TCP socket bound to a free loopback port, and that port.
int boundSocket(int& port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    socklen_t len = sizeof addr;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len);
    port = ntohs(addr.sin_port);
    return fd;
}

int closedPort()
{
    int port = 0;
    ::close(boundSocket(port));
    return port;
}

TEST(HttpTransport, PostsTheArgumentsAsACborArrayToTheObjectAndMethodPath)
{
    std::string path, contentType;
    QCborArray received;
    LocalServer server([&](Router& r) {
        r.prefix("POST", "/rdm/", [&](HttpRequest& req, std::string_view) {
            path = req.path;
            contentType = req.header("content-type");
            received = QCborValue::fromCbor(req.body).toArray();
            return answer(cbor({{QStringLiteral("ok"), true},
                                {QStringLiteral("result"), QCborMap{{QStringLiteral("rows"), 3}}}}),
                          "application/cbor");
        });
    });
    HttpTransport transport;
    ASSERT_TRUE(transport.open(QStringLiteral("http://127.0.0.1/"), server.port(), 2s).ok);
    const QCborArray args{QStringLiteral("FIL1"), 1, QCborMap{{QStringLiteral("changes"), QCborArray{}}}};
    const RemoteResult result =
        transport.call(QStringLiteral("Qmv00500.rdmFotoMontManual"), QStringLiteral("InsereEquip"), args, 2s);
    ASSERT_TRUE(result.ok) << result.error.toStdString();
    EXPECT_TRUE(result.payload.isUndefined());
    EXPECT_EQ(QCborValue::fromCbor(result.encodedPayload).toMap().value(QStringLiteral("rows")).toInteger(), 3);
    EXPECT_EQ(path, "/rdm/Qmv00500.rdmFotoMontManual/InsereEquip");
    EXPECT_EQ(contentType, "application/cbor");
    EXPECT_EQ(received, args);
}

TEST(HttpTransport, LargeBinaryValuesTravelByteForByte)
{
    LocalServer server([](Router& r) {
        r.prefix("POST", "/rdm/", [](HttpRequest& req, std::string_view) {
            const QCborArray args = QCborValue::fromCbor(req.body).toArray();
            return answer(cbor({{QStringLiteral("ok"), true}, {QStringLiteral("result"), args.at(0)}}),
                          "application/cbor");
        });
    });
    QByteArray photo(549999, '\0');
    for (int i = 0; i < photo.size(); ++i)
        photo[i] = char((i * 131) % 256);
    HttpTransport transport;
    ASSERT_TRUE(transport.open(QStringLiteral("127.0.0.1"), server.port(), 2s).ok);
    for (int round = 0; round < 7; ++round) {
        const RemoteResult result = transport.call(QStringLiteral("S"), QStringLiteral("Echo"),
                                                   QCborArray{photo}, 5s);
        ASSERT_TRUE(result.ok) << result.error.toStdString();
        EXPECT_EQ(QCborValue::fromCbor(result.encodedPayload).toByteArray(), photo);
    }
}

TEST(HttpTransport, ErrorAnswersCarryTheServersMessage)
{
    LocalServer server([](Router& r) {
        r.exact("POST", "/rdm/S/Unknown", [](HttpRequest&, std::string_view) {
            return answer(cbor({{QStringLiteral("ok"), false},
                                {QStringLiteral("error"), QStringLiteral("Método desconhecido: Unknown.")}}),
                          "application/cbor", 404);
        });
        r.exact("POST", "/rdm/S/Bad", [](HttpRequest&, std::string_view) {
            return answer(R"({"ok": false, "error": "Corpo da requisição inválido."})", "application/json", 400);
        });
        r.exact("POST", "/rdm/S/Refused", [](HttpRequest&, std::string_view) {
            return answer(cbor({{QStringLiteral("ok"), false},
                                {QStringLiteral("error"), QStringLiteral("Outro usuário alterou o registro.")}}),
                          "application/cbor");
        });
    });
    HttpTransport transport;
    ASSERT_TRUE(transport.open(QStringLiteral("127.0.0.1"), server.port(), 2s).ok);
    const auto call = [&](const char* method) {
        return transport.call(QStringLiteral("S"), QString::fromLatin1(method), {}, 2s);
    };
    EXPECT_EQ(call("Unknown").error, QStringLiteral("Método desconhecido: Unknown."));
    EXPECT_EQ(call("Bad").error, QStringLiteral("Corpo da requisição inválido."));
    const RemoteResult refused = call("Refused");
    EXPECT_FALSE(refused.ok);
    EXPECT_EQ(refused.error, QStringLiteral("Outro usuário alterou o registro."));
}

TEST(HttpTransport, AnswersWithoutAUsableBodyBecomeFailuresNamingTheMethod)
{
    LocalServer server([](Router& r) {
        r.exact("POST", "/rdm/S/Crash", [](HttpRequest&, std::string_view) { return answer({}, "text/plain", 500); });
        r.exact("POST", "/rdm/S/Garbage", [](HttpRequest&, std::string_view) {
            return answer(QByteArray("\xff\x00 not cbor", 10), "application/cbor");
        });
        r.exact("POST", "/rdm/S/NoFlag", [](HttpRequest&, std::string_view) {
            return answer(cbor({{QStringLiteral("result"), 1}}), "application/cbor");
        });
    });
    HttpTransport transport;
    ASSERT_TRUE(transport.open(QStringLiteral("127.0.0.1"), server.port(), 2s).ok);
    const RemoteResult crash = transport.call(QStringLiteral("S"), QStringLiteral("Crash"), {}, 2s);
    EXPECT_FALSE(crash.ok);
    EXPECT_TRUE(crash.error.contains(QStringLiteral("HTTP 500"))) << crash.error.toStdString();
    EXPECT_TRUE(crash.error.contains(QStringLiteral("Crash")));
    for (const char* method : {"Garbage", "NoFlag"}) {
        const RemoteResult bad = transport.call(QStringLiteral("S"), QString::fromLatin1(method), {}, 2s);
        EXPECT_FALSE(bad.ok) << method;
        EXPECT_TRUE(bad.error.contains(QStringLiteral("resposta inválida"))) << bad.error.toStdString();
    }
}

TEST(HttpTransport, TheResultKeepsItsExactBytesWhereverItStandsInTheAnswer)
{
    const QCborArray nested{QStringLiteral("ação"), QCborMap{{1, QByteArray("\x00\xff", 2)}}, -5};
    QByteArray answer;
    {
        QCborStreamWriter writer(&answer);
        writer.startMap();  // indefinite length, result before ok, an unknown key in between
        writer.append(QStringLiteral("result"));
        QCborValue(nested).toCbor(writer);
        writer.append(QStringLiteral("trace"));
        writer.append(QStringLiteral("x"));
        writer.append(QStringLiteral("ok"));
        writer.append(true);
        writer.endMap();
    }
    LocalServer server([&](Router& r) {
        r.exact("POST", "/rdm/S/Nested", [&](HttpRequest&, std::string_view) {
            return HttpResponse{200, "application/cbor", answer};
        });
        r.exact("POST", "/rdm/S/Truncated", [&](HttpRequest&, std::string_view) {
            return HttpResponse{200, "application/cbor", answer.left(answer.size() - 3)};
        });
    });
    HttpTransport transport;
    ASSERT_TRUE(transport.open(QStringLiteral("127.0.0.1"), server.port(), 2s).ok);
    const RemoteResult result = transport.call(QStringLiteral("S"), QStringLiteral("Nested"), {}, 2s);
    ASSERT_TRUE(result.ok) << result.error.toStdString();
    EXPECT_EQ(result.encodedPayload, QCborValue(nested).toCbor());
    const RemoteResult truncated = transport.call(QStringLiteral("S"), QStringLiteral("Truncated"), {}, 2s);
    EXPECT_FALSE(truncated.ok);
    EXPECT_TRUE(truncated.error.contains(QStringLiteral("resposta inválida")));
}

TEST(HttpTransport, AJsonAnswerDecodesIntoThePacketAsTheServerWritesIt)
{
    LocalServer server([](Router& r) {
        r.exact("POST", "/rdm/S/Rows", [](HttpRequest&, std::string_view) {
            return answer(R"({"ok":true,"result":{"fields":[{"name":"DT","kind":"datetime"},
                {"name":"FG","kind":"blob"},{"name":"TX","kind":"text"},{"name":"NR","kind":"text"}],
                "rows":[[{"datetime":"2026-03-10T08:30:00.000Z"},{"base64":"AP8Q"},"ação",null]]}})",
                          "application/json");
        });
        r.exact("POST", "/rdm/S/BadBytes", [](HttpRequest&, std::string_view) {
            return answer(R"({"ok":true,"result":{"fields":[{"name":"FG","kind":"blob"}],
                "rows":[[{"base64":"@@@"}]]}})", "application/json");
        });
    });
    HttpTransport transport;
    ASSERT_TRUE(transport.open(QStringLiteral("127.0.0.1"), server.port(), 2s).ok);
    const RemoteResult rows = transport.call(QStringLiteral("S"), QStringLiteral("Rows"), {}, 2s);
    ASSERT_TRUE(rows.ok) << rows.error.toStdString();
    const DataPacket packet = checkedPacket(rows);
    ASSERT_EQ(packet.rows.size(), 1);
    const Row& row = packet.rows.first();
    EXPECT_EQ(row.value(0).toDateTime().date(), QDate(2026, 3, 10));
    EXPECT_EQ(row.value(0).toDateTime().time(), QTime(8, 30));
    EXPECT_EQ(row.value(1).toByteArray(), QByteArray("\x00\xff\x10", 3));
    EXPECT_EQ(row.value(2).toString(), QStringLiteral("ação"));
    EXPECT_TRUE(row.value(3).isNull());
    const RemoteResult bad = transport.call(QStringLiteral("S"), QStringLiteral("BadBytes"), {}, 2s);
    EXPECT_FALSE(bad.ok);
    EXPECT_EQ(bad.error, QStringLiteral("O servidor de aplicação enviou uma resposta inválida (BadBytes): "
                                        "base64 malformado."));
}

TEST(HttpTransport, ARefusedPortFailsTheOpenAndCallsWithoutAnOpenFail)
{
    const int port = closedPort();
    HttpTransport transport;
    const RemoteResult opened = transport.open(QStringLiteral("127.0.0.1"), port, 1s);
    EXPECT_FALSE(opened.ok);
    EXPECT_EQ(opened.error, QStringLiteral("Não foi possível conectar ao servidor de aplicação em 127.0.0.1:%1.")
                                .arg(port));
    const RemoteResult call = transport.call(QStringLiteral("S"), QStringLiteral("GetParametros"), {}, 1s);
    EXPECT_FALSE(call.ok);
    EXPECT_TRUE(call.error.contains(QStringLiteral("não está aberta")));
    EXPECT_EQ(call.delivery, Delivery::NotSent);
    EXPECT_FALSE(transport.open(QString(), 8211, 1s).ok);
    EXPECT_FALSE(transport.open(QStringLiteral("127.0.0.1"), 0, 1s).ok);
}

TEST(HttpTransport, AServerThatIsNotTheApplicationServerFailsTheOpen)
{
    LocalServer other([](Router&) {}, false);
    HttpTransport transport;
    const RemoteResult opened = transport.open(QStringLiteral("127.0.0.1"), other.port(), 1s);
    EXPECT_FALSE(opened.ok);
    EXPECT_TRUE(opened.error.contains(QStringLiteral("/health"))) << opened.error.toStdString();
}

TEST(HttpTransport, ASlowServerTimesOutWithinTheCallsTimeout)
{
    LocalServer server([](Router& r) {
        r.exact("POST", "/rdm/S/Slow", [](HttpRequest&, std::string_view) {
            std::this_thread::sleep_for(1500ms);
            return answer(cbor({{QStringLiteral("ok"), true}}), "application/cbor");
        });
    });
    QElapsedTimer clock;
    clock.start();
    const RemoteResult result = [&] {
        HttpTransport transport;
        EXPECT_TRUE(transport.open(QStringLiteral("127.0.0.1"), server.port(), 1s).ok);
        return transport.call(QStringLiteral("S"), QStringLiteral("Slow"), {}, 300ms);
    }();
    EXPECT_LT(clock.elapsed(), 1400);
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.error.contains(QStringLiteral("(Slow)"))) << result.error.toStdString();
}

// A server that answers one request per connection with the next scripted bytes, then closes it.
class ScriptedServer {
public:
    explicit ScriptedServer(std::vector<std::string> answers) : answers_(std::move(answers))
    {
        listener_ = boundSocket(port_);
        ::listen(listener_, 8);
        thread_ = std::thread([this] {
            for (const std::string& answer : answers_) {
                const int fd = ::accept(listener_, nullptr, nullptr);
                if (fd < 0)
                    return;
                readRequest(fd);
                ::send(fd, answer.data(), answer.size(), MSG_NOSIGNAL);
                ::close(fd);
                ++closed_;
            }
        });
    }
    ~ScriptedServer()
    {
        ::shutdown(listener_, SHUT_RDWR);
        ::close(listener_);
        thread_.join();
    }
    int port() const { return port_; }
    // Until the server has closed `count` connections (on loopback the close has then reached the client).
    void waitClosed(int count) const
    {
        for (int i = 0; i < 2000 && closed_ < count; ++i)
            std::this_thread::sleep_for(1ms);
    }

private:
    static void readRequest(int fd)
    {
        std::string bytes;
        char chunk[4096];
        size_t end = std::string::npos;
        while ((end = bytes.find("\r\n\r\n")) == std::string::npos) {
            const ssize_t n = ::recv(fd, chunk, sizeof chunk, 0);
            if (n <= 0)
                return;
            bytes.append(chunk, size_t(n));
        }
        const size_t at = bytes.find("Content-Length: ");
        const size_t length = at < end ? std::stoul(bytes.substr(at + 16)) : 0;
        while (bytes.size() < end + 4 + length) {
            const ssize_t n = ::recv(fd, chunk, sizeof chunk, 0);
            if (n <= 0)
                return;
            bytes.append(chunk, size_t(n));
        }
    }

    std::vector<std::string> answers_;
    std::atomic<int> closed_{0};
    int listener_ = -1;
    int port_ = 0;
    std::thread thread_;
};

// Each answer on a fresh connection: the server closes every kept-alive one after answering.
TEST(HttpTransport, ReconnectsAfterTheServerClosedAndFailsCleanlyOnBrokenAnswers)
{
    const std::string ok = cbor({{QStringLiteral("ok"), true}, {QStringLiteral("result"), 7}}).toStdString();
    const auto answer = [](const std::string& head, const std::string& body) { return head + "\r\n\r\n" + body; };
    ScriptedServer server({answer("HTTP/1.1 200 OK\r\nContent-Length: 2", "ok"),
                           answer("HTTP/1.1 200 OK\r\nContent-Type: application/cbor\r\nContent-Length: "
                                      + std::to_string(ok.size()),
                                  ok),
                           answer("HTTP/1.1 200 OK\r\nContent-Length: 100", "cut"),
                           answer("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked", "3\r\nabc\r\n0\r\n\r\n"),
                           "HTTP/1.1 200 OK\r\nX-Junk: " + std::string(70 * 1024, 'j')});
    HttpTransport transport;
    ASSERT_TRUE(transport.open(QStringLiteral("127.0.0.1"), server.port(), 2s).ok);
    server.waitClosed(1);
    const RemoteResult first = transport.call(QStringLiteral("S"), QStringLiteral("M"), {}, 2s);
    ASSERT_TRUE(first.ok) << first.error.toStdString();
    EXPECT_EQ(QCborValue::fromCbor(first.encodedPayload).toInteger(), 7);
    for (const char* broken : {"cut", "chunked", "head too long"}) {
        const RemoteResult result = transport.call(QStringLiteral("S"), QStringLiteral("M"), {}, 2s);
        EXPECT_FALSE(result.ok) << broken;
        EXPECT_EQ(result.delivery, Delivery::MayHaveReached) << broken;
        EXPECT_TRUE(result.error.contains(QStringLiteral("interrompida (M)"))) << result.error.toStdString();
    }
}

}  // namespace
}  // namespace qmv

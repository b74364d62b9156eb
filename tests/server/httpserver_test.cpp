// Our HTTP server and router on their own: a fault on an I/O thread closes one connection and the
// server goes on serving; routes match by method and exact path or prefix, in order.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <mutex>
#include <stdexcept>

#include "http/httpconnection.h"
#include "http/httpserver.h"
#include "http/router.h"

namespace qmv::http {
namespace {

using namespace std::chrono_literals;

// Sends `bytes` on a fresh loopback connection and returns what comes back until the server closes.
std::string sendRaw(int port, const std::string& bytes)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(uint16_t(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    timeval limit{5, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
    std::string received;
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0
        && ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL) == ssize_t(bytes.size())) {
        char chunk[4096];
        for (ssize_t n; (n = ::recv(fd, chunk, sizeof chunk, 0)) > 0;)
            received.append(chunk, size_t(n));
    }
    ::close(fd);
    return received;
}

TEST(HttpServer, AFaultOnAnIoThreadClosesOnlyThatConnection)
{
    std::mutex mutex;
    std::vector<std::string> faults;
    HttpHandlers handlers;
    handlers.answer = [](HttpRequest&) { return HttpResponse{200, "text/plain", "ok"}; };
    handlers.refuse = [](int, const std::string&, const HttpRequest&) -> HttpResponse {
        throw std::runtime_error("refusal broke");
    };
    handlers.execute = [](const std::function<void()>& task) { task(); };
    handlers.fault = [&](const std::string& message) {
        std::lock_guard lock(mutex);
        faults.push_back(message);
    };
    HttpServer server(HttpLimits{}, handlers);
    const int port = server.bind("127.0.0.1", 0);
    server.start();
    EXPECT_EQ(sendRaw(port, "GARBAGE\r\n\r\n"), "");  // closed without an answer
    HttpConnection client(QStringLiteral("127.0.0.1"), port);
    HttpConnection::Answer answer;
    ASSERT_EQ(client.exchange("GET", "/", {}, {}, 2s, answer), HttpConnection::Failure::None);
    EXPECT_EQ(answer.body, "ok");
    std::lock_guard lock(mutex);
    ASSERT_EQ(faults.size(), 1u);
    EXPECT_NE(faults[0].find("refusal broke"), std::string::npos) << faults[0];
}

TEST(Router, RoutesByMethodAndExactPathOrPrefixInOrder)
{
    Router router;
    const auto named = [](const char* name) {
        return [name](HttpRequest&, std::string_view rest) {
            return HttpResponse{200, "text/plain", QByteArray(name) + '|' + QByteArray(rest.data(), rest.size())};
        };
    };
    router.exact("GET", "/health", named("health"))
        .prefix("POST", "/rdm/", named("call"))
        .prefix("POST", "/", named("other post"))
        .otherwise(named("fallback"));
    const std::vector<std::tuple<std::string, std::string, QByteArray>> cases = {
        {"GET", "/health", "health|"},
        {"GET", "/health/x", "fallback|/health/x"},
        {"POST", "/health", "other post|health"},
        {"POST", "/rdm/S/M", "call|S/M"},
        {"PUT", "/rdm/S/M", "fallback|/rdm/S/M"},
    };
    for (const auto& [method, path, expected] : cases) {
        HttpRequest request;
        request.method = method;
        request.path = path;
        EXPECT_EQ(router.route(request).body, expected) << method << ' ' << path;
    }
}

}  // namespace
}  // namespace qmv::http

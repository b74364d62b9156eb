#pragma once
// A stand-in application server for lifecycle tests: answers GET /health on a free local port,
// counts the answers, and can be stopped and started again on the same port. Runs on our HTTP
// server's own threads; the test thread only starts, stops and reads the count.
#include "http/httpserver.h"
#include "http/router.h"

#include <atomic>
#include <memory>
#include <stdexcept>

namespace qmv::test {

class HealthServer {
public:
    HealthServer() { start(); }
    ~HealthServer() { stop(); }
    HealthServer(const HealthServer&) = delete;
    HealthServer& operator=(const HealthServer&) = delete;

    int port() const { return port_; }
    int healthChecks() const { return checks_.load(); }
    bool running() const { return server_ != nullptr; }

    void start()
    {
        if (server_)
            return;
        http::HttpHandlers handlers;
        handlers.answer = [this](http::HttpRequest& request) {
            http::Router router;
            router.exact("GET", "/health", [this](http::HttpRequest&, std::string_view) {
                ++checks_;
                return http::HttpResponse{200, "text/plain", "ok"};
            });
            return router.route(request);
        };
        handlers.refuse = [](int status, const std::string&, const http::HttpRequest&) {
            return http::HttpResponse{status, "text/plain", {}};
        };
        handlers.execute = [](const std::function<void()>& task) { task(); };
        auto server = std::make_unique<http::HttpServer>(http::HttpLimits{}, handlers);
        try {
            port_ = server->bind("127.0.0.1", port_);
        } catch (const std::runtime_error& error) {
            throw std::runtime_error(std::string("the health server cannot bind its port: ") + error.what());
        }
        server->start();
        server_ = std::move(server);
    }

    void stop() { server_.reset(); }

private:
    std::unique_ptr<http::HttpServer> server_;
    std::atomic<int> checks_{0};
    int port_ = 0;
};

}  // namespace qmv::test

#pragma once
// A stand-in application server for lifecycle tests: answers GET /health on a free local port,
// counts the answers, and can be stopped and started again on the same port. Runs its own thread;
// the test thread only starts, stops and reads the count.
#include <httplib.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <stdexcept>
#include <thread>

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
        server_ = std::make_unique<httplib::Server>();
        server_->Get("/health", [this](const httplib::Request&, httplib::Response& response) {
            ++checks_;
            response.set_content("ok", "text/plain");
        });
        if (port_ == 0)
            port_ = server_->bind_to_any_port("127.0.0.1");
        else if (!server_->bind_to_port("127.0.0.1", port_))
            throw std::runtime_error("the health server cannot bind its port again");
        if (port_ <= 0)
            throw std::runtime_error("the health server found no free port");
        thread_ = std::thread([this] { server_->listen_after_bind(); });
        while (!server_->is_running())
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }

    void stop()
    {
        if (!server_)
            return;
        server_->stop();
        thread_.join();
        server_.reset();
    }

private:
    std::unique_ptr<httplib::Server> server_;
    std::thread thread_;
    std::atomic<int> checks_{0};
    int port_ = 0;
};

}  // namespace qmv::test

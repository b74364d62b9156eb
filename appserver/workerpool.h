#pragma once
// The HTTP server's worker threads. Each worker opens its own database connection (a QtSql
// connection belongs to one thread) and closes it when the pool shuts down; a handler running on a
// worker reaches that connection through currentContext().
#include "appserver/dbconfig.h"
#include "appserver/methodcontext.h"

#include <httplib.h>

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace qmv::appserver {

class WorkerPool : public httplib::TaskQueue {
public:
    WorkerPool(DbConfig config, int threads, std::mutex* writeLock, QString connectionPrefix);
    ~WorkerPool() override;

    void enqueue(std::function<void()> task) override;
    void shutdown() override;

    // The calling worker's context, opening its connection when needed; throws MethodError
    // (Internal) when the database cannot be reached. Only valid on a worker thread.
    static MethodContext& currentContext();
    // Drops the calling worker's connection after a database failure (a PostgreSQL restart leaves
    // it unusable), so its next call opens a fresh one.
    static void discardCurrentConnection();

private:
    void run(int index);

    DbConfig config_;
    std::mutex* writeLock_;
    QString connectionPrefix_;
    std::vector<std::thread> threads_;
    std::deque<std::function<void()>> tasks_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stopping_ = false;
};

}  // namespace qmv::appserver

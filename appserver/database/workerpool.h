#pragma once
// The threads that run calls. Each worker opens its own database connection (a QtSql connection
// belongs to one thread) and closes it when the pool shuts down; a handler running on a worker
// reaches that connection through currentContext(). The pool knows nothing of HTTP connections:
// the database connections are as many as the workers, however many clients are connected.
// A task goes to the worker that became idle last: its connection's page cache holds what the
// previous calls read and wrote (a photo just written is read back without touching the file),
// where waking any idle worker would spread the calls over cold caches. On SQLite, where a read
// computes from pages in memory, no more workers run at once than there are cores: more would only
// take turns on them, and take them from the threads that read and answer the requests. A worker
// that waits (BlockingSection: for the writer lock, for the disk) does not count meanwhile, so the
// reads go on beside the writes. On PostgreSQL a worker mostly waits for the server: all may run.
// enqueue() from any thread; shutdown() from the owner, once the tasks' producers have stopped.
#include "appserver/database/blockingsection.h"
#include "appserver/database/dbconfig.h"
#include "appserver/methods/methodcontext.h"

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace qmv::appserver {

class WorkerPool {
public:
    WorkerPool(DbConfig config, int threads, std::mutex* writeLock, QString connectionPrefix);
    ~WorkerPool();

    void enqueue(std::function<void()> task);
    // Tasks waiting for a worker.
    size_t queued();
    // Workers waiting for a task.
    size_t idleWorkers();
    // Runs the tasks already queued, then joins the workers and closes their connections.
    void shutdown();

    // The calling worker's context for a call of `method`, opening its connection when needed;
    // throws MethodError (Internal, with an occurrence id; the driver's text only in its detail)
    // when the database cannot be reached. Only valid on a worker thread.
    static MethodContext& currentContext(const QString& method);
    // True when the calling worker holds a PostgreSQL connection that no longer answers (the
    // server restarted): one round trip. False without a connection, and always on SQLite.
    static bool currentConnectionLost();
    // Drops the calling worker's connection after a database failure (a PostgreSQL restart leaves
    // it unusable), so its next call opens a fresh one.
    static void discardCurrentConnection();

private:
    struct Sleeper {
        std::condition_variable wake;
        bool woken = false;
    };

    void run(int index);
    // Waits on `self` until woken or stopping; false when the pool stops with nothing queued.
    bool waitForTask(std::unique_lock<std::mutex>& lock, Sleeper& self);
    // Wakes the worker idle last when a task waits and fewer than maxRunning_ run; under the lock.
    Sleeper* wakeable();
    void blocked();
    void unblocked();
    friend class BlockingSection;

    DbConfig config_;
    std::mutex* writeLock_;
    QString connectionPrefix_;
    std::vector<std::unique_ptr<Sleeper>> sleepers_;  // one per worker
    std::vector<std::thread> threads_;
    std::deque<std::function<void()>> tasks_;
    std::mutex mutex_;
    std::vector<Sleeper*> idle_;  // the last one became idle last
    int running_ = 0;             // workers awake and not in a BlockingSection
    int maxRunning_ = 0;
    bool stopping_ = false;
};

}  // namespace qmv::appserver

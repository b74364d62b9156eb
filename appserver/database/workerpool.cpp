#include "appserver/database/workerpool.h"

#include "appserver/methods/catalogue.h"
#include "appserver/methods/methoderror.h"
#include "appserver/database/sql.h"

namespace qmv::appserver {

using namespace Qt::StringLiterals;

namespace {

struct Worker {
    WorkerPool* pool = nullptr;
    const DbConfig* config = nullptr;
    std::mutex* writeLock = nullptr;
    QString connectionName;
    MethodContext context;
    bool open = false;
};

thread_local Worker* currentWorker = nullptr;

}  // namespace

WorkerPool::WorkerPool(DbConfig config, int threads, std::mutex* writeLock, QString connectionPrefix)
    : config_(std::move(config)), writeLock_(writeLock), connectionPrefix_(std::move(connectionPrefix))
{
    threads = std::max(1, threads);
    running_ = threads;  // until each finds nothing to do
    maxRunning_ = config_.driver == Driver::Sqlite ? std::max(2, int(std::thread::hardware_concurrency())) : threads;
    for (int i = 0; i < threads; ++i)
        sleepers_.push_back(std::make_unique<Sleeper>());
    for (int i = 0; i < threads; ++i)
        threads_.emplace_back([this, i] { run(i); });
}

WorkerPool::~WorkerPool()
{
    shutdown();
}

void WorkerPool::enqueue(std::function<void()> task)
{
    Sleeper* next = nullptr;
    {
        std::lock_guard lock(mutex_);
        tasks_.push_back(std::move(task));
        next = wakeable();  // none: a running worker takes it when it ends its call
    }
    // Woken outside the lock, so that it does not wake only to wait for the lock (the sleepers live
    // as long as the pool).
    if (next)
        next->wake.notify_one();
}

WorkerPool::Sleeper* WorkerPool::wakeable()
{
    if (tasks_.empty() || idle_.empty() || running_ >= maxRunning_)
        return nullptr;
    Sleeper* last = idle_.back();
    idle_.pop_back();
    last->woken = true;
    ++running_;
    return last;
}

void WorkerPool::blocked()
{
    Sleeper* next = nullptr;
    {
        std::lock_guard lock(mutex_);
        --running_;
        next = wakeable();
    }
    if (next)
        next->wake.notify_one();
}

void WorkerPool::unblocked()
{
    std::lock_guard lock(mutex_);
    ++running_;
}

BlockingSection::BlockingSection() : counted_(currentWorker != nullptr)
{
    if (counted_)
        currentWorker->pool->blocked();
}

BlockingSection::~BlockingSection()
{
    if (counted_)
        currentWorker->pool->unblocked();
}

size_t WorkerPool::queued()
{
    std::lock_guard lock(mutex_);
    return tasks_.size();
}

size_t WorkerPool::idleWorkers()
{
    std::lock_guard lock(mutex_);
    return idle_.size();
}

void WorkerPool::shutdown()
{
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        for (Sleeper* sleeper : idle_)
            sleeper->wake.notify_one();
    }
    for (std::thread& thread : threads_)
        if (thread.joinable())
            thread.join();
}

void WorkerPool::run(int index)
{
    Worker worker;
    worker.pool = this;
    worker.config = &config_;
    worker.writeLock = writeLock_;
    worker.connectionName = u"%1-worker-%2"_s.arg(connectionPrefix_).arg(index);
    currentWorker = &worker;
    Sleeper& self = *sleepers_[size_t(index)];
    for (;;) {
        std::function<void()> task;
        {
            std::unique_lock lock(mutex_);
            if (!waitForTask(lock, self))
                break;
            task = std::move(tasks_.front());
            tasks_.pop_front();
        }
        task();
        if (worker.open)
            finishStatements(worker.connectionName);
    }
    currentWorker = nullptr;
    if (worker.open) {
        worker.context.db = QSqlDatabase();
        closeDatabase(worker.connectionName);
    }
}

bool WorkerPool::waitForTask(std::unique_lock<std::mutex>& lock, Sleeper& self)
{
    while (tasks_.empty() && !stopping_) {
        idle_.push_back(&self);
        --running_;
        self.wake.wait(lock, [&] { return self.woken || stopping_; });
        self.woken = false;
        // Stopping wakes a worker still on the list: it leaves it before the pool is joined.
        if (std::erase(idle_, &self) > 0)
            ++running_;
    }
    return !tasks_.empty();
}

void WorkerPool::discardCurrentConnection()
{
    Worker* worker = currentWorker;
    if (!worker || !worker->open)
        return;
    worker->context.db = QSqlDatabase();
    closeDatabase(worker->connectionName);
    worker->open = false;
}

bool WorkerPool::currentConnectionLost()
{
    Worker* worker = currentWorker;
    if (!worker || !worker->open || worker->config->driver != Driver::Postgres)
        return false;
    QSqlQuery ping(worker->context.db);
    return !ping.exec(u"SELECT 1"_s);
}

MethodContext& WorkerPool::currentContext(const QString& method)
{
    Worker* worker = currentWorker;
    if (!worker)
        throw MethodError(Failure::Internal, u"Chamada fora de uma thread do servidor."_s);
    if (worker->open && !worker->context.db.isOpen()) {
        worker->context.db = QSqlDatabase();
        closeDatabase(worker->connectionName);
        worker->open = false;
    }
    if (!worker->open) {
        try {
            worker->context.db = openDatabase(*worker->config, worker->connectionName);
            cacheStatements(worker->connectionName);
        } catch (const std::exception& error) {
            throw internalError(method, u"banco de dados indisponível"_s, QString::fromUtf8(error.what()));
        }
        worker->context.driver = worker->config->driver;
        worker->context.writeLock = worker->writeLock;
        worker->open = true;
    }
    return worker->context;
}

}  // namespace qmv::appserver

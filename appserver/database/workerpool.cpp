#include "appserver/database/workerpool.h"

#include "appserver/methods/catalogue.h"
#include "appserver/methods/methoderror.h"
#include "appserver/database/sql.h"

namespace qmv::appserver {

using namespace Qt::StringLiterals;

namespace {

struct Worker {
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
    for (int i = 0; i < std::max(1, threads); ++i)
        threads_.emplace_back([this, i] { run(i); });
}

WorkerPool::~WorkerPool()
{
    shutdown();
}

void WorkerPool::enqueue(std::function<void()> task)
{
    {
        std::lock_guard lock(mutex_);
        tasks_.push_back(std::move(task));
    }
    wake_.notify_one();
}

size_t WorkerPool::queued()
{
    std::lock_guard lock(mutex_);
    return tasks_.size();
}

void WorkerPool::shutdown()
{
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    for (std::thread& thread : threads_)
        if (thread.joinable())
            thread.join();
}

void WorkerPool::run(int index)
{
    Worker worker;
    worker.config = &config_;
    worker.writeLock = writeLock_;
    worker.connectionName = u"%1-worker-%2"_s.arg(connectionPrefix_).arg(index);
    currentWorker = &worker;
    for (;;) {
        std::function<void()> task;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return stopping_ || !tasks_.empty(); });
            if (tasks_.empty())
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

#pragma once
// What a remote method runs against: the worker thread's own database connection, and the write
// scope that every Set... or insert runs in (one transaction, writers serialised on SQLite).
// Both belong to the worker thread that owns the connection.
#include "appserver/database/dbconfig.h"
#include "appserver/database/transactionguard.h"

#include <QSqlDatabase>
#include <mutex>
#include <optional>

namespace qmv::appserver {

struct MethodContext {
    QSqlDatabase db;
    Driver driver = Driver::Sqlite;
    std::mutex* writeLock = nullptr;  // shared by the workers of one server
    QString method;                   // the remote method being run, for messages
};

// Holds the writer lock (SQLite only: one file, one writer) and a transaction that rolls back
// unless commit() is reached.
class WriteScope {
public:
    explicit WriteScope(MethodContext& context)
    {
        if (context.driver == Driver::Sqlite && context.writeLock)
            lock_.emplace(*context.writeLock);
        transaction_.emplace(context.db);
    }
    void commit() { transaction_->commit(); }

private:
    std::optional<std::unique_lock<std::mutex>> lock_;
    std::optional<TransactionGuard> transaction_;
};

}  // namespace qmv::appserver

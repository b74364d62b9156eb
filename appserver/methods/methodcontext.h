#pragma once
// What a remote method runs against: the worker thread's own database connection, and the write
// scope that every Set... or insert runs in (one transaction, writers serialised on SQLite, the
// history of the write recorded in it). Both belong to the worker thread that owns the connection.
#include "appserver/database/blockingsection.h"
#include "appserver/database/dbconfig.h"
#include "appserver/database/sql.h"
#include "appserver/database/transactionguard.h"
#include "appserver/history/historyrecorder.h"

#include <QSqlDatabase>
#include <mutex>
#include <optional>

namespace qmv::appserver {

// Who makes a call, as the history records it: never used to allow or refuse anything.
struct CallIdentity {
    QString keyName = QStringLiteral("local");  // "local", or "chave:" and a digest of the access key
    QString user;                              // the login name the client sent, possibly empty
};

struct MethodContext {
    QSqlDatabase db;
    Driver driver = Driver::Sqlite;
    std::mutex* writeLock = nullptr;  // shared by the workers of one server
    QString method;                   // the remote method being run, for messages
    CallIdentity caller;
    bool recordHistory = true;
    HistoryRecorder* history = nullptr;  // the open write scope's, nullptr outside one or when not recording
};

// Holds the writer lock (SQLite only: one file, one writer) and a transaction that rolls back
// unless commit() is reached. On SQLite the worker mostly waits meanwhile (for the lock, for the
// log's sync), so another worker may run beside it.
class WriteScope {
public:
    explicit WriteScope(MethodContext& context) : context_(context)
    {
        if (context.driver == Driver::Sqlite && context.writeLock) {
            waiting_.emplace();
            lock_.emplace(*context.writeLock);
        }
        transaction_.emplace(context.db);
        if (context.recordHistory) {
            history_.emplace(context);
            context.history = &*history_;
        }
    }
    ~WriteScope() { context_.history = nullptr; }
    WriteScope(const WriteScope&) = delete;
    WriteScope& operator=(const WriteScope&) = delete;
    void commit()
    {
        // A half-read statement would carry the read snapshot through the commit: the checkpoint the
        // commit runs would then stop short of the commit's own pages, every time, and the log would
        // never start over (it grows without bound while writes continue).
        finishStatements(context_.db.connectionName());
        transaction_->commit();
    }

private:
    MethodContext& context_;
    std::optional<BlockingSection> waiting_;  // released last, after the lock
    std::optional<std::unique_lock<std::mutex>> lock_;
    std::optional<TransactionGuard> transaction_;
    std::optional<HistoryRecorder> history_;
};

}  // namespace qmv::appserver

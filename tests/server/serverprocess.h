#pragma once
// The appserver program (QMV_APPSERVER_PROGRAM) on the test's database, started again on the same
// port after a kill; its standard error is kept.
#include <QProcess>
#include <QRegularExpression>

#include <sys/types.h>

#include <atomic>
#include <csignal>
#include <memory>

#include "appserver/database/dbconfig.h"

namespace qmv {

class ServerProcess {
public:
    explicit ServerProcess(const appserver::DbConfig& db, QStringList options = {})
        : db_(db), options_(std::move(options))
    {
    }
    ~ServerProcess() { kill(); }

    int start()
    {
        const bool sqlite = db_.driver == appserver::Driver::Sqlite;
        const QStringList where{sqlite ? QStringLiteral("--db") : QStringLiteral("--pg"),
                                sqlite ? db_.sqliteFile : db_.pgConnInfo};
        process_ = std::make_unique<QProcess>();
        process_->start(QStringLiteral(QMV_APPSERVER_PROGRAM),
                        where + options_ + QStringList{QStringLiteral("--port"), QString::number(port_)});
        const QRegularExpression ready(QStringLiteral(R"(serving \S+ on http://127\.0\.0\.1:(\d+))"));
        const qsizetype from = output_.size();
        for (int i = 0; i < 300 && process_->waitForStarted(100); ++i) {
            process_->waitForReadyRead(100);
            output_ += QString::fromUtf8(process_->readAllStandardError());
            const auto match = ready.match(output_, from);
            if (match.hasMatch()) {
                pid_ = pid_t(process_->processId());
                return port_ = match.captured(1).toInt();
            }
        }
        return 0;
    }

    // From any thread: the process dies at once; kill() reaps it on the test's thread.
    void crash() { ::kill(pid_, SIGKILL); }

    void kill()
    {
        if (!process_)
            return;
        process_->kill();
        process_->waitForFinished(10000);
        output_ += QString::fromUtf8(process_->readAllStandardError());
        process_.reset();
    }

    // What the program has written so far (its log).
    QString log()
    {
        for (int i = 0; process_ && i < 5; ++i) {
            process_->waitForReadyRead(100);
            output_ += QString::fromUtf8(process_->readAllStandardError());
        }
        return output_;
    }

    int callsLogged(const QString& method) { return int(log().count(u' ' + method + u' ')); }

private:
    appserver::DbConfig db_;
    QStringList options_;
    std::unique_ptr<QProcess> process_;
    int port_ = 0;
    std::atomic<pid_t> pid_{0};
    QString output_;
};

}  // namespace qmv

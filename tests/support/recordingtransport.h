#pragma once
// A transport for tests: records every call (method and arguments, also as a canonical text such as
// GetSubGruSeMa("0001","0002",...)) and answers with prepared results, per method in order, or with a
// default success; or, given a transport to forward to, with that transport's answers (prepared
// answers still come first). Single thread.
#include <QHash>
#include <QList>
#include <QQueue>
#include <QStringList>
#include <memory>

#include "platform/packet.h"
#include "server/transport.h"

namespace qmv::test {

class RecordingTransport : public Transport {
public:
    struct Call {
        QString serverName;
        QString method;
        QCborArray args;
        QString text() const;  // canonical text; a change set reads <delta:IUD> by change kinds
    };

    RecordingTransport() = default;
    explicit RecordingTransport(std::unique_ptr<Transport> forwardTo) : forward_(std::move(forwardTo)) {}

    RemoteResult open(const QString& host, int port, std::chrono::milliseconds timeout) override;
    void close() override;
    RemoteResult call(const QString& serverName, const QString& method, const CallArguments& args,
                      std::chrono::milliseconds timeout) override;

    // Prepared answers, consumed in order per method.
    void answer(const QString& method, const RemoteResult& result);
    void answerPacket(const QString& method, const DataPacket& packet);
    void fail(const QString& method, const QString& message);
    // Every later open fails with this message (empty: opens succeed again).
    void refuseOpen(const QString& message) { refuseOpen_ = message; }

    const QList<Call>& log() const { return log_; }
    void clearLog() { log_.clear(); }
    QStringList calls() const;           // canonical texts in order
    QStringList opens() const { return opens_; }  // "host:port" of every open, in order
    int closes() const { return closes_; }
    bool isOpen() const { return open_; }
    std::chrono::milliseconds lastTimeout() const { return lastTimeout_; }

private:
    std::unique_ptr<Transport> forward_;
    QList<Call> log_;
    QHash<QString, QQueue<RemoteResult>> answers_;
    QStringList opens_;
    QString refuseOpen_;
    int closes_ = 0;
    bool open_ = false;
    std::chrono::milliseconds lastTimeout_{0};
};

// The canonical text of one argument: "text" quoted, integers bare, change sets <delta:IUD>.
QString canonicalArgument(const QCborValue& value);

}  // namespace qmv::test

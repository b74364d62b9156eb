#include "support/recordingtransport.h"

#include <QCborMap>

namespace qmv::test {

namespace {

QString quoted(QString text)
{
    text.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    text.replace(QLatin1Char('"'), QLatin1String("\\\""));
    return QLatin1Char('"') + text + QLatin1Char('"');
}

QString deltaText(const QCborValue& value)
{
    try {
        const ChangeSet changes = changeSetFromCbor(value);
        QString kinds;
        for (const Change& change : changes.changes)
            kinds += change.kind == ChangeKind::Insert   ? QLatin1Char('I')
                     : change.kind == ChangeKind::Update ? QLatin1Char('U')
                                                         : QLatin1Char('D');
        return QStringLiteral("<delta:%1>").arg(kinds);
    } catch (const PacketError&) {
        return value.toDiagnosticNotation(QCborValue::Compact);
    }
}

}  // namespace

QString canonicalArgument(const QCborValue& value)
{
    if (value.isString())
        return quoted(value.toString());
    if (value.isInteger())
        return QString::number(value.toInteger());
    if (value.isMap())
        return deltaText(value);
    return value.toDiagnosticNotation(QCborValue::Compact);
}

QString RecordingTransport::Call::text() const
{
    QStringList parts;
    for (const QCborValue& arg : args)
        parts << canonicalArgument(arg);
    return method + QLatin1Char('(') + parts.join(QLatin1Char(',')) + QLatin1Char(')');
}

RemoteResult RecordingTransport::open(const QString& host, int port, std::chrono::milliseconds timeout)
{
    opens_ << QStringLiteral("%1:%2").arg(host).arg(port);
    lastTimeout_ = timeout;
    if (forward_ && refuseOpen_.isEmpty()) {
        RemoteResult result = forward_->open(host, port, timeout);
        open_ = result.ok;
        return result;
    }
    open_ = refuseOpen_.isEmpty();
    return open_ ? RemoteResult{true, {}, {}} : RemoteResult{false, refuseOpen_, {}};
}

void RecordingTransport::close()
{
    ++closes_;
    open_ = false;
    if (forward_)
        forward_->close();
}

RemoteResult RecordingTransport::call(const QString& serverName, const QString& method,
                                      const CallArguments& args, std::chrono::milliseconds timeout)
{
    log_.append(Call{serverName, method, args.decoded()});
    lastTimeout_ = timeout;
    auto queue = answers_.find(method);
    if (queue != answers_.end() && !queue->isEmpty())
        return queue->dequeue();
    if (forward_)
        return forward_->call(serverName, method, args, timeout);
    return RemoteResult{true, {}, QCborMap{{QStringLiteral("rows"), 0}}};
}

void RecordingTransport::answer(const QString& method, const RemoteResult& result)
{
    answers_[method].enqueue(result);
}

void RecordingTransport::answerPacket(const QString& method, const DataPacket& packet)
{
    answer(method, RemoteResult{true, {}, toCbor(packet)});
}

void RecordingTransport::fail(const QString& method, const QString& message)
{
    answer(method, RemoteResult{false, message, {}});
}

QStringList RecordingTransport::calls() const
{
    QStringList texts;
    for (const Call& call : log_)
        texts << call.text();
    return texts;
}

}  // namespace qmv::test

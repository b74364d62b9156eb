#include "server/tnetconnection.h"

#include "platform/wire.h"

#include "server/httptransport.h"
#include "server/methodsubject.h"

namespace qmv {

ConnectionError::ConnectionError(const QString& message)
    : std::runtime_error(message.toStdString())
{
}

RemoteCallError::RemoteCallError(const QString& message)
    : std::runtime_error(message.toStdString())
{
}

TNetConnection::TNetConnection(QObject* parent, std::unique_ptr<Transport> transport)
    : QObject(parent)
    , transport_(transport ? std::move(transport) : std::make_unique<HttpTransport>())
{
}

TNetConnection::~TNetConnection()
{
    disconnect();
}

void TNetConnection::connect()
{
    disconnect();
    if (beforeConnect)
        beforeConnect(*this);
    const RemoteResult opened = transport_->open(host_, port_, connectTimeout_);
    if (!opened.ok)
        throw ConnectionError(opened.error);
    connected_ = true;
    stale_ = false;
}

void TNetConnection::disconnect()
{
    if (!connected_)
        return;
    connected_ = false;
    transport_->close();
}

namespace {

RemoteResult lostWrite(const RemoteResult& failed)
{
    RemoteResult result = failed;
    result.error = QStringLiteral("%1 Não é possível saber se a alteração chegou a ser gravada: ela não foi "
                                  "reenviada. Recarregue os dados antes de repeti-la.")
                       .arg(failed.error);
    return result;
}

}  // namespace

RemoteResult TNetConnection::retry(const QString& method, const CallArguments& args, const RemoteResult& failed)
{
    const RemoteResult reopened = transport_->open(host_, port_, connectTimeout_);
    if (!reopened.ok) {
        RemoteResult result = failed;
        result.error = QStringLiteral("%1 A reconexão também falhou: %2").arg(failed.error, reopened.error);
        return result;
    }
    return transport_->call(serverName_, method, args, callTimeout_);  // once: a second loss is reported
}

RemoteResult TNetConnection::send(const QString& method, const CallArguments& args)
{
    if (!connected_)
        return RemoteResult{false, QStringLiteral("Não há conexão com o servidor de aplicação (%1).").arg(method),
                            {}, {}, Delivery::NotSent};
    // After a call that got no answer the kept connection may be dead (a server restarted behind
    // it): a fresh one is opened first, so a write never goes out on a connection known to be bad.
    if (stale_) {
        const RemoteResult reopened = transport_->open(host_, port_, connectTimeout_);
        if (!reopened.ok)
            return RemoteResult{false, QStringLiteral("%1 A chamada não foi enviada.").arg(reopened.error), {}, {},
                                Delivery::NotSent};
        stale_ = false;
    }
    RemoteResult result = transport_->call(serverName_, method, args, callTimeout_);
    // A request that never reached the server can go again whatever it does; a write that may have
    // reached it cannot.
    if (!result.ok && result.unanswered())
        result = wire::onlyReads(method) || result.delivery == Delivery::NotSent ? retry(method, args, result)
                                                                        : lostWrite(result);
    stale_ = !result.ok && result.unanswered();
    return result;
}

RemoteResult TNetConnection::call(const QString& method, const CallArguments& args)
{
    RemoteResult result = send(method, args);
    if (!result.ok)
        result.error.replace(method, methodSubject(method));
    if (!result.ok && throwException_)
        throw RemoteCallError(result.error);
    return result;
}

}  // namespace qmv

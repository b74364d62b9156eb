#include "server/tnetconnection.h"

#include "server/httptransport.h"

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

// Only Get... methods read; every other method writes.
bool isRead(const QString& method)
{
    return method.startsWith(QLatin1String("Get"));
}

RemoteResult lostWrite(const QString& method, const RemoteResult& failed)
{
    RemoteResult result = failed;
    result.error = QStringLiteral("%1 Não é possível saber se %2 chegou a gravar a alteração: ela foi desfeita na "
                                  "tela e não foi reenviada. Recarregue os dados antes de repeti-la.")
                       .arg(failed.error, method);
    return result;
}

}  // namespace

RemoteResult TNetConnection::retryRead(const QString& method, const QCborArray& args, const RemoteResult& failed)
{
    const RemoteResult reopened = transport_->open(host_, port_, connectTimeout_);
    if (!reopened.ok) {
        RemoteResult result = failed;
        result.error = QStringLiteral("%1 A reconexão também falhou: %2").arg(failed.error, reopened.error);
        return result;
    }
    return transport_->call(serverName_, method, args, callTimeout_);  // once: a second loss is reported
}

RemoteResult TNetConnection::send(const QString& method, const QCborArray& args)
{
    if (!connected_)
        return RemoteResult{false, QStringLiteral("Não há conexão com o servidor de aplicação para executar %1.").arg(method),
                            {}};
    // After a call that got no answer the kept connection may be dead (a server restarted behind
    // it): a fresh one is opened first, so a write never goes out on a connection known to be bad.
    if (stale_) {
        const RemoteResult reopened = transport_->open(host_, port_, connectTimeout_);
        if (!reopened.ok)
            return RemoteResult{false, QStringLiteral("%1 %2 não foi enviado.").arg(reopened.error, method), {}};
        stale_ = false;
    }
    RemoteResult result = transport_->call(serverName_, method, args, callTimeout_);
    if (!result.ok && result.unanswered)
        result = isRead(method) ? retryRead(method, args, result) : lostWrite(method, result);
    stale_ = !result.ok && result.unanswered;
    return result;
}

RemoteResult TNetConnection::call(const QString& method, const QCborArray& args)
{
    RemoteResult result = send(method, args);
    if (!result.ok && throwException_)
        throw RemoteCallError(result.error);
    return result;
}

}  // namespace qmv

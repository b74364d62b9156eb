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
}

void TNetConnection::disconnect()
{
    if (!connected_)
        return;
    connected_ = false;
    transport_->close();
}

RemoteResult TNetConnection::call(const QString& method, const QCborArray& args)
{
    RemoteResult result =
        connected_ ? transport_->call(serverName_, method, args, callTimeout_)
                   : RemoteResult{false,
                                  QStringLiteral("Não há conexão com o servidor de aplicação para executar %1.")
                                      .arg(method),
                                  {}};
    if (!result.ok && throwException_)
        throw RemoteCallError(result.error);
    return result;
}

}  // namespace qmv

#include "server/httptransport.h"

#include <QCborValue>
#include <QFileInfo>
#include <QUrl>

#include <optional>

#include "host/hostconfig.h"
#include "server/loginname.h"
#include "platform/answerenvelope.h"
#include "platform/wire.h"
#include "http/httpconnection.h"

namespace qmv {

namespace {

using std::chrono::milliseconds;

RemoteResult failure(const QString& message)
{
    return RemoteResult{false, message, {}};
}

QString plainHost(QString host)
{
    host = host.trimmed();
    for (const auto& scheme : {QStringLiteral("http://"), QStringLiteral("https://")}) {
        if (host.startsWith(scheme, Qt::CaseInsensitive))
            host = host.mid(scheme.size());
    }
    while (host.endsWith(QLatin1Char('/')))
        host.chop(1);
    return host;
}

QString seconds(milliseconds timeout)
{
    return QString::number(timeout.count() / 1000.0, 'g', 3);
}

using Failure = http::HttpConnection::Failure;

// The message for a failed exchange, saying what the user can do about it.
QString transportError(Failure failure, const QString& what, const QString& endpoint, milliseconds timeout,
                       const QString& certificate)
{
    switch (failure) {
    case Failure::Connection:
        return QStringLiteral("Não foi possível conectar ao servidor de aplicação em %1.").arg(endpoint);
    case Failure::ConnectionTimeout:
        return QStringLiteral("O servidor de aplicação em %1 não aceitou a conexão em %2 s.")
            .arg(endpoint, seconds(timeout));
    case Failure::TlsCertificate:
        return QStringLiteral("O certificado do servidor de aplicação em %1 foi recusado: não é o certificado "
                              "configurado (%2) ou não vale para este endereço.")
            .arg(endpoint, certificate);
    case Failure::TlsCertificateFile:
        return QStringLiteral("O certificado configurado para o servidor de aplicação não pôde ser carregado: %1.")
            .arg(certificate);
    case Failure::TlsHandshake:
        return QStringLiteral("Não foi possível estabelecer a conexão segura (TLS) com o servidor de aplicação "
                              "em %1: verifique se ele atende com TLS.")
            .arg(endpoint);
    case Failure::Write:
        return QStringLiteral("Falha ao enviar ao servidor de aplicação em %2 (%1).").arg(what, endpoint);
    case Failure::ReadTimeout:
        return QStringLiteral("O servidor de aplicação em %1 não respondeu em %3 s (%2).")
            .arg(endpoint, what, seconds(timeout));
    case Failure::Read:
    case Failure::None:
        break;
    }
    return QStringLiteral("A conexão com o servidor de aplicação em %1 foi interrompida (%2).").arg(endpoint, what);
}

// Why a connection to `host` must not be made with this configuration, if it must not.
std::optional<QString> refusal(const QString& host, const HostConfig& config)
{
    const QString certificate = config.serverCertificate.trimmed();
    const bool tls = !certificate.isEmpty();
    if (tls && !QFileInfo(certificate).isReadable())
        return QStringLiteral("O certificado configurado para o servidor de aplicação não pôde ser lido: %1.")
            .arg(certificate);
    // A key sent in clear beyond this machine could be read on the way, or by whoever answers there.
    if (!tls && !config.serverAccessKey.isEmpty() && !wire::isLoopback(host))
        return QStringLiteral("A chave de acesso não é enviada sem TLS ao servidor de aplicação em %1: configure "
                              "o certificado do servidor (Servidor/Certificado).")
            .arg(host);
    return std::nullopt;
}

RemoteResult resultOf(int status, QByteArrayView contentType, QByteArray&& body, const QString& method)
{
    const wire::AnswerEnvelope envelope = wire::readAnswerEnvelope(contentType, std::move(body));
    if (envelope.valid && envelope.hasOk) {
        if (envelope.ok && status == 200)
            return RemoteResult{true, {}, envelope.resultValue, envelope.resultBytes};
        if (!envelope.error.isEmpty())
            return failure(envelope.error);
    }
    if (!envelope.unreadable.isEmpty())
        return failure(QStringLiteral("O servidor de aplicação enviou uma resposta inválida (%1): %2.")
                           .arg(method, envelope.unreadable));
    if (status != 200)
        return failure(QStringLiteral("O servidor de aplicação respondeu com o código HTTP %1 (%2).")
                           .arg(status)
                           .arg(method));
    return failure(QStringLiteral("O servidor de aplicação enviou uma resposta inválida (%1).").arg(method));
}

http::HttpConnection::Headers headersFor(const HostConfig& config, bool withBody)
{
    http::HttpConnection::Headers headers;
    if (withBody)
        headers.emplaceBack("Content-Type", "application/cbor");
    if (!config.serverAccessKey.isEmpty())
        headers.emplaceBack("X-Access-Key", config.serverAccessKey.toUtf8());
    headers.emplaceBack("X-User", userHeaderValue());
    return headers;
}

}  // namespace

HttpTransport::HttpTransport() = default;
HttpTransport::~HttpTransport() = default;

RemoteResult HttpTransport::open(const QString& host, int port, milliseconds timeout)
{
    close();
    host_ = plainHost(host);
    port_ = port;
    const QString endpoint = QStringLiteral("%1:%2").arg(host_).arg(port_);
    if (host_.isEmpty() || port_ <= 0 || port_ > 65535)
        return failure(QStringLiteral("Endereço do servidor de aplicação inválido: \"%1\".").arg(endpoint));
    if (const std::optional<QString> refused = refusal(host_, hostConfig()))
        return failure(*refused);
    certificate_ = hostConfig().serverCertificate.trimmed();
    auto connection = std::make_unique<http::HttpConnection>(host_, port_, certificate_);
    http::HttpConnection::Answer answer;
    const Failure failed =
        connection->exchange("GET", "/health", headersFor(hostConfig(), false), {}, timeout, answer);
    if (failed != Failure::None) {
        QString message = transportError(failed, QStringLiteral("a verificação de saúde"), endpoint, timeout,
                                         certificate_);
        if (failed == Failure::Read && certificate_.isEmpty())
            message += QStringLiteral(" Se o servidor atende com TLS, configure o seu certificado "
                                      "(Servidor/Certificado).");
        return failure(message);
    }
    if (answer.status != 200)
        return failure(QStringLiteral("O servidor em %1 não é um servidor de aplicação (HTTP %2 em /health).")
                           .arg(endpoint)
                           .arg(answer.status));
    connection_ = std::move(connection);
    return RemoteResult{true, {}, {}};
}

void HttpTransport::close()
{
    connection_.reset();
}

RemoteResult HttpTransport::call(const QString& serverName, const QString& method,
                                 const CallArguments& args, milliseconds timeout)
{
    if (!connection_) {
        RemoteResult closed =
            failure(QStringLiteral("A conexão com o servidor de aplicação não está aberta (%1).").arg(method));
        closed.delivery = Delivery::NotSent;
        return closed;
    }
    const QByteArray path = "/rdm/" + QUrl::toPercentEncoding(serverName) + '/'
                            + QUrl::toPercentEncoding(method);
    http::HttpConnection::Answer answer;
    const Failure failed = connection_->exchange("POST", path, headersFor(hostConfig(), true),
                                                 args.cbor(), timeout, answer);
    if (failed != Failure::None) {
        const QString endpoint = QStringLiteral("%1:%2").arg(host_).arg(port_);
        RemoteResult lost = failure(transportError(failed, method, endpoint, timeout, certificate_));
        lost.delivery = http::HttpConnection::notSent(failed) ? Delivery::NotSent : Delivery::MayHaveReached;
        return lost;
    }
    return resultOf(answer.status, answer.contentType, std::move(answer.body), method);
}

}  // namespace qmv

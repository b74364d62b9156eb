#include "server/httptransport.h"

#include <QCborMap>
#include <QCborStreamReader>
#include <QCborValue>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QUrl>
#include <httplib.h>

#include <optional>

#include "host/hostconfig.h"
#include "platform/jsonmapping.h"
#include "server/plainhttpconnection.h"

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

QString transportError(httplib::Error error, const QString& what, const QString& endpoint,
                       milliseconds timeout, qint64 elapsedMs)
{
    switch (error) {
    case httplib::Error::Connection:
        return QStringLiteral("Não foi possível conectar ao servidor de aplicação em %1.").arg(endpoint);
    case httplib::Error::ConnectionTimeout:
        return QStringLiteral("O servidor de aplicação em %1 não aceitou a conexão em %2 s.")
            .arg(endpoint, seconds(timeout));
    case httplib::Error::Read:
        if (elapsedMs + 50 >= timeout.count())
            return QStringLiteral("O servidor de aplicação em %1 não respondeu em %3 s (%2).")
                .arg(endpoint, what, seconds(timeout));
        return QStringLiteral("A conexão com o servidor de aplicação em %1 foi interrompida (%2).")
            .arg(endpoint, what);
    case httplib::Error::Write:
        return QStringLiteral("Falha ao enviar ao servidor de aplicação em %2 (%1).").arg(what, endpoint);
    default:
        return QStringLiteral("Falha na comunicação com o servidor de aplicação em %1 (%2): %3.")
            .arg(endpoint, what, QString::fromStdString(httplib::to_string(error)));
    }
}

// The failures of a TLS connection, which say what the user can do about them.
std::optional<QString> tlsError(httplib::Error error, const QString& endpoint, const QString& certificate)
{
    switch (error) {
    case httplib::Error::SSLServerVerification:
        return QStringLiteral("O certificado do servidor de aplicação em %1 foi recusado: não é o certificado "
                              "configurado (%2) ou não vale para este endereço.")
            .arg(endpoint, certificate);
    case httplib::Error::SSLLoadingCerts:
        return QStringLiteral("O certificado configurado para o servidor de aplicação não pôde ser carregado: %1.")
            .arg(certificate);
    case httplib::Error::SSLConnection:
        return QStringLiteral("Não foi possível estabelecer a conexão segura (TLS) com o servidor de aplicação "
                              "em %1: verifique se ele atende com TLS.")
            .arg(endpoint);
    default:
        return std::nullopt;
    }
}

// A request the library could not write whole never ran on the server; one whose answer was lost may have.
Delivery deliveryOf(httplib::Error error)
{
    switch (error) {
    case httplib::Error::Connection:
    case httplib::Error::ConnectionTimeout:
    case httplib::Error::BindIPAddress:
    case httplib::Error::Write:
    case httplib::Error::SSLConnection:
    case httplib::Error::SSLLoadingCerts:
    case httplib::Error::SSLServerVerification:
        return Delivery::NotSent;
    default:
        return Delivery::MayHaveReached;
    }
}

bool isLoopbackHost(const QString& host)
{
    return host.compare(u"localhost", Qt::CaseInsensitive) == 0 || host == u"::1" || host.startsWith(u"127.");
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
    if (!tls && !config.serverAccessKey.isEmpty() && !isLoopbackHost(host))
        return QStringLiteral("A chave de acesso não é enviada sem TLS ao servidor de aplicação em %1: configure "
                              "o certificado do servidor (Servidor/Certificado).")
            .arg(host);
    return std::nullopt;
}

// The HTTP library's client for a TLS connection that accepts only the configured certificate.
std::unique_ptr<httplib::Client> securedClient(const QString& host, int port, const HostConfig& config)
{
    const QString certificate = config.serverCertificate.trimmed();
    const QString address = host.contains(QLatin1Char(':')) ? QLatin1Char('[') + host + QLatin1Char(']') : host;
    const QString url = QStringLiteral("https://%1:%2").arg(address).arg(port);
    auto client = std::make_unique<httplib::Client>(url.toStdString());
    client->set_ca_cert_path(QFile::encodeName(certificate).toStdString());
    client->enable_server_certificate_verification(true);
    if (!config.serverAccessKey.isEmpty())
        client->set_default_headers({{"X-Access-Key", config.serverAccessKey.toStdString()}});
    return client;
}

// The answer map {ok, result | error}. The result keeps its CBOR bytes, so that a data packet is
// decoded once, by whoever loads it.
struct Envelope {
    bool valid = false;
    bool hasOk = false;
    bool ok = false;
    QString error;
    QByteArray resultBytes;
    QCborValue resultValue;  // from a JSON answer
    QString unreadable;      // why a JSON answer's result could not be read
};

bool readText(QCborStreamReader& reader, QString& text)
{
    auto chunk = reader.readString();
    while (chunk.status == QCborStreamReader::Ok) {
        text += chunk.data;
        chunk = reader.readString();
    }
    return chunk.status == QCborStreamReader::EndOfString;
}

bool readEntry(QCborStreamReader& reader, const QByteArray& body, Envelope& envelope)
{
    QString key;
    if (!reader.isString() || !readText(reader, key))
        return false;
    if (key == QLatin1String("ok") && reader.isBool()) {
        envelope.hasOk = true;
        envelope.ok = reader.toBool();
        return reader.next();
    }
    if (key == QLatin1String("error") && reader.isString())
        return readText(reader, envelope.error);
    const qint64 start = reader.currentOffset();
    if (!reader.next())
        return false;
    if (key == QLatin1String("result"))
        envelope.resultBytes = body.mid(start, reader.currentOffset() - start);
    return true;
}

Envelope cborEnvelope(QByteArray&& body)
{
    Envelope envelope;
    // The server writes a success as {"ok": true, "result": ...} in that order: the result is the
    // rest of the body, taken without walking it or copying it (whoever loads it decodes it once).
    static const QByteArray success = QByteArray::fromHex("a2626f6bf566726573756c74");
    if (body.startsWith(success) && body.size() > success.size()) {
        envelope.valid = envelope.hasOk = envelope.ok = true;
        body.remove(0, success.size());  // moves the start of the buffer, not the bytes
        envelope.resultBytes = std::move(body);
        return envelope;
    }
    QCborStreamReader reader(body);
    if (!reader.isMap() || !reader.enterContainer())
        return envelope;
    while (reader.hasNext()) {
        if (!readEntry(reader, body, envelope))
            return envelope;
    }
    envelope.valid = reader.leaveContainer() && reader.lastError() == QCborError::NoError;
    return envelope;
}

// A JSON answer's result read with the mapping the server writes it with, so that dates and byte
// strings come back as they went. A result that cannot be read (malformed base64) is a failure.
Envelope jsonEnvelope(const QByteArray& body)
{
    Envelope envelope;
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(body, &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject())
        return envelope;
    const QJsonObject map = doc.object();
    const QJsonValue ok = map.value(QStringLiteral("ok"));
    envelope.hasOk = ok.isBool();
    envelope.ok = ok.toBool();
    envelope.error = map.value(QStringLiteral("error")).toString();
    try {
        if (map.contains(QStringLiteral("result")))
            envelope.resultValue = jsonToCbor(map.value(QStringLiteral("result")));
    } catch (const JsonMappingError&) {
        envelope.unreadable = QStringLiteral("base64 malformado");
        return envelope;
    }
    envelope.valid = true;
    return envelope;
}

Envelope answerEnvelope(QByteArrayView contentType, QByteArray&& body)
{
    if (contentType.contains("json"))
        return jsonEnvelope(body);
    return cborEnvelope(std::move(body));
}

RemoteResult resultOf(int status, QByteArrayView contentType, QByteArray&& body, const QString& method)
{
    const Envelope envelope = answerEnvelope(contentType, std::move(body));
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

// The answer's body straight into one buffer of its announced length (a growing std::string
// would copy a photo several times over, and then once more into a QByteArray).
httplib::ContentReceiverWithProgress bodyInto(QByteArray& body)
{
    return [&body](const char* data, size_t size, uint64_t offset, uint64_t total) {
        if (offset == 0 && total > size && total <= (uint64_t(1) << 31))
            body.reserve(qsizetype(total));
        body.append(data, qsizetype(size));
        return true;
    };
}

httplib::Error libraryError(PlainHttpConnection::Failure failure)
{
    switch (failure) {
    case PlainHttpConnection::Failure::None: return httplib::Error::Success;
    case PlainHttpConnection::Failure::Connection: return httplib::Error::Connection;
    case PlainHttpConnection::Failure::ConnectionTimeout: return httplib::Error::ConnectionTimeout;
    case PlainHttpConnection::Failure::Read: return httplib::Error::Read;
    case PlainHttpConnection::Failure::Write: return httplib::Error::Write;
    }
    return httplib::Error::Unknown;
}

PlainHttpConnection::Headers plainHeaders(const HostConfig& config, bool withBody)
{
    PlainHttpConnection::Headers headers;
    if (withBody)
        headers.append(std::pair<QByteArray, QByteArray>("Content-Type", "application/cbor"));
    if (!config.serverAccessKey.isEmpty())
        headers.append(std::pair<QByteArray, QByteArray>("X-Access-Key", config.serverAccessKey.toUtf8()));
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
    if (certificate_.isEmpty())
        return openPlain(endpoint, timeout);
    auto client = securedClient(host_, port_, hostConfig());
    client->set_keep_alive(true);
    client->set_tcp_nodelay(true);
    client->set_connection_timeout(timeout);
    client->set_read_timeout(timeout);
    client->set_write_timeout(timeout);
    QElapsedTimer clock;
    clock.start();
    const httplib::Result answer = client->Get("/health");
    if (!answer) {
        if (const auto tlsRefusal = tlsError(answer.error(), endpoint, certificate_))
            return failure(*tlsRefusal);
        QString message = transportError(answer.error(), QStringLiteral("a verificação de saúde"), endpoint, timeout,
                                         clock.elapsed());
        return failure(message);
    }
    if (answer->status != 200)
        return failure(QStringLiteral("O servidor em %1 não é um servidor de aplicação (HTTP %2 em /health).")
                           .arg(endpoint)
                           .arg(answer->status));
    client_ = std::move(client);
    return RemoteResult{true, {}, {}};
}

RemoteResult HttpTransport::openPlain(const QString& endpoint, milliseconds timeout)
{
    auto plain = std::make_unique<PlainHttpConnection>(host_, port_);
    PlainHttpConnection::Answer answer;
    QElapsedTimer clock;
    clock.start();
    const auto failed = plain->exchange("GET", "/health", plainHeaders(hostConfig(), false), {}, timeout, answer);
    if (failed != PlainHttpConnection::Failure::None) {
        QString message = transportError(libraryError(failed), QStringLiteral("a verificação de saúde"), endpoint,
                                         timeout, clock.elapsed());
        if (failed == PlainHttpConnection::Failure::Read)
            message += QStringLiteral(" Se o servidor atende com TLS, configure o seu certificado "
                                      "(Servidor/Certificado).");
        return failure(message);
    }
    if (answer.status != 200)
        return failure(QStringLiteral("O servidor em %1 não é um servidor de aplicação (HTTP %2 em /health).")
                           .arg(endpoint)
                           .arg(answer.status));
    plain_ = std::move(plain);
    return RemoteResult{true, {}, {}};
}

void HttpTransport::close()
{
    if (client_)
        client_->stop();
    client_.reset();
    plain_.reset();
}

RemoteResult HttpTransport::call(const QString& serverName, const QString& method,
                                 const QCborArray& args, milliseconds timeout)
{
    const QString endpoint = QStringLiteral("%1:%2").arg(host_).arg(port_);
    if (!client_ && !plain_) {
        RemoteResult closed =
            failure(QStringLiteral("A conexão com o servidor de aplicação não está aberta (%1).").arg(method));
        closed.delivery = Delivery::NotSent;
        return closed;
    }

    const QByteArray path = "/rdm/" + QUrl::toPercentEncoding(serverName) + '/'
                            + QUrl::toPercentEncoding(method);
    const QByteArray body = QCborValue(args).toCbor();
    if (plain_)
        return callPlain(path, body, method, endpoint, timeout);
    client_->set_read_timeout(timeout);
    client_->set_write_timeout(timeout);
    httplib::Request request;
    request.method = "POST";
    request.path = path.toStdString();
    request.set_header("Content-Type", "application/cbor");
    request.body.assign(body.constData(), size_t(body.size()));
    QByteArray received;
    request.content_receiver = bodyInto(received);
    httplib::Response response;
    httplib::Error error = httplib::Error::Success;
    QElapsedTimer clock;
    clock.start();
    if (!client_->send(request, response, error)) {
        RemoteResult lost = failure(tlsError(error, endpoint, certificate_)
                                        .value_or(transportError(error, method, endpoint, timeout, clock.elapsed())));
        lost.delivery = deliveryOf(error);
        return lost;
    }
    return resultOf(response.status, QByteArray::fromStdString(response.get_header_value("Content-Type")),
                    std::move(received), method);
}

RemoteResult HttpTransport::callPlain(const QByteArray& path, const QByteArray& body, const QString& method,
                                      const QString& endpoint, milliseconds timeout)
{
    PlainHttpConnection::Answer answer;
    QElapsedTimer clock;
    clock.start();
    const auto failed = plain_->exchange("POST", path, plainHeaders(hostConfig(), true), body, timeout, answer);
    if (failed != PlainHttpConnection::Failure::None) {
        RemoteResult lost = failure(transportError(libraryError(failed), method, endpoint, timeout, clock.elapsed()));
        lost.delivery = deliveryOf(libraryError(failed));
        return lost;
    }
    return resultOf(answer.status, answer.contentType, std::move(answer.body), method);
}

}  // namespace qmv

#include "http/httpconnection.h"

#include "http/asio.h"
#include "http/bytesbody.h"
#include "platform/wire.h"

#include <QFile>

#include <poll.h>

#include <optional>

namespace qmv::http {

namespace {

using Clock = std::chrono::steady_clock;
using Deadline = Clock::time_point;
using TlsStream = asio::ssl::stream<tcp::socket>;
using Failure = HttpConnection::Failure;

constexpr std::uint32_t maxAnswerHead = 64 * 1024;

bool isAddress(const QString& host)
{
    error_code ec;
    asio::ip::make_address(host.toStdString(), ec);
    return !ec;
}

}  // namespace

struct HttpConnection::Impl {
    QString host;
    int port = 0;
    QString certificate;
    asio::io_context io;
    std::optional<asio::ssl::context> tlsContext;
    std::optional<tcp::socket> plain;
    std::optional<TlsStream> tls;
    beast::flat_buffer buffer;
    Deadline lastUsed{};

    bool open() const { return plain || tls; }
    tcp::socket& socket() { return tls ? tls->next_layer() : *plain; }

    void drop()
    {
        if (open()) {
            error_code ignored;
            socket().close(ignored);
        }
        tls.reset();
        plain.reset();
        buffer.clear();
    }

    // Runs the connection's operations until `done` or the deadline. At the deadline the socket is
    // closed, which ends the pending operation, and the answer is false.
    bool drive(Deadline deadline, const bool& done)
    {
        io.restart();
        while (!done) {
            const auto left = deadline - Clock::now();
            if (left <= Clock::duration::zero())
                break;
            io.run_for(left);
            if (io.stopped())
                io.restart();
        }
        if (done)
            return true;
        error_code ignored;
        if (open())
            socket().close(ignored);
        io.restart();
        io.run();  // the closed operation's handler
        return false;
    }

    // An idle kept-alive connection the server has closed (or that holds bytes nobody asked for).
    bool stale()
    {
        pollfd p{socket().native_handle(), POLLIN, 0};
        return ::poll(&p, 1, 0) != 0 || Clock::now() - lastUsed > wire::clientIdleReuse;
    }

    Failure connect(Deadline deadline)
    {
        tcp::resolver resolver(io);
        error_code ec;
        bool done = false;
        tcp::resolver::results_type found;
        resolver.async_resolve(host.toStdString(), std::to_string(port),
                               [&](const error_code& e, tcp::resolver::results_type r) {
                                   ec = e;
                                   found = std::move(r);
                                   done = true;
                               });
        if (!drive(deadline, done))
            return Failure::ConnectionTimeout;
        if (ec)
            return Failure::Connection;
        plain.emplace(io);
        done = false;
        asio::async_connect(*plain, found, [&](const error_code& e, const tcp::endpoint&) {
            ec = e;
            done = true;
        });
        if (!drive(deadline, done))
            return Failure::ConnectionTimeout;
        if (ec)
            return Failure::Connection;
        plain->set_option(tcp::no_delay(true), ec);
        return certificate.isEmpty() ? Failure::None : handshake(deadline);
    }

    Failure handshake(Deadline deadline)
    {
        if (!tlsContext) {
            asio::ssl::context context(asio::ssl::context::tls_client);
            error_code ec;
            context.load_verify_file(QFile::encodeName(certificate).toStdString(), ec);
            if (ec)
                return Failure::TlsCertificateFile;
            tlsContext.emplace(std::move(context));
        }
        tls.emplace(std::move(*plain), *tlsContext);
        plain.reset();
        const std::string name = host.toStdString();
        if (!isAddress(host))
            SSL_set_tlsext_host_name(tls->native_handle(), name.c_str());
        tls->set_verify_mode(asio::ssl::verify_peer);
        tls->set_verify_callback(asio::ssl::host_name_verification(name));
        error_code ec;
        bool done = false;
        tls->async_handshake(asio::ssl::stream_base::client, [&](const error_code& e) {
            ec = e;
            done = true;
        });
        if (!drive(deadline, done))
            return Failure::ConnectionTimeout;
        if (!ec)
            return Failure::None;
        return SSL_get_verify_result(tls->native_handle()) != X509_V_OK ? Failure::TlsCertificate
                                                                          : Failure::TlsHandshake;
    }

    template <class Stream>
    Failure roundTrip(Stream& stream, const bhttp::request<BytesBody>& request, Deadline deadline, Answer& answer,
                      bool& keepAlive)
    {
        error_code ec;
        bool done = false;
        bhttp::async_write(stream, request, [&](const error_code& e, std::size_t) {
            ec = e;
            done = true;
        });
        if (!drive(deadline, done) || ec)
            return Failure::Write;
        bhttp::response_parser<BytesBody> parser;
        parser.header_limit(maxAnswerHead);
        parser.body_limit(std::uint64_t(std::numeric_limits<int>::max()));
        done = false;
        bhttp::async_read_header(stream, buffer, parser, [&](const error_code& e, std::size_t) {
            ec = e;
            done = true;
        });
        if (!drive(deadline, done))
            return Failure::ReadTimeout;
        // Our server always announces its answer's length.
        if (ec || parser.chunked() || !parser.content_length())
            return Failure::Read;
        done = parser.is_done();
        makeRoomForBody(buffer, parser.content_length_remaining());
        if (!done)
            bhttp::async_read(stream, buffer, parser, [&](const error_code& e, std::size_t) {
                ec = e;
                done = true;
            });
        if (!drive(deadline, done))
            return Failure::ReadTimeout;
        if (ec)
            return Failure::Read;
        auto& message = parser.get();
        answer.status = int(message.result_int());
        const auto type = message[bhttp::field::content_type];
        answer.contentType = QByteArray(type.data(), qsizetype(type.size()));
        answer.body = std::move(message.body());
        answer.headers.clear();
        for (const auto& field : message)
            answer.headers.emplaceBack(QByteArray(field.name_string().data(), qsizetype(field.name_string().size())),
                                       QByteArray(field.value().data(), qsizetype(field.value().size())));
        keepAlive = message.keep_alive();
        return Failure::None;
    }
};

HttpConnection::HttpConnection(QString host, int port, QString certificateFile) : impl_(std::make_unique<Impl>())
{
    impl_->host = std::move(host);
    impl_->port = port;
    impl_->certificate = std::move(certificateFile);
}

HttpConnection::~HttpConnection()
{
    close();
}

void HttpConnection::close()
{
    impl_->drop();
}

HttpConnection::Failure HttpConnection::exchange(QByteArrayView method, QByteArrayView target,
                                                 const Headers& headers, const QByteArray& body,
                                                 std::chrono::milliseconds timeout, Answer& answer)
{
    Impl& c = *impl_;
    const Deadline deadline = Clock::now() + timeout;
    if (c.open() && c.stale())
        c.drop();
    if (!c.open()) {
        if (const Failure failure = c.connect(deadline); failure != Failure::None) {
            c.drop();
            return failure;
        }
    }
    bhttp::request<BytesBody> request;
    request.method_string(beast::string_view(method.data(), size_t(method.size())));
    request.target(beast::string_view(target.data(), size_t(target.size())));
    request.version(11);
    const QByteArray host = c.host.contains(u':') ? '[' + c.host.toUtf8() + ']' : c.host.toUtf8();
    request.set(bhttp::field::host, (host + ':' + QByteArray::number(c.port)).toStdString());
    for (const auto& [name, value] : headers)
        request.set(beast::string_view(name.data(), size_t(name.size())),
                    beast::string_view(value.data(), size_t(value.size())));
    request.body() = body;
    request.prepare_payload();
    bool keepAlive = true;
    const Failure failure = c.tls ? c.roundTrip(*c.tls, request, deadline, answer, keepAlive)
                                  : c.roundTrip(*c.plain, request, deadline, answer, keepAlive);
    if (failure != Failure::None || !keepAlive)
        c.drop();
    c.lastUsed = Clock::now();
    return failure;
}

}  // namespace qmv::http

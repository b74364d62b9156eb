#include "appserver/appserver.h"

#include "appserver/catalogue.h"
#include "appserver/methoderror.h"
#include "appserver/schema.h"
#include "appserver/wirecodec.h"
#include "appserver/workerpool.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QUuid>
#include <httplib.h>

#include <atomic>
#include <cstdio>
#include <mutex>
#include <thread>

namespace qmv::appserver {

using namespace Qt::StringLiterals;

namespace {

constexpr size_t maxBodyBytes = 16 * 1024 * 1024;

int statusOf(Failure failure)
{
    switch (failure) {
    case Failure::BadRequest:
        return 400;
    case Failure::NotFound:
        return 404;
    default:
        return 200;
    }
}

void writeToStandardError(const QString& line)
{
    static std::mutex mutex;
    std::lock_guard lock(mutex);
    std::fprintf(stderr, "%s\n", line.toUtf8().constData());
    std::fflush(stderr);
}

}  // namespace

struct AppServer::Impl {
    ServerOptions options;
    httplib::Server http;
    std::mutex writeLock;
    std::thread listener;
    std::atomic<bool> running{false};
    std::atomic<bool> listening{false};
    int port = 0;
    QString connectionPrefix = u"qmv-appserver-"_s + QUuid::createUuid().toString(QUuid::WithoutBraces);

    void log(const QString& line) const
    {
        if (options.log)
            options.log(line);
        else
            writeToStandardError(line);
    }

    void answer(httplib::Response& res, int status, const QByteArray& body, WireFormat format) const
    {
        res.status = status;
        res.set_content(body.constData(), size_t(body.size()), contentType(format));
    }

    void handleCall(const httplib::Request& req, httplib::Response& res) const
    {
        QElapsedTimer timer;
        timer.start();
        const QString object = QString::fromStdString(req.matches[1]);
        const QString method = QString::fromStdString(req.matches[2]);
        const auto requested = formatOf(req.get_header_value("Content-Type"));
        const WireFormat format = requested.value_or(WireFormat::Json);
        QString outcome;
        try {
            if (object != QStringView(ServerObjectName))
                throw MethodError(Failure::NotFound, u"Objeto desconhecido: %1."_s.arg(object));
            if (!Catalogue::standard().find(method))
                throw MethodError(Failure::NotFound, u"Método desconhecido: %1."_s.arg(method));
            if (!requested)
                throw MethodError(Failure::BadRequest, u"Tipo de conteúdo não suportado: use application/cbor "
                                                       "ou application/json."_s);
            const QCborArray args = decodeArguments(QByteArray::fromStdString(req.body), format);
            const MethodResult result = Catalogue::standard().dispatch(method, args, WorkerPool::currentContext());
            answer(res, 200, encodeSuccess(result, format), format);
            outcome = u"ok"_s;
        } catch (const MethodError& error) {
            if (error.failure() == Failure::Internal)
                WorkerPool::discardCurrentConnection();
            answer(res, statusOf(error.failure()), encodeFailure(error.message(), format), format);
            outcome = res.status == 200 ? u"recusada: "_s + error.message()
                                        : u"erro %1: %2"_s.arg(res.status).arg(error.message());
            if (!error.detail().isEmpty())
                outcome += u" ["_s + error.detail() + u']';
        } catch (const std::exception& error) {
            const QString message = u"Erro interno do servidor: %1"_s.arg(QString::fromUtf8(error.what()));
            answer(res, 500, encodeFailure(message, format), format);
            outcome = u"erro 500: %1"_s.arg(message);
        }
        log(u"%1 %2 %3 ms %4"_s.arg(QDateTime::currentDateTime().toString(Qt::ISODateWithMs), method,
                                     QString::number(double(timer.nsecsElapsed()) / 1e6, 'f', 1), outcome));
    }

    void routes()
    {
        // Address reuse lets a restart bind at once; port sharing (the library's default) would let
        // a second server on the same port take half the calls, so it is left off.
        http.set_socket_options([](socket_t sock) {
            int yes = 1;
            setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof(yes));
        });
        // Answers go out at once instead of waiting on the client's delayed acknowledgement.
        http.set_tcp_nodelay(true);
        http.set_payload_max_length(maxBodyBytes);
        http.set_keep_alive_max_count(1000);
        http.new_task_queue = [this] {
            return new WorkerPool(options.database, options.threads, &writeLock, connectionPrefix);
        };
        http.Get("/health", [](const httplib::Request&, httplib::Response& res) {
            res.set_content("ok", "text/plain");
        });
        http.Post(R"(/rdm/([^/]+)/([^/]+))", [this](const httplib::Request& req, httplib::Response& res) {
            handleCall(req, res);
        });
        // Any other failure (unknown path, oversized body) still answers with the error map.
        http.set_error_handler([](const httplib::Request& req, httplib::Response& res) {
            if (!res.body.empty())
                return;
            const auto requested = formatOf(req.get_header_value("Content-Type"));
            const WireFormat format = requested.value_or(WireFormat::Json);
            QString message = u"Requisição inválida (HTTP %1)."_s.arg(res.status);
            if (res.status == 413)
                message = u"Corpo da requisição grande demais."_s;
            else if (res.status == 404)
                message = u"Caminho desconhecido: %1 %2 (as chamadas usam POST /rdm/<objeto>/<método>)."_s.arg(
                    QString::fromStdString(req.method), QString::fromStdString(req.path));
            const QByteArray body = encodeFailure(message, format);
            res.set_content(body.constData(), size_t(body.size()), contentType(format));
        });
    }
};

AppServer::AppServer(ServerOptions options) : impl_(std::make_unique<Impl>())
{
    impl_->options = std::move(options);
}

AppServer::~AppServer()
{
    stop();
}

int AppServer::start()
{
    migrateDatabase(impl_->options.database);
    impl_->routes();
    const std::string host = impl_->options.listen.toStdString();
    const int port = impl_->options.port == 0 ? impl_->http.bind_to_any_port(host)
                                              : (impl_->http.bind_to_port(host, impl_->options.port)
                                                     ? impl_->options.port
                                                     : -1);
    if (port <= 0)
        throw std::runtime_error("cannot listen on " + host + ":" + std::to_string(impl_->options.port));
    impl_->port = port;
    impl_->running = true;
    impl_->listening = true;
    impl_->listener = std::thread([this] {
        impl_->http.listen_after_bind();
        impl_->listening = false;
    });
    // stop() only reaches a server that is already listening.
    while (!impl_->http.is_running() && impl_->listening)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return port;
}

void AppServer::stop()
{
    if (!impl_->running.exchange(false))
        return;
    impl_->http.stop();
    if (impl_->listener.joinable())
        impl_->listener.join();
}

int AppServer::port() const
{
    return impl_->port;
}

}  // namespace qmv::appserver

#include "appserver/appserver.h"

#include "appserver/methods/catalogue.h"
#include "appserver/http/callidentity.h"
#include "appserver/history/historypruning.h"
#include "appserver/http/exposure.h"
#include "appserver/http/logline.h"
#include "appserver/http/metrics.h"
#include "appserver/http/photobytesgauge.h"
#include "appserver/database/storage.h"
#include "appserver/methods/methoderror.h"
#include "appserver/database/schema.h"
#include "appserver/http/wirecodec.h"
#include "appserver/database/workerpool.h"
#include "appserver/web/website.h"
#include "http/router.h"
#include "platform/wire.h"

#include <QElapsedTimer>
#include <QUuid>

#include <atomic>
#include <mutex>

namespace qmv::appserver {

using namespace Qt::StringLiterals;

namespace {

constexpr std::string_view callPrefix = "/rdm/";
// How old the stored photos' bytes may be in a scrape before a worker reads them again.
constexpr std::chrono::seconds photoBytesAge{10};

int statusOf(Failure failure)
{
    switch (failure) {
    case Failure::BadRequest:
        return 400;
    case Failure::NotFound:
        return 404;
    case Failure::Forbidden:
        return 403;
    default:
        return 200;
    }
}

HttpResponse answer(int status, const QByteArray& body, WireFormat format)
{
    return HttpResponse{status, contentType(format), body};
}

WireFormat answerFormat(const HttpRequest& request)
{
    return formatOf(request.header("content-type")).value_or(WireFormat::Json);
}

CallOutcome outcomeOf(Failure failure)
{
    switch (failure) {
    case Failure::Refused:
        return CallOutcome::Refused;
    case Failure::BadRequest:
        return CallOutcome::BadRequest;
    case Failure::NotFound:
        return CallOutcome::NotFound;
    case Failure::Forbidden:
        return CallOutcome::Forbidden;
    default:
        return CallOutcome::Error;
    }
}

QString text(const std::string& bytes)
{
    return QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
}

}  // namespace

struct AppServer::Impl {
    ServerOptions options;
    std::mutex writeLock;
    std::unique_ptr<WorkerPool> pool;
    std::unique_ptr<WebSite> site;
    std::unique_ptr<http::HttpServer> server;
    std::atomic<bool> running{false};
    mutable std::atomic<qint64> nextPrune{0};
    mutable CallMetrics metrics;
    std::unique_ptr<PhotoBytesGauge> photoBytes;
    int port = 0;
    QString connectionPrefix = u"qmv-appserver-"_s + QUuid::createUuid().toString(QUuid::WithoutBraces);

    void log(const QString& line) const
    {
        if (options.log)
            options.log(line);
        else
            writeLogLine(line);
    }

    // POST /rdm/<object>/<method>: `names` is "<object>/<method>".
    HttpResponse remoteCall(HttpRequest& request, std::string_view names) const
    {
        const size_t slash = names.find('/');
        if (slash == std::string_view::npos || slash == 0 || slash + 1 == names.size()
            || names.find('/', slash + 1) != std::string_view::npos)
            return unknownPath(request);
        return call(request, text(std::string(names.substr(0, slash))), text(std::string(names.substr(slash + 1))));
    }

    HttpResponse unknownPath(const HttpRequest& request) const
    {
        const QString message = u"Caminho desconhecido: %1 %2 (as chamadas usam POST /rdm/<objeto>/<método>)."_s.arg(
            text(request.method), text(request.path));
        return answer(404, encodeFailure(message, answerFormat(request)), answerFormat(request));
    }

    http::Router routes() const
    {
        http::Router router;
        router.exact("GET", "/health", [](HttpRequest&, std::string_view) {
            return HttpResponse{200, "text/plain", QByteArrayLiteral("ok")};
        });
        site->addRoutes(router);
        router.prefix("POST", std::string(callPrefix), [this](HttpRequest& request, std::string_view names) {
            return remoteCall(request, names);
        });
        router.otherwise([this](HttpRequest& request, std::string_view) { return unknownPath(request); });
        return router;
    }

    // On an I/O thread: the metrics never wait for a worker.
    std::optional<HttpResponse> answerAtOnce(const HttpRequest& request) const
    {
        if (request.method == "GET" && request.path == "/metrics")
            return scrape(request);
        return std::nullopt;
    }

    HttpResponse scrape(const HttpRequest& request) const
    {
        if (!mayReadMetrics(request.peer, request.header(AccessKeyHeader), options.readsMetrics))
            return HttpResponse{403, "text/plain; charset=utf-8",
                                "As métricas só são servidas a outra máquina com uma chave de acesso marcada "
                                "para métricas (metrics).\n"_ba};
        ServerGauges gauges;
        const http::ConnectionCounts connections = server->connections();
        gauges.openConnections = connections.open;
        gauges.idleConnections = connections.idle;
        gauges.queuedCalls = pool->queued();
        gauges.photoBytes = photoBytes->current();
        return HttpResponse{200, "text/plain; version=0.0.4; charset=utf-8", metrics.render(gauges)};
    }

    QCborArray admittedArguments(const HttpRequest& request, const QString& object, const QString& method,
                                 WireFormat format, std::optional<WireFormat> requested) const
    {
        if (object != QStringView(ServerObjectName))
            throw MethodError(Failure::NotFound, u"Objeto desconhecido: %1."_s.arg(object));
        if (!Catalogue::standard().find(method))
            throw MethodError(Failure::NotFound, u"Método desconhecido: %1."_s.arg(method));
        if (!requested)
            throw MethodError(Failure::BadRequest, u"Tipo de conteúdo não suportado: use application/cbor "
                                                   "ou application/json."_s);
        return decodeArguments(request.body, format);
    }

    // A PostgreSQL restart leaves the workers' connections dead. A write is never sent twice: its
    // connection is checked before it starts, and one that dies under it is answered as an error.
    // A read that failed on a dead connection runs once more on a fresh one (`note` says so).
    MethodContext& contextFor(const QString& method, const CallIdentity& caller) const
    {
        MethodContext& context = WorkerPool::currentContext(method);
        context.caller = caller;
        context.recordHistory = options.recordHistory;
        return context;
    }

    MethodResult run(const QString& method, const QCborArray& args, const CallIdentity& caller, QString& note) const
    {
        const bool writes = !wire::onlyReads(method);
        if (writes && WorkerPool::currentConnectionLost())
            WorkerPool::discardCurrentConnection();
        try {
            return Catalogue::standard().dispatch(method, args, contextFor(method, caller));
        } catch (const MethodError& error) {
            if (error.failure() != Failure::Internal || !WorkerPool::currentConnectionLost())
                throw;
            WorkerPool::discardCurrentConnection();
            if (writes)
                throw writeConnectionLost(method, error.detail());
            metrics.databaseError();
            note = u" (repetida numa nova conexão com o banco de dados após "_s + error.detail() + u')';
        }
        return Catalogue::standard().dispatch(method, args, contextFor(method, caller));
    }

    // Queues a pruning of the history when one is due (hourly, with --history-days), so no call
    // waits for it.
    void pruneWhenDue() const
    {
        if (options.historyDays <= 0)
            return;
        const QDateTime now = QDateTime::currentDateTimeUtc();
        qint64 due = nextPrune.load();
        if (now.toMSecsSinceEpoch() < due || !nextPrune.compare_exchange_strong(due, now.toMSecsSinceEpoch() + 3600000))
            return;
        pool->enqueue([this, now] { prune(now); });
    }

    void prune(const QDateTime& now) const
    {
        try {
            const PruneResult pruned = pruneHistory(WorkerPool::currentContext(u"histórico"_s), options.historyDays, now);
            log(utcTimestamp() + u" histórico: %1 lotes, %2 entradas e %3 conteúdos com mais de %4 dias removidos"_s
                                     .arg(pruned.batches).arg(pruned.entries).arg(pruned.contents)
                                     .arg(options.historyDays));
        } catch (const std::exception& error) {
            WorkerPool::discardCurrentConnection();
            log(utcTimestamp() + u" histórico: a poda falhou: "_s + escapedForLog(QString::fromUtf8(error.what())));
        }
    }

    HttpResponse call(HttpRequest& request, const QString& object, const QString& method) const
    {
        QElapsedTimer timer;
        timer.start();
        const auto requested = formatOf(request.header("content-type"));
        const WireFormat format = requested.value_or(WireFormat::Json);
        HttpResponse response;
        QString outcome;
        CallOutcome counted = CallOutcome::Ok;
        try {
            const QCborArray args = admittedArguments(request, object, method, format, requested);
            request.body = QByteArray();
            if (options.authorize) {
                if (auto refusal = options.authorize(CallAccess{request.header(AccessKeyHeader), method, args}))
                    throw MethodError(Failure::Forbidden, *refusal);
            }
            QString note;
            MethodResult result = run(method, args, callIdentity(request), note);
            response = answer(200, encodeSuccess(std::move(result), format), format);
            outcome = u"ok"_s + note;
        } catch (const MethodError& error) {
            counted = outcomeOf(error.failure());
            if (error.failure() == Failure::Internal) {
                WorkerPool::discardCurrentConnection();
                metrics.databaseError();
            }
            response = answer(statusOf(error.failure()), encodeFailure(error.message(), format), format);
            outcome = response.status == 200 ? u"recusada: "_s + error.message()
                                             : u"erro %1: %2"_s.arg(response.status).arg(error.message());
            if (!error.detail().isEmpty())
                outcome += u" ["_s + error.detail() + u']';
        } catch (const std::exception& error) {
            const QString message = u"Erro interno do servidor: %1"_s.arg(QString::fromUtf8(error.what()));
            response = answer(500, encodeFailure(message, format), format);
            outcome = u"erro 500: %1"_s.arg(message);
            counted = CallOutcome::Error;
        }
        metrics.record(method, counted, std::chrono::nanoseconds(timer.nsecsElapsed()));
        log(utcTimestamp() + u' ' + escapedForLog(method) + u' '
            + QString::number(double(timer.nsecsElapsed()) / 1e6, 'f', 1) + u" ms "_s + escapedForLog(outcome));
        pruneWhenDue();
        return response;
    }

    // A request refused before it was complete (framing, size, time); answered in its format.
    HttpResponse refuse(int status, const std::string& reason, const HttpRequest& request) const
    {
        const WireFormat format = answerFormat(request);
        QString message = text(reason);
        if (status != 413 && status != 503)
            message = u"Requisição inválida (HTTP %1): %2"_s.arg(status).arg(message);
        log(utcTimestamp() + u' ' + escapedForLog(text(request.path)) + u" - erro %1: "_s.arg(status)
            + escapedForLog(message));
        return answer(status, encodeFailure(message, format), format);
    }

    void startServing()
    {
        pool = std::make_unique<WorkerPool>(options.database, options.threads, &writeLock, connectionPrefix);
        photoBytes = std::make_unique<PhotoBytesGauge>(
            [this](std::function<void()> task) { pool->enqueue(std::move(task)); },
            [] { return photoBytesStored(WorkerPool::currentContext(u"metrics"_s).db); },
            [this] { metrics.databaseError(); }, photoBytesAge);
        photoBytes->current();  // read once at start, so the first scrape has it
        site = std::make_unique<WebSite>(WebAccess{options.webReads,
                                                   !wire::isLoopback(options.listen) || options.webKeysOnLoopback,
                                                   [this](const QString& line) { log(utcTimestamp() + u' ' + escapedForLog(line)); }});
        http::HttpHandlers handlers;
        handlers.answer = [router = routes()](HttpRequest& request) { return router.route(request); };
        handlers.answerAtOnce = [this](HttpRequest& request) { return answerAtOnce(request); };
        handlers.refuse = [this](int status, const std::string& reason, const HttpRequest& request) {
            return refuse(status, reason, request);
        };
        handlers.execute = [this](std::function<void()> task) { pool->enqueue(std::move(task)); };
        handlers.fault = [this](const std::string& message) { log(utcTimestamp() + u' ' + escapedForLog(text(message))); };
        server = std::make_unique<http::HttpServer>(options.limits, std::move(handlers), options.tls);
        port = server->bind(options.listen.toStdString(), options.port);
        server->start();
        pruneWhenDue();
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
    requireSafeExposure(impl_->options);
    migrateDatabase(impl_->options.database);
    try {
        impl_->startServing();
    } catch (...) {
        impl_->server.reset();
        impl_->pool.reset();
        impl_->site.reset();
        throw;
    }
    impl_->running = true;
    return impl_->port;
}

void AppServer::stop()
{
    if (!impl_->running.exchange(false))
        return;
    impl_->server->stop();
    impl_->pool->shutdown();
}

int AppServer::port() const
{
    return impl_->port;
}

}  // namespace qmv::appserver

#include "appserver/web/website.h"

#include "appserver/database/workerpool.h"
#include "appserver/web/thumbnail.h"
#include "appserver/web/webanswer.h"
#include "appserver/web/webdata.h"
#include "appserver/web/webpages.h"

#include "platform/blobdigest.h"

#include <QFile>
#include <QUrl>

namespace qmv::appserver {

using namespace Qt::StringLiterals;
using http::HttpRequest;
using http::HttpResponse;

namespace {

constexpr char kHtml[] = "text/html; charset=utf-8";
constexpr char kCookie[] = "qmv_sessao";
constexpr int kThumbnailSide = 400;
constexpr qsizetype kMaxThumbnails = 4096;
constexpr std::chrono::hours kSessionLifetime{12};  // a working day on the line

HttpResponse pageAnswer(const HttpRequest& request, int status, const QString& title, const QString& body,
                        const QString& back = {})
{
    return revalidated(request, status, kHtml, webPage(title, body, back));
}

HttpResponse resource(const HttpRequest& request, const QString& name)
{
    static const QStringList known = {u"view.css"_s, u"view.js"_s};
    if (!known.contains(name))
        return HttpResponse{404, "text/plain", "recurso desconhecido"};
    QFile file(u":/web/"_s + name);
    file.open(QIODevice::ReadOnly);
    return revalidated(request, 200, name.endsWith(u".css") ? "text/css; charset=utf-8"
                                                             : "text/javascript; charset=utf-8",
                       file.readAll());
}

QString formValue(const QByteArray& body, const QByteArray& name)
{
    for (const QByteArray& pair : body.split('&')) {
        if (!pair.startsWith(name + '='))
            continue;
        QByteArray value = pair.mid(name.size() + 1);
        value.replace('+', ' ');
        return QString::fromStdString(http::percentDecoded(value.toStdString()));
    }
    return {};
}

QString upOne(const QStringList& parts, qsizetype keep)
{
    QString path = QString::fromLatin1(WebRoot);
    for (qsizetype i = 0; i < keep; ++i)
        path += u'/' + QString::fromLatin1(QUrl::toPercentEncoding(parts[i]));
    return path;
}

}  // namespace

WebSite::WebSite(WebAccess access) : access_(std::move(access)), sessions_(kSessionLifetime) {}

void WebSite::addRoutes(http::Router& router)
{
    router.exact("POST", "/manual/entrar", [this](HttpRequest& request, std::string_view) { return signIn(request); });
    router.exact("GET", WebRoot, [this](HttpRequest& request, std::string_view) { return get(request, {}); });
    router.prefix("GET", std::string(WebRoot) + '/',
                  [this](HttpRequest& request, std::string_view rest) { return get(request, rest); });
}

bool WebSite::mayRead(const std::string* key, const QString& branch) const
{
    return !access_.required || (key && access_.reads && !branch.isEmpty() && access_.reads(*key, branch));
}

HttpResponse WebSite::get(HttpRequest& request, std::string_view rest)
{
    QStringList parts = QString::fromUtf8(rest.data(), qsizetype(rest.size())).split(u'/');
    if (!parts.isEmpty() && parts.last().isEmpty())
        parts.removeLast();
    if (parts.size() == 2 && parts[0] == u"recursos")
        return resource(request, parts[1]);
    if (parts.size() == 1 && parts[0] == u"entrar")
        return pageAnswer(request, 200, u"Entrar"_s, signInBody({}));
    std::optional<std::string> key = sessions_.keyOf(cookieValue(request.header("cookie"), kCookie));
    if (access_.required && !key) {
        if (parts.size() <= 6 && !(parts.size() > 0 && (parts[0] == u"fotos" || parts[0] == u"miniaturas")))
            return redirect("/manual/entrar");
        return HttpResponse{401, "text/plain", "Entre com a chave de acesso."_ba};
    }
    try {
        if (parts.size() == 4 && (parts[0] == u"fotos" || parts[0] == u"miniaturas"))
            return photo(parts, key ? &*key : nullptr, parts[0] == u"miniaturas");
        return page(request, parts, key ? &*key : nullptr);
    } catch (const std::exception& error) {
        if (access_.log)
            access_.log(u"GET "_s + QString::fromStdString(request.path) + u" - erro 500: "_s
                        + QString::fromUtf8(error.what()));
        return pageAnswer(request, 500, u"Erro"_s, messageBody(u"Erro interno do servidor; tente de novo."_s));
    }
}

HttpResponse WebSite::page(const HttpRequest& request, const QStringList& parts, const std::string* key)
{
    if (parts.size() > 7)
        return pageAnswer(request, 404, u"Página desconhecida"_s, messageBody(u"Esta página não existe."_s), WebRoot);
    const WebData data(WorkerPool::currentContext(u"web"_s).db);
    if (parts.isEmpty()) {
        QVector<Choice> branches = data.branches();
        branches.removeIf([&](const Choice& c) { return !mayRead(key, c.code); });
        return pageAnswer(request, 200, u"Manual de montagem"_s, choiceList(u"Filial"_s, branches, WebRoot));
    }
    if (!mayRead(key, parts[0]))
        return pageAnswer(request, 403, u"Acesso recusado"_s,
                          messageBody(u"A chave de acesso não permite ler a filial %1."_s.arg(parts[0].left(8))), WebRoot);
    const QString here = upOne(parts, parts.size());
    const QString back = upOne(parts, parts.size() == 6 ? 3 : parts.size() - 1);
    switch (parts.size()) {
    case 1: return pageAnswer(request, 200, u"Filial "_s + parts[0], choiceList(u"Companhia"_s, data.companies(parts[0]), here), back);
    case 2: return pageAnswer(request, 200, u"Manuais"_s, choiceList(u"Manual"_s, data.manuals(parts[0], parts[1]), here), back);
    case 3: return pageAnswer(request, 200, u"Serviços"_s, choiceList(u"Serviço"_s, data.services(parts[0], parts[1], parts[2]), here), back);
    case 4:
    case 5: return pageAnswer(request, 404, u"Página desconhecida"_s, messageBody(u"Escolha um serviço da lista."_s), back);
    default: break;
    }
    const ServiceRef ref{parts[0], parts[1], parts[2], parts[3], parts[4], parts[5]};
    const std::optional<ServiceView> service = data.service(ref, parts.value(6));
    if (!service || (parts.size() == 7 && service->subGroups.isEmpty()))
        return pageAnswer(request, 404, u"Serviço não encontrado"_s,
                          messageBody(u"Este serviço não está no manual escolhido."_s), back);
    if (parts.size() == 7)
        return revalidated(request, 200, kHtml, subGroupArticle(service->subGroups.first()).toUtf8());
    return pageAnswer(request, 200, service->title, serviceBody(ref, *service), back);
}

HttpResponse WebSite::photo(const QStringList& parts, const std::string* key,
                            bool thumbnail)
{
    const QByteArray digest = parts[3].toLatin1();
    const QString path = parts[1] + u'/' + parts[2];
    if (thumbnail) {
        std::lock_guard lock(thumbnailsLock_);
        const auto cached = thumbnails_.constFind(digest);
        if (cached != thumbnails_.constEnd() && cached->branchOf.contains(path)) {
            if (!mayRead(key, cached->branchOf.value(path)))
                return HttpResponse{403, "text/plain", "A chave de acesso não permite ler esta filial."_ba};
            return immutable(cached->type, cached->bytes);
        }
    }
    const WebData data(WorkerPool::currentContext(u"web"_s).db);
    const std::optional<StoredPhoto> stored = data.photo(parts[1], parts[2]);
    // A photo replaced since the page was made has another digest: the page reloads with the new one.
    if (!stored || digestOf(stored->bytes).value.toHex() != digest)
        return HttpResponse{404, "text/plain", "Foto não encontrada."_ba};
    if (!mayRead(key, stored->branch))
        return HttpResponse{403, "text/plain", "A chave de acesso não permite ler esta filial."_ba};
    if (!thumbnail)
        return immutable(imageType(stored->bytes), stored->bytes);
    QByteArray small = jpegThumbnail(stored->bytes, kThumbnailSide);
    const char* type = small.isEmpty() ? imageType(stored->bytes) : "image/jpeg";
    std::lock_guard lock(thumbnailsLock_);
    if (thumbnails_.size() >= kMaxThumbnails)
        thumbnails_.clear();
    Thumbnail& entry = thumbnails_[digest];
    if (entry.bytes.isEmpty()) {
        entry.bytes = small.isEmpty() ? stored->bytes : small;
        entry.type = type;
    }
    entry.branchOf.insert(path, stored->branch);
    return immutable(entry.type, entry.bytes);
}

HttpResponse WebSite::signIn(HttpRequest& request)
{
    const QString key = formValue(request.body, "chave").trimmed();
    if (!access_.reads || !access_.reads(key.toStdString(), QString()))
        return pageAnswer(request, 403, u"Entrar"_s, signInBody(u"Chave de acesso desconhecida ou sem filial para ler."_s));
    HttpResponse answer = redirect(WebRoot);
    answer.headers.emplace_back("Set-Cookie", std::string(kCookie) + '=' + sessions_.open(key.toStdString()).toStdString()
                                                  + "; Path=/manual; Max-Age=" + std::to_string(sessions_.lifetime().count())
                                                  + "; HttpOnly; Secure; SameSite=Strict");
    return answer;
}

}  // namespace qmv::appserver

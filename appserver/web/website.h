#pragma once
// The web view of the manual for the production line: read-only pages under /manual, served beside
// the remote methods on the same router. GET /manual lists the branches, then companies, manuals and
// services; /manual/<branch>/<company>/<manual>/<service>/<class>/<cycle> is the service's page, and
// one segment more the HTML of one of its sub-groups (what the automatic display checks at each
// step); /manual/fotos/... and /manual/miniaturas/... are a sub-group's photo and its thumbnail,
// named by the photo's digest so browsers keep them for good; /manual/recursos/ the style sheet and
// script; GET and POST /manual/entrar the sign-in.
// When access keys are required, a key that reads at least one branch signs in for a session
// (cookie "qmv_sessao"), and each branch's pages need a key that reads that branch.
// Handlers run on the worker threads; the sessions and the thumbnail cache are shared by them.
#include "appserver/web/websessions.h"
#include "http/router.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <functional>
#include <mutex>

namespace qmv::appserver {

struct WebAccess {
    std::function<bool(const std::string& key, const QString& branch)> reads;  // empty: no keys
    bool required = false;  // a session is needed for everything but the sign-in and the resources
    std::function<void(const QString& line)> log;  // failures only
};

class WebSite {
public:
    explicit WebSite(WebAccess access);
    void addRoutes(http::Router& router);

private:
    struct Thumbnail {
        QByteArray bytes;
        const char* type = "image/jpeg";
        QHash<QString, QString> branchOf;  // "<sub-group>/<espeProd>" found with this photo -> branch
    };

    http::HttpResponse get(http::HttpRequest& request, std::string_view rest);
    http::HttpResponse signIn(http::HttpRequest& request);
    http::HttpResponse page(const http::HttpRequest& request, const QStringList& parts, const std::string* key);
    http::HttpResponse photo(const QStringList& parts, const std::string* key, bool thumbnail);
    bool mayRead(const std::string* key, const QString& branch) const;

    WebAccess access_;
    WebSessions sessions_;
    std::mutex thumbnailsLock_;
    QHash<QByteArray, Thumbnail> thumbnails_;  // by the photo's digest
};

}  // namespace qmv::appserver

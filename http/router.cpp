#include "http/router.h"

namespace qmv::http {

Router& Router::exact(std::string method, std::string path, Handler handler)
{
    routes_.push_back(Route{std::move(method), std::move(path), false, std::move(handler)});
    return *this;
}

Router& Router::prefix(std::string method, std::string pathPrefix, Handler handler)
{
    routes_.push_back(Route{std::move(method), std::move(pathPrefix), true, std::move(handler)});
    return *this;
}

Router& Router::otherwise(Handler handler)
{
    fallback_ = std::move(handler);
    return *this;
}

HttpResponse Router::route(HttpRequest& request) const
{
    const std::string_view path(request.path);
    for (const Route& route : routes_) {
        if (route.method != request.method)
            continue;
        if (route.isPrefix ? path.starts_with(route.path) : path == route.path)
            return route.handler(request, path.substr(route.isPrefix ? route.path.size() : path.size()));
    }
    if (fallback_)
        return fallback_(request, path);
    return HttpResponse{404, "text/plain", QByteArrayLiteral("not found")};
}

}  // namespace qmv::http

#pragma once
// Which handler answers a request: routes by method and exact path ("GET /health") or by method
// and path prefix ("POST /rdm/", the handler gets the rest of the path). The first route that
// matches answers; a request no route takes goes to the fallback. Routes are added before the
// server starts; route() then takes any thread.
#include "http/httpmessage.h"

#include <functional>
#include <string>
#include <vector>

namespace qmv::http {

class Router {
public:
    // `rest` is the path after the route's prefix (empty for an exact route).
    using Handler = std::function<HttpResponse(HttpRequest& request, std::string_view rest)>;

    Router& exact(std::string method, std::string path, Handler handler);
    Router& prefix(std::string method, std::string pathPrefix, Handler handler);
    Router& otherwise(Handler handler);

    HttpResponse route(HttpRequest& request) const;

private:
    struct Route {
        std::string method;
        std::string path;
        bool isPrefix;
        Handler handler;
    };
    std::vector<Route> routes_;
    Handler fallback_;
};

}  // namespace qmv::http

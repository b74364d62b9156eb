#include "appserver/web/webanswer.h"

#include "platform/blobdigest.h"

namespace qmv::appserver {

namespace {

constexpr char kPolicy[] = "default-src 'none'; img-src 'self'; style-src 'self' 'unsafe-inline'; "
                           "script-src 'self'; connect-src 'self'; form-action 'self'; base-uri 'none'; "
                           "frame-ancestors 'none'";

bool names(const std::string& ifNoneMatch, const std::string& etag)
{
    if (ifNoneMatch == "*")
        return true;
    size_t from = 0;
    while (from < ifNoneMatch.size()) {
        size_t comma = ifNoneMatch.find(',', from);
        if (comma == std::string::npos)
            comma = ifNoneMatch.size();
        std::string_view one(ifNoneMatch.data() + from, comma - from);
        while (!one.empty() && one.front() == ' ')
            one.remove_prefix(1);
        if (one.starts_with("W/"))
            one.remove_prefix(2);
        if (one == etag)
            return true;
        from = comma + 1;
    }
    return false;
}

}  // namespace

http::HttpResponse revalidated(const http::HttpRequest& request, int status, const char* type, QByteArray body)
{
    http::HttpResponse response{status, type, std::move(body)};
    response.headers.emplace_back("Content-Security-Policy", kPolicy);
    response.headers.emplace_back("X-Content-Type-Options", "nosniff");
    if (status != 200) {
        response.headers.emplace_back("Cache-Control", "no-store");
        return response;
    }
    const std::string etag = '"' + digestOf(response.body).value.toHex().toStdString() + '"';
    response.headers.emplace_back("Cache-Control", "private, no-cache");
    response.headers.emplace_back("ETag", etag);
    if (names(request.header("if-none-match"), etag)) {
        response.status = 304;
        response.body.clear();
    }
    return response;
}

http::HttpResponse immutable(const char* type, QByteArray body)
{
    http::HttpResponse response{200, type, std::move(body)};
    response.headers.emplace_back("Cache-Control", "private, max-age=31536000, immutable");
    response.headers.emplace_back("X-Content-Type-Options", "nosniff");
    return response;
}

http::HttpResponse redirect(const std::string& location)
{
    http::HttpResponse response{303, "text/plain", QByteArray()};
    response.headers.emplace_back("Location", location);
    response.headers.emplace_back("Cache-Control", "no-store");
    return response;
}

const char* imageType(const QByteArray& bytes)
{
    if (bytes.startsWith("\xFF\xD8\xFF"))
        return "image/jpeg";
    if (bytes.startsWith("\x89PNG"))
        return "image/png";
    if (bytes.startsWith("GIF8"))
        return "image/gif";
    if (bytes.startsWith("BM"))
        return "image/bmp";
    return "application/octet-stream";
}

}  // namespace qmv::appserver

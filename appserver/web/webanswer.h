#pragma once
// How the web view answers: pages and resources revalidated by ETag (a 304 when the browser's copy
// is current), photos named by digest kept by the browser for good, a policy that lets pages run
// only the server's own script. Plain functions; any thread.
#include "http/httpmessage.h"

#include <QByteArray>

namespace qmv::appserver {

// 200 with an ETag of the body and "no-cache" (revalidate each time), or 304 when the request's
// If-None-Match names that ETag. Other statuses are sent as they are, never cached.
http::HttpResponse revalidated(const http::HttpRequest& request, int status, const char* type, QByteArray body);

http::HttpResponse immutable(const char* type, QByteArray body);

http::HttpResponse redirect(const std::string& location);

// The content type of a stored photo, from its first bytes.
const char* imageType(const QByteArray& bytes);

}  // namespace qmv::appserver

#pragma once
// One HTTP request as the server hands it to its handler, and the answer the handler gives back.
// Plain values; any thread.
#include <QByteArray>

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qmv::http {

struct HttpRequest {
    std::string method;    // "GET", "POST", ...
    std::string path;      // percent-decoded, without the query
    int minorVersion = 1;  // HTTP/1.0 or HTTP/1.1
    std::vector<std::pair<std::string, std::string>> headers;  // names in lower case
    QByteArray body;
    bool keepAlive = true;
    std::string peer;      // the client's address ("192.0.2.7", "::1"), empty when unknown

    // The value of a header (the first of that name), empty when absent.
    const std::string& header(std::string_view lowerName) const;
};

struct HttpResponse {
    int status = 200;
    const char* contentType = "text/plain";
    QByteArray body;
    std::vector<std::pair<std::string, std::string>> headers = {};  // more fields: caching, cookies
};

// "%0A" and the like decoded; an invalid escape stays as it is.
std::string percentDecoded(std::string_view text);

}  // namespace qmv::http

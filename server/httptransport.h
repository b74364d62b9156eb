#pragma once
// The transport over HTTP: one POST /rdm/<server>/<method> per call with the arguments as a CBOR array,
// the answer a CBOR map {ok, result | error}; GET /health on open. Keeps one keep-alive connection.
// Refused connections, timeouts, HTTP errors and malformed answers all become failed results, each
// saying whether the request was sent (RemoteResult::delivery). Plain and TLS calls go through the
// same connection class (http/httpconnection.h). Synchronous, no event loop; one thread at a time.
// Security comes from the host configuration at each open: with a server certificate (PEM) the calls
// go over HTTPS and the server must present that certificate; the access key, when configured, goes
// with every call (header X-Access-Key).
#include <memory>

#include "server/transport.h"

namespace qmv {

namespace http {
class HttpConnection;
}

class HttpTransport : public Transport {
public:
    HttpTransport();
    ~HttpTransport() override;

    RemoteResult open(const QString& host, int port, std::chrono::milliseconds timeout) override;
    void close() override;
    RemoteResult call(const QString& serverName, const QString& method, const CallArguments& args,
                      std::chrono::milliseconds timeout) override;

private:
    std::unique_ptr<http::HttpConnection> connection_;
    QString host_;
    int port_ = 0;
    QString certificate_;
};

}  // namespace qmv

#pragma once
// One kept-alive HTTP/1.1 client connection on Boost.Beast, plain or TLS. Every operation runs
// asynchronously on the connection's private io_context, driven with run_for until the exchange's
// deadline: a server that stops answering costs at most the timeout, never a hung call. With a
// certificate file the server must present that certificate (pinned: it is the only trusted one)
// for the host it was reached by. Connects on first use, and again before a request when the
// server has closed the idle connection or it was idle too long; a request that fails once sent is
// never sent again. The answer's body goes into one buffer of its announced length. One thread.
#include <QByteArray>
#include <QList>
#include <QString>

#include <chrono>
#include <memory>
#include <utility>

namespace qmv::http {

class HttpConnection {
public:
    // How an exchange failed. Up to Write the request never reached the server whole.
    enum class Failure {
        None,
        Connection,          // refused, unreachable or the name not resolved
        ConnectionTimeout,   // not accepted within the time limit
        TlsCertificate,      // the server's certificate is not the configured one (or not for this host)
        TlsCertificateFile,  // the configured certificate could not be loaded
        TlsHandshake,        // no TLS session (the server may not speak TLS)
        Write,               // the request could not be written whole
        Read,                // the answer was cut or malformed
        ReadTimeout,         // no whole answer within the time limit
    };
    using Headers = QList<std::pair<QByteArray, QByteArray>>;
    struct Answer {
        int status = 0;
        QByteArray contentType;
        QByteArray body;
        Headers headers = {};  // every field, names as sent
    };

    // An empty `certificateFile` means plain HTTP.
    HttpConnection(QString host, int port, QString certificateFile = {});
    ~HttpConnection();
    HttpConnection(const HttpConnection&) = delete;
    HttpConnection& operator=(const HttpConnection&) = delete;

    Failure exchange(QByteArrayView method, QByteArrayView target, const Headers& headers, const QByteArray& body,
                     std::chrono::milliseconds timeout, Answer& answer);
    void close();

    // True for the failures where the server cannot have seen the request.
    static bool notSent(Failure failure) { return failure != Failure::None && failure < Failure::Read; }

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace qmv::http

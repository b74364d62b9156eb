#pragma once
// One kept-alive HTTP/1.1 connection over a plain socket, for the transport's calls without TLS: the
// answer's body goes straight into one buffer of its announced length in a few large reads (a photo
// in a handful, not in a hundred 4 KB pieces). Connects on first use and again when the server has
// closed the idle connection; a request that fails once sent is never sent again. One thread.
#include <QByteArray>
#include <QList>
#include <QString>
#include <chrono>
#include <utility>

namespace qmv {

class PlainHttpConnection {
public:
    enum class Failure { None, Connection, ConnectionTimeout, Read, Write };
    struct Answer {
        int status = 0;
        QByteArray contentType;
        QByteArray body;
    };
    using Headers = QList<std::pair<QByteArray, QByteArray>>;

    PlainHttpConnection(QString host, int port);
    ~PlainHttpConnection();
    PlainHttpConnection(const PlainHttpConnection&) = delete;
    PlainHttpConnection& operator=(const PlainHttpConnection&) = delete;

    Failure exchange(QByteArrayView method, QByteArrayView path, const Headers& headers, QByteArrayView body,
                     std::chrono::milliseconds timeout, Answer& answer);
    void close();

private:
    using Deadline = std::chrono::steady_clock::time_point;
    Failure connect(Deadline deadline);
    bool stale() const;
    bool wait(short events, Deadline deadline) const;
    bool sendAll(QByteArrayView bytes, Deadline deadline);
    Failure readAnswer(Deadline deadline, Answer& answer, bool& keepAlive);

    QString host_;
    int port_;
    int fd_ = -1;
    Deadline lastUsed_{};
};

}  // namespace qmv

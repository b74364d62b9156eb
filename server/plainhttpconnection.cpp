#include "server/plainhttpconnection.h"

#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <optional>

namespace qmv {

namespace {

using Clock = std::chrono::steady_clock;
constexpr qsizetype maxHead = 64 * 1024;
// The server closes a connection idle for 60 s. One idle for half that is not reused, so a request
// never crosses the server's close on the way (it would fail unanswered).
constexpr auto maxIdle = std::chrono::seconds(30);

int remainingMs(Clock::time_point deadline)
{
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left <= 0 ? 0 : int(std::min<long long>(left, 1 << 30));
}

// The value of header `name` (lower case) in the head's lines, or nothing.
std::optional<QByteArray> headerValue(const QByteArray& head, QByteArrayView name)
{
    for (const QByteArray& line : head.split('\n')) {
        const qsizetype colon = line.indexOf(':');
        if (colon > 0 && line.left(colon).trimmed().toLower() == name)
            return line.mid(colon + 1).trimmed();
    }
    return std::nullopt;
}

}  // namespace

PlainHttpConnection::PlainHttpConnection(QString host, int port) : host_(std::move(host)), port_(port) {}

PlainHttpConnection::~PlainHttpConnection()
{
    close();
}

void PlainHttpConnection::close()
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}

bool PlainHttpConnection::wait(short events, Deadline deadline) const
{
    for (;;) {
        pollfd p{fd_, events, 0};
        const int n = ::poll(&p, 1, remainingMs(deadline));
        if (n > 0)
            return true;
        if (n == 0 || errno != EINTR)
            return false;
    }
}

// An idle kept-alive connection the server has closed (or that holds bytes nobody asked for).
bool PlainHttpConnection::stale() const
{
    pollfd p{fd_, POLLIN, 0};
    return ::poll(&p, 1, 0) != 0;
}

PlainHttpConnection::Failure PlainHttpConnection::connect(Deadline deadline)
{
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (::getaddrinfo(host_.toUtf8().constData(), QByteArray::number(port_).constData(), &hints, &found) != 0)
        return Failure::Connection;
    Failure failure = Failure::Connection;
    for (addrinfo* a = found; a && fd_ < 0; a = a->ai_next) {
        fd_ = ::socket(a->ai_family, a->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, a->ai_protocol);
        if (fd_ < 0)
            continue;
        int error = 0;
        socklen_t size = sizeof error;
        const bool started = ::connect(fd_, a->ai_addr, a->ai_addrlen) == 0 || errno == EINPROGRESS;
        const bool answered = started && wait(POLLOUT, deadline);
        if (started && answered && ::getsockopt(fd_, SOL_SOCKET, SO_ERROR, &error, &size) == 0 && error == 0)
            break;
        failure = started && !answered ? Failure::ConnectionTimeout : Failure::Connection;
        close();
    }
    ::freeaddrinfo(found);
    if (fd_ < 0)
        return failure;
    const int one = 1;
    ::setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    return Failure::None;
}

bool PlainHttpConnection::sendAll(QByteArrayView bytes, Deadline deadline)
{
    while (!bytes.isEmpty()) {
        const ssize_t n = ::send(fd_, bytes.data(), size_t(bytes.size()), MSG_NOSIGNAL);
        if (n > 0) {
            bytes = bytes.sliced(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK) && wait(POLLOUT, deadline))
            continue;
        return false;
    }
    return true;
}

PlainHttpConnection::Failure PlainHttpConnection::exchange(QByteArrayView method, QByteArrayView path,
                                                           const Headers& headers, QByteArrayView body,
                                                           std::chrono::milliseconds timeout, Answer& answer)
{
    const Deadline deadline = Clock::now() + timeout;
    if (fd_ >= 0 && (stale() || Clock::now() - lastUsed_ > maxIdle))
        close();
    if (fd_ < 0)
        if (const Failure failure = connect(deadline); failure != Failure::None)
            return failure;
    const QByteArray host = host_.contains(u':') ? '[' + host_.toUtf8() + ']' : host_.toUtf8();
    QByteArray head = method.toByteArray() + ' ' + path.toByteArray() + " HTTP/1.1\r\nHost: " + host + ':'
                      + QByteArray::number(port_) + "\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\n";
    for (const auto& [name, value] : headers)
        head += name + ": " + value + "\r\n";
    head += "\r\n";
    if (!sendAll(head, deadline) || !sendAll(body, deadline)) {
        close();
        return Failure::Write;
    }
    bool keepAlive = true;
    const Failure failure = readAnswer(deadline, answer, keepAlive);
    if (failure != Failure::None || !keepAlive)
        close();
    lastUsed_ = Clock::now();
    return failure;
}

PlainHttpConnection::Failure PlainHttpConnection::readAnswer(Deadline deadline, Answer& answer, bool& keepAlive)
{
    QByteArray received;
    qsizetype headEnd = -1;
    char chunk[16 * 1024];
    while (headEnd < 0) {
        const ssize_t n = ::recv(fd_, chunk, sizeof chunk, 0);
        if (n > 0) {
            received.append(chunk, n);
            headEnd = received.indexOf("\r\n\r\n");
            if (headEnd < 0 && received.size() > maxHead)
                return Failure::Read;
        } else if (n < 0 && errno == EINTR) {
        } else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK) && wait(POLLIN, deadline)) {
        } else {
            return Failure::Read;
        }
    }
    const QByteArray head = received.left(headEnd);
    const QList<QByteArray> status = head.left(head.indexOf('\r')).split(' ');
    bool numeric = false;
    answer.status = status.size() >= 2 && status[0].startsWith("HTTP/1.") ? status[1].toInt(&numeric) : 0;
    const std::optional<QByteArray> length = headerValue(head, "content-length");
    if (!numeric || headerValue(head, "transfer-encoding") || !length)
        return Failure::Read;  // our server always announces its answer's length
    bool valid = false;
    const qint64 size = length->toLongLong(&valid);
    if (!valid || size < 0 || size > (qint64(1) << 31))
        return Failure::Read;
    answer.contentType = headerValue(head, "content-type").value_or(QByteArray());
    keepAlive = headerValue(head, "connection").value_or(QByteArray()).toLower() != "close";
    answer.body = QByteArray(qsizetype(size), Qt::Uninitialized);
    qsizetype got = std::min<qsizetype>(received.size() - headEnd - 4, size);
    std::memcpy(answer.body.data(), received.constData() + headEnd + 4, size_t(got));
    while (got < size) {
        const ssize_t n = ::recv(fd_, answer.body.data() + got, size_t(size - got), 0);
        if (n > 0)
            got += n;
        else if (n < 0 && errno == EINTR)
            continue;
        else if (!(n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK) && wait(POLLIN, deadline)))
            return Failure::Read;
    }
    return Failure::None;
}

}  // namespace qmv

// The web view on a kitchen line, against the appserver program on a fresh demo database:
// 1. the service page of the demo's 40-sub-group service (every sub-group given a photo) with its 40
//    thumbnails, warm, one client on one connection: wall time per page and the server's CPU time;
// 2. 50 tablets in automatic display stepping every 2 s for a while: each step revalidates the
//    shown sub-group (If-None-Match, mostly 304) and fetches its full photo the first time, as the
//    browser does. The server's CPU time over the run (from /proc) as a share of one core.
// Usage: bench_web [seconds, default 90]
#include <QCoreApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QUrl>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double cpuSeconds(qint64 pid)
{
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    std::getline(stat, line);
    std::istringstream fields(line.substr(line.rfind(')') + 2));
    std::string skip;
    for (int i = 0; i < 11; ++i)
        fields >> skip;
    double user = 0, system = 0;
    fields >> user >> system;
    return (user + system) / double(sysconf(_SC_CLK_TCK));
}

struct Answer {
    int status = 0;
    QByteArray body, etag;
};

// A blocking HTTP/1.1 client on one kept-alive loopback connection: small and without an event
// loop, so that the times measured are the server's and the network's.
class Connection {
public:
    explicit Connection(int port) : fd_(socket(AF_INET, SOCK_STREAM, 0))
    {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(uint16_t(port));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        const int one = 1;
        setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
        if (::connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
            fd_ = -1;
    }
    ~Connection() { ::close(fd_); }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    Answer get(const QByteArray& path, const QByteArray& etag = {})
    {
        QByteArray request = "GET " + path + " HTTP/1.1\r\nHost: 127.0.0.1\r\n";
        if (!etag.isEmpty())
            request += "If-None-Match: " + etag + "\r\n";
        request += "\r\n";
        if (fd_ < 0 || ::send(fd_, request.constData(), size_t(request.size()), MSG_NOSIGNAL) != request.size())
            return {};
        qsizetype end;
        while ((end = buffer_.indexOf("\r\n\r\n")) < 0)
            if (!fill())
                return {};
        const QByteArray head = buffer_.left(end);
        buffer_.remove(0, end + 4);
        Answer answer;
        answer.status = head.mid(9, 3).toInt();
        qsizetype length = 0;
        for (const QByteArray& line : head.split('\n')) {
            const QByteArray lower = line.toLower();
            if (lower.startsWith("content-length:"))
                length = line.mid(15).trimmed().toLongLong();
            else if (lower.startsWith("etag:"))
                answer.etag = line.mid(5).trimmed();
        }
        while (buffer_.size() < length)
            if (!fill())
                return {};
        answer.body = buffer_.left(length);
        buffer_.remove(0, length);
        return answer;
    }

private:
    bool fill()
    {
        char chunk[65536];
        const ssize_t n = ::recv(fd_, chunk, sizeof chunk, 0);
        if (n <= 0)
            return false;
        buffer_.append(chunk, qsizetype(n));
        return true;
    }

    int fd_;
    QByteArray buffer_;
};

// The service with the most sub-groups, every sub-group given a photo of the demo (as a kitchen
// that photographed everything); returns its page's path.
QByteArray prepareService(const QString& file)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("bench"));
    db.setDatabaseName(file);
    db.open();
    QSqlQuery q(db);
    q.exec(QStringLiteral("SELECT CDFILIAL, CDCIA, CDMANCIA, CDSERVICO, CDCLASSE, CDCICLO FROM SUBGRUSEMA "
                          "GROUP BY 1, 2, 3, 4, 5, 6 ORDER BY COUNT(*) DESC LIMIT 1"));
    q.next();
    QByteArray path = "/manual";
    QStringList key;
    for (int i = 0; i < 6; ++i) {
        key << q.value(i).toString();
        path += '/' + QUrl::toPercentEncoding(key.last());
    }
    q.prepare(QStringLiteral("INSERT OR REPLACE INTO FOTOSEMA (CDPRODUTO, CDESPEPROD, FGESPEPROD) "
                             "SELECT SM.CDSUBGRU, SM.CDESPEPRODSG, (SELECT F.FGESPEPROD FROM FOTOSEMA F "
                             "WHERE F.FGESPEPROD IS NOT NULL LIMIT 1 OFFSET ABS(RANDOM()) % 500) FROM SUBGRUSEMA SM "
                             "WHERE CDFILIAL = ? AND CDCIA = ? AND CDMANCIA = ? AND CDSERVICO = ? AND CDCLASSE = ? "
                             "AND CDCICLO = ? AND NOT EXISTS (SELECT 1 FROM FOTOSEMA F WHERE F.CDPRODUTO = SM.CDSUBGRU "
                             "AND F.CDESPEPROD = SM.CDESPEPRODSG AND F.FGESPEPROD IS NOT NULL)"));
    for (const QString& k : key)
        q.addBindValue(k);
    q.exec();
    return path;
}

QList<QByteArray> links(const QByteArray& html, const char* pattern)
{
    QList<QByteArray> found;
    auto it = QRegularExpression(QString::fromLatin1(pattern)).globalMatch(QString::fromUtf8(html));
    while (it.hasNext())
        found << it.next().captured(1).toUtf8();
    return found;
}

struct Tablet {
    std::unique_ptr<Connection> connection;
    int index = 0;
    std::vector<QByteArray> etags;
    std::vector<bool> photoLoaded;
};

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int seconds = argc > 1 ? std::max(10, std::atoi(argv[1])) : 90;
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("web.sqlite"));
    QProcess server;
    server.setProcessChannelMode(QProcess::SeparateChannels);
    server.setReadChannel(QProcess::StandardError);
    server.start(QStringLiteral(QMV_APPSERVER_PROGRAM),
                 {QStringLiteral("--db"), file, QStringLiteral("--init-demo"), QStringLiteral("--port"), QStringLiteral("0")});
    QByteArray log;
    int port = 0;
    while (port == 0 && server.waitForReadyRead(120000)) {
        log += server.readAllStandardError();
        const auto m = QRegularExpression(QStringLiteral("127\\.0\\.0\\.1:(\\d+)")).match(QString::fromUtf8(log));
        if (m.hasMatch())
            port = m.captured(1).toInt();
    }
    if (port == 0) {
        std::fprintf(stderr, "the server did not start:\n%s\n", log.constData());
        return 1;
    }
    const QByteArray path = prepareService(file);
    Connection one(port);
    const Answer page = one.get(path);
    const QList<QByteArray> thumbnails = links(page.body, "<img src=\"([^\"]+)\"");
    const QList<QByteArray> photos = links(page.body, "data-full=\"([^\"]+)\"");
    const QList<QByteArray> codes = links(page.body, "<article class=\"subgroup\" data-code=\"([^\"]+)\"");
    std::printf("service %s: %lld sub-groups, %lld thumbnails, page %lld bytes\n", path.constData(),
                qsizetype(codes.size()), qsizetype(thumbnails.size()), qsizetype(page.body.size()));
    for (const QByteArray& t : thumbnails)
        one.get(t);  // made once per digest

    // 1. The page and its thumbnails, warm.
    constexpr int rounds = 30;
    std::vector<double> wall;
    const double cpuBefore = cpuSeconds(server.processId());
    for (int r = 0; r < rounds; ++r) {
        const auto start = Clock::now();
        bool ok = one.get(path).status == 200;
        for (const QByteArray& t : thumbnails)
            ok = one.get(t).status == 200 && ok;
        wall.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        if (!ok)
            std::fprintf(stderr, "a request failed in round %d\n", r);
    }
    const double cpuPerPage = (cpuSeconds(server.processId()) - cpuBefore) * 1000 / rounds;
    std::sort(wall.begin(), wall.end());
    std::printf("warm page + %lld thumbnails, one connection: median %.1f ms, worst %.1f ms wall; "
                "server CPU %.1f ms per page (limit 50 ms)\n",
                qsizetype(thumbnails.size()), wall[wall.size() / 2], wall.back(), cpuPerPage);

    // 2. 50 tablets, one step each every 2 s, spread evenly.
    constexpr int tablets = 50;
    std::vector<Tablet> line(tablets);
    for (int t = 0; t < tablets; ++t) {
        line[size_t(t)].connection = std::make_unique<Connection>(port);
        line[size_t(t)].index = t % int(codes.size());
        line[size_t(t)].etags.resize(size_t(codes.size()));
        line[size_t(t)].photoLoaded.resize(size_t(codes.size()));
    }
    const auto step = std::chrono::milliseconds(2000 / tablets);
    const double lineBefore = cpuSeconds(server.processId());
    const auto start = Clock::now();
    int requests = 0, notModified = 0, failed = 0;
    for (auto next = start; next - start < std::chrono::seconds(seconds);) {
        for (Tablet& tablet : line) {
            std::this_thread::sleep_until(next);
            next += step;
            const size_t i = size_t(tablet.index);
            const Answer a = tablet.connection->get(path + '/' + codes[qsizetype(i)], tablet.etags[i]);
            ++requests;
            notModified += a.status == 304;
            failed += a.status != 200 && a.status != 304;
            if (a.status == 200)
                tablet.etags[i] = a.etag;
            if (!tablet.photoLoaded[i] && i < size_t(photos.size())) {
                failed += tablet.connection->get(photos[qsizetype(i)]).status != 200;
                ++requests;
                tablet.photoLoaded[i] = true;
            }
            tablet.index = (tablet.index + 1) % int(codes.size());
        }
    }
    const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
    const double lineCpu = cpuSeconds(server.processId()) - lineBefore;
    std::printf("50 tablets for %.0f s: %d requests (%d answered 304, %d failed); server CPU %.2f s = %.2f%% of one core "
                "(limit 5%%)\n",
                elapsed, requests, notModified, failed, lineCpu, 100 * lineCpu / elapsed);
    server.terminate();
    server.waitForFinished(10000);
    return 0;
}

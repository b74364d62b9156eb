// The appserver program itself: its command line, the demo option, serving, and the clean stop on
// SIGTERM and SIGINT.
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <arpa/inet.h>
#include <csignal>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include "http/httpconnection.h"

namespace {

using namespace Qt::StringLiterals;

const QString program = QStringLiteral(QMV_APPSERVER_PROGRAM);

// Starts the program on a free port and returns that port (0 when it did not come up).
int startServing(QProcess& process, const QStringList& arguments)
{
    process.start(program, arguments);
    if (!process.waitForStarted(10000))
        return 0;
    QByteArray output;
    const QRegularExpression ready(uR"(serving \S+ on http://127\.0\.0\.1:(\d+))"_s);
    for (int i = 0; i < 300; ++i) {
        process.waitForReadyRead(100);
        output += process.readAllStandardError();
        const auto match = ready.match(QString::fromUtf8(output));
        if (match.hasMatch())
            return match.captured(1).toInt();
    }
    return 0;
}

// A connection that has sent part of a request and then waits.
int slowClient(int port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(uint16_t(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    const char partial[] = "POST /rdm/Qmv00500.rdmFotoMontManual/GetParametros HTTP/1.1\r\nContent-Length: 10\r\n\r\n[";
    ::send(fd, partial, sizeof partial - 1, MSG_NOSIGNAL);
    return fd;
}

TEST(Program, ServesAndStopsCleanlyOnSigtermAndSigint)
{
    QTemporaryDir dir;
    for (const int signal : {SIGTERM, SIGINT}) {
        QProcess process;
        const int port = startServing(process, {u"--db"_s, dir.filePath(u"x.sqlite"_s), u"--port"_s, u"0"_s});
        ASSERT_GT(port, 0);
        qmv::http::HttpConnection client(u"127.0.0.1"_s, port);
        qmv::http::HttpConnection::Answer health;
        ASSERT_EQ(client.exchange("GET", "/health", {}, {}, std::chrono::seconds(5), health),
                  qmv::http::HttpConnection::Failure::None);
        EXPECT_EQ(health.body, "ok");
        const int slow = slowClient(port);
        QElapsedTimer clock;
        clock.start();
        ::kill(pid_t(process.processId()), signal);
        ASSERT_TRUE(process.waitForFinished(10000));
        EXPECT_LT(clock.elapsed(), 5000) << "a slow client must not hold the stop";
        ::close(slow);
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(process.exitCode(), 0);
        EXPECT_TRUE(process.readAllStandardError().contains("appserver: stopped"));
    }
}

TEST(Program, CreatesTheDemoAndRefusesABadCommandLine)
{
    QTemporaryDir dir;
    QProcess demo;
    demo.start(program, {u"--db"_s, dir.filePath(u"demo.sqlite"_s), u"--init-demo"_s, u"--no-serve"_s});
    ASSERT_TRUE(demo.waitForFinished(60000));
    EXPECT_EQ(demo.exitCode(), 0);
    EXPECT_TRUE(demo.readAllStandardError().contains("Demo: 3 filiais")) << "demo summary";

    for (const QStringList& bad : {QStringList{}, QStringList{u"--port"_s, u"80x"_s, u"--db"_s, u"a"_s},
                                   QStringList{u"--db"_s}, QStringList{u"--db"_s, u"a"_s, u"--unknown"_s}}) {
        QProcess process;
        process.start(program, bad);
        ASSERT_TRUE(process.waitForFinished(10000));
        EXPECT_EQ(process.exitCode(), 2) << bad.join(u' ').toStdString();
        EXPECT_TRUE(process.readAllStandardError().contains("usage: appserver"));
    }

    // Refusals to start say what is missing or which file is at fault.
    QFile keys(dir.filePath(u"keys"_s));
    ASSERT_TRUE(keys.open(QIODevice::WriteOnly) && keys.write("short read=* write=*\n") > 0);
    keys.close();
    const QStringList db{u"--db"_s, dir.filePath(u"demo.sqlite"_s), u"--port"_s, u"0"_s};
    const QList<std::pair<QStringList, QString>> refusals = {
        {{u"--listen"_s, u"0.0.0.0"_s}, u"refusing to listen on 0.0.0.0 without TLS (--tls-cert and --tls-key) and an "
                                        "access-key file (--access-keys)"_s},
        {{u"--tls-cert"_s, u"server.pem"_s}, u"--tls-cert needs --tls-key"_s},
        {{u"--tls-cert"_s, u"nowhere.pem"_s, u"--tls-key"_s, u"nowhere.key"_s}, u"cannot use the TLS certificate nowhere.pem"_s},
        {{u"--access-keys"_s, dir.filePath(u"none"_s)}, u"cannot read the access-key file "_s + dir.filePath(u"none"_s)},
        {{u"--access-keys"_s, keys.fileName()}, keys.fileName() + u": access-key file, line 1: a key needs at least"_s},
    };
    for (const auto& [arguments, message] : refusals) {
        QProcess process;
        process.start(program, db + arguments);
        ASSERT_TRUE(process.waitForFinished(10000));
        EXPECT_EQ(process.exitCode(), 1) << arguments.join(u' ').toStdString();
        const QString shown = QString::fromUtf8(process.readAllStandardError());
        EXPECT_TRUE(shown.contains(message)) << shown.toStdString();
    }
}

}  // namespace

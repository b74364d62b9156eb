#include "peerprocess.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <csignal>
#include <stdexcept>
#include <sys/prctl.h>

#include "peersql.h"

namespace qmv::bench {

namespace {

// The port in the peer's "peer: serving on http://127.0.0.1:PORT" line; 0 until it comes.
int servingPort(const QByteArray& output)
{
    static const QRegularExpression line(QStringLiteral("serving on http://127\\.0\\.0\\.1:(\\d+)"));
    const QRegularExpressionMatch match = line.match(QString::fromUtf8(output));
    return match.hasMatch() ? match.captured(1).toInt() : 0;
}

}  // namespace

PeerProcess::PeerProcess(const QString& peerDir, const QString& sqliteFile)
{
    const QString script = QDir(peerDir).filePath(QStringLiteral("server.js"));
    if (!QFileInfo::exists(script))
        throw std::runtime_error("no peer at " + script.toStdString());
    const QString sql = sqliteFile + QStringLiteral(".peer.sql");
    writePeerSql(sql);
    process_.setWorkingDirectory(peerDir);
    process_.setProcessChannelMode(QProcess::ForwardedOutputChannel);
    process_.setReadChannel(QProcess::StandardError);  // where the peer names its port
    // A benchmark that dies (qFatal) takes its peer with it.
    process_.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
    process_.start(QStringLiteral("node"), {script, sqliteFile, sql, QStringLiteral("0")});
    if (!process_.waitForStarted(10000))
        throw std::runtime_error("cannot start node: " + process_.errorString().toStdString());
    QByteArray output;
    const QDeadlineTimer deadline(15000);
    while (port_ == 0 && !deadline.hasExpired() && process_.state() == QProcess::Running) {
        process_.waitForReadyRead(int(qMax<qint64>(1, deadline.remainingTime())));
        output += process_.readAllStandardError();
        port_ = servingPort(output);
    }
    if (port_ == 0)
        throw std::runtime_error("the peer did not start: " + output.trimmed().toStdString());
}

PeerProcess::~PeerProcess()
{
    process_.terminate();
    if (!process_.waitForFinished(5000)) {
        process_.kill();
        process_.waitForFinished(2000);
    }
}

}  // namespace qmv::bench

#pragma once
// The peer endpoint (bench/peer/server.js under Node.js) as a child process on a free loopback port,
// serving a given SQLite file with the SQL the application server runs. Stopped when destroyed, and
// with the benchmark if that dies first. Main thread only.
#include <QProcess>
#include <QString>

namespace qmv::bench {

class PeerProcess {
public:
    // Writes the peer's SQL next to the database and starts `node server.js DB SQL 0` in peerDir;
    // returns once the peer names its port. Throws std::runtime_error when it does not start.
    PeerProcess(const QString& peerDir, const QString& sqliteFile);
    ~PeerProcess();
    PeerProcess(const PeerProcess&) = delete;
    PeerProcess& operator=(const PeerProcess&) = delete;

    int port() const { return port_; }

private:
    QProcess process_;
    int port_ = 0;
};

}  // namespace qmv::bench

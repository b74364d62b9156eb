#pragma once
// The one variant a remote method returns. Failures travel as results, never as exceptions,
// so that the host's result check is what reports them. Plain value; any thread.
#include <QCborValue>
#include <QString>

namespace qmv {

struct RemoteResult {
    bool ok = false;
    QString error;       // the server's (or the transport's) message when !ok
    QCborValue payload;  // a data packet (see packet.h) for Get... methods; status otherwise
};

}  // namespace qmv

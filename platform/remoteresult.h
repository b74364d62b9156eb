#pragma once
// The one variant a remote method returns. Failures travel as results, never as exceptions,
// so that the host's result check is what reports them. Plain value; any thread.
#include <QByteArray>
#include <QCborValue>
#include <QString>

namespace qmv {

struct RemoteResult {
    bool ok = false;
    QString error;       // the server's (or the transport's) message when !ok
    QCborValue payload;  // a data packet (see packet.h) for Get... methods; status otherwise
    // When not empty, the payload's CBOR bytes as they came over the wire, and `payload` is left
    // undefined so that a large packet is decoded once, straight into its rows. Read the payload
    // through CheckResultServ (host/checkresultserv.h), which decodes these bytes when needed.
    QByteArray encodedPayload;
    // No answer came back (connection refused, dropped or timed out): the server may or may not
    // have run the call.
    bool unanswered = false;
};

}  // namespace qmv

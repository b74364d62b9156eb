#pragma once
// The one variant a remote method returns. Failures travel as results, never as exceptions,
// so that the host's result check is what reports them. Plain value; any thread.
#include <QByteArray>
#include <QCborValue>
#include <QString>

namespace qmv {

// How far a failed call got. A transport that could not hand the whole request to the server
// (connection refused, name not resolved, TLS refused, the request cut while being written) says
// NotSent: the server cannot have run it. One whose request went out but whose answer was lost or cut
// says MayHaveReached: the server may have run it. Every transport keeps this contract.
enum class Delivery { Answered, NotSent, MayHaveReached };

struct RemoteResult {
    bool ok = false;
    QString error;       // the server's (or the transport's) message when !ok
    QCborValue payload;  // a data packet (see packet.h) for Get... methods; status otherwise
    // When not empty, the payload's CBOR bytes as they came over the wire, and `payload` is left
    // undefined so that a large packet is decoded once, straight into its rows. Read the payload
    // through CheckResultServ (host/checkresultserv.h), which decodes these bytes when needed.
    QByteArray encodedPayload;
    Delivery delivery = Delivery::Answered;

    // No answer came back, for either reason.
    bool unanswered() const { return delivery != Delivery::Answered; }
};

}  // namespace qmv

#pragma once
// The answer envelope {"ok": true, "result": ...} / {"ok": false, "error": "..."} as the client
// reads it, in CBOR or JSON. A CBOR result keeps its bytes, so that a data packet is decoded once,
// by whoever loads it; a success the server wrote with wire::successHead() is taken without walking
// it. Plain functions; any thread.
#include <QByteArray>
#include <QCborValue>
#include <QString>

namespace qmv::wire {

struct AnswerEnvelope {
    bool valid = false;
    bool hasOk = false;
    bool ok = false;
    QString error;
    QByteArray resultBytes;  // from a CBOR answer
    QCborValue resultValue;  // from a JSON answer
    QString unreadable;      // why a JSON answer's result could not be read
};

// `contentType` naming JSON reads the body as JSON, anything else as CBOR.
AnswerEnvelope readAnswerEnvelope(QByteArrayView contentType, QByteArray&& body);

}  // namespace qmv::wire

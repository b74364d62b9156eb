#pragma once
// The wire format of one call: the argument array of a request and the answer envelope
// {"ok": true, "result": ...} / {"ok": false, "error": "..."}, in CBOR or in JSON. In JSON a byte
// string is {"base64": "..."} and a date {"datetime": "2026-03-10T00:00:00.000Z"} (platform/jsonmapping.h).
// Any thread.
#include <QByteArray>
#include <QCborArray>
#include <QCborValue>
#include <QJsonValue>

#include "platform/jsonmapping.h"

namespace qmv::appserver {

enum class WireFormat { Cbor, Json };

// What a method returns: a CBOR value, or a data packet already encoded (to spare a conversion).
struct MethodResult {
    QCborValue value;
    QByteArray encoded;  // when not empty, the CBOR bytes of the result, used instead of value
};

// The format named by a Content-Type header; nullopt when it is neither CBOR nor JSON (or absent).
// Answers to such requests are written in JSON, the format people read.
std::optional<WireFormat> formatOf(const std::string& contentType);
const char* contentType(WireFormat format);

// The argument array of a request; throws MethodError(BadRequest) when the body is not one.
QCborArray decodeArguments(const QByteArray& body, WireFormat format);

QByteArray encodeSuccess(MethodResult result, WireFormat format);
QByteArray encodeFailure(const QString& message, WireFormat format);

// The JSON form of values (cborToJson, jsonToCbor) is qmv's own, in platform/jsonmapping.h.
using qmv::cborToJson;
using qmv::jsonToCbor;

}  // namespace qmv::appserver

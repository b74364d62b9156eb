#include "appserver/http/wirecodec.h"

#include "platform/wire.h"

#include "appserver/methods/methoderror.h"
#include "platform/jsonmapping.h"

#include <QCborMap>
#include <QCborStreamReader>
#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>
#include <cstdio>
#include <QLocale>
#include <optional>

namespace qmv::appserver {

using namespace Qt::StringLiterals;

namespace {

QByteArray toJsonBytes(const QJsonValue& value)
{
    return value.isArray() ? QJsonDocument(value.toArray()).toJson(QJsonDocument::Compact)
                           : QJsonDocument(value.toObject()).toJson(QJsonDocument::Compact);
}

void appendJsonString(QByteArray& out, QByteArrayView utf8)
{
    out.append('"');
    for (const char c : utf8) {
        switch (c) {
        case '"': out.append("\\\""); break;
        case '\\': out.append("\\\\"); break;
        case '\n': out.append("\\n"); break;
        case '\r': out.append("\\r"); break;
        case '\t': out.append("\\t"); break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char escape[8];
                std::snprintf(escape, sizeof escape, "\\u%04x", unsigned(c));
                out.append(escape);
            } else {
                out.append(c);
            }
        }
    }
    out.append('"');
}

QByteArray readWhole(QCborStreamReader& reader, bool text)
{
    QByteArray bytes;
    if (text) {
        QString string;
        for (auto chunk = reader.readString(); chunk.status == QCborStreamReader::Ok; chunk = reader.readString())
            string += chunk.data;
        return string.toUtf8();
    }
    for (auto chunk = reader.readByteArray(); chunk.status == QCborStreamReader::Ok; chunk = reader.readByteArray())
        bytes += chunk.data;
    return bytes;
}

// Writes the CBOR value at the reader as JSON text, as cborToJson maps it, without building a tree.
void writeJson(QCborStreamReader& reader, QByteArray& out)
{
    switch (reader.type()) {
    case QCborStreamReader::UnsignedInteger:
    case QCborStreamReader::NegativeInteger:
        out.append(QByteArray::number(double(reader.toInteger()), 'g', QLocale::FloatingPointShortest));
        reader.next();
        return;
    case QCborStreamReader::Float16:
    case QCborStreamReader::Float:
    case QCborStreamReader::Double: {
        const double d = reader.isDouble() ? reader.toDouble()
                         : reader.isFloat() ? double(reader.toFloat()) : double(reader.toFloat16());
        out.append(std::isfinite(d) ? QByteArray::number(d, 'g', QLocale::FloatingPointShortest) : "null");
        reader.next();
        return;
    }
    case QCborStreamReader::String:
        return appendJsonString(out, readWhole(reader, true));
    case QCborStreamReader::ByteArray:
        out.append("{\"base64\":\"");
        out.append(readWhole(reader, false).toBase64());
        out.append("\"}");
        return;
    case QCborStreamReader::Tag:
        if (reader.toTag() == QCborTag(QCborKnownTags::DateTimeString)) {
            reader.next();
            if (reader.isString()) {
                out.append("{\"datetime\":");
                appendJsonString(out, readWhole(reader, true));
                out.append('}');
                return;
            }
        } else {
            reader.next();
        }
        return writeJson(reader, out);
    case QCborStreamReader::SimpleType:
        out.append(reader.isTrue() ? "true" : reader.isFalse() ? "false" : "null");
        reader.next();
        return;
    case QCborStreamReader::Array:
    case QCborStreamReader::Map: {
        const bool map = reader.isMap();
        out.append(map ? '{' : '[');
        reader.enterContainer();
        for (bool first = true; reader.hasNext() && reader.lastError() == QCborError::NoError; first = false) {
            if (!first)
                out.append(',');
            if (map) {
                QByteArray key;
                if (reader.isString())
                    key = readWhole(reader, true);
                else
                    reader.next();  // JSON keys are texts: another key reads as ""
                appendJsonString(out, key);
                out.append(':');
            }
            writeJson(reader, out);
        }
        reader.leaveContainer();
        out.append(map ? '}' : ']');
        return;
    }
    default:
        out.append("null");
        reader.next();
        return;
    }
}

}  // namespace

std::optional<WireFormat> formatOf(const std::string& contentType)
{
    const QString type = QString::fromStdString(contentType).section(u';', 0, 0).trimmed().toLower();
    if (type == u"application/cbor")
        return WireFormat::Cbor;
    if (type == u"application/json")
        return WireFormat::Json;
    return std::nullopt;
}

const char* contentType(WireFormat format)
{
    return format == WireFormat::Json ? "application/json" : "application/cbor";
}

QCborArray decodeArguments(const QByteArray& body, WireFormat format)
{
    QCborValue value;
    if (format == WireFormat::Json) {
        QJsonParseError error;
        const QJsonDocument document = QJsonDocument::fromJson(body, &error);
        if (error.error != QJsonParseError::NoError || !document.isArray())
            throw MethodError(Failure::BadRequest,
                              u"Corpo inválido: esperado um array JSON com os argumentos."_s);
        // Through bytes once, so dates and byte strings read back as the CBOR decoder gives them.
        try {
            value = QCborValue::fromCbor(jsonToCbor(document.array()).toCbor());
        } catch (const JsonMappingError&) {
            throw MethodError(Failure::BadRequest, u"Corpo inválido: base64 malformado."_s);
        }
    } else {
        QCborStreamReader reader(body);
        value = QCborValue::fromCbor(reader);
        if (reader.lastError() != QCborError::NoError || reader.currentOffset() != body.size())
            throw MethodError(Failure::BadRequest, u"Corpo inválido: CBOR malformado."_s);
    }
    if (!value.isArray())
        throw MethodError(Failure::BadRequest, u"Corpo inválido: esperado um array com os argumentos."_s);
    return value.toArray();
}

QByteArray encodeSuccess(MethodResult result, WireFormat format)
{
    if (format == WireFormat::Json) {
        // Straight from the CBOR bytes to JSON text, without a value tree in between.
        const QByteArray cbor = result.encoded.isEmpty() ? result.value.toCbor() : result.encoded;
        QByteArray json = "{\"ok\":true,\"result\":";
        json.reserve(cbor.size() * 2 + 32);
        QCborStreamReader reader(cbor);
        writeJson(reader, json);
        json.append('}');
        return json;
    }
    // {"ok": true, "result": ...} written by hand: a map of two pairs, the result's bytes last,
    // so an encoded packet is copied as it is.
    QByteArray bytes = result.encoded.isEmpty() ? result.value.toCbor() : std::move(result.encoded);
    bytes.prepend(wire::successHead());  // into the room a packet writer leaves in front, when it is there
    return bytes;
}

QByteArray encodeFailure(const QString& message, WireFormat format)
{
    if (format == WireFormat::Json)
        return toJsonBytes(QJsonObject{{u"ok"_s, false}, {u"error"_s, message}});
    QCborMap map;
    map.insert(u"ok"_s, false);
    map.insert(u"error"_s, message);
    return map.toCborValue().toCbor();
}

}  // namespace qmv::appserver

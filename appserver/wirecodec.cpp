#include "appserver/wirecodec.h"

#include "appserver/methoderror.h"

#include <QCborMap>
#include <QCborStreamReader>
#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>
#include <optional>

namespace qmv::appserver {

using namespace Qt::StringLiterals;

namespace {

QByteArray toJsonBytes(const QJsonValue& value)
{
    return value.isArray() ? QJsonDocument(value.toArray()).toJson(QJsonDocument::Compact)
                           : QJsonDocument(value.toObject()).toJson(QJsonDocument::Compact);
}

QCborValue taggedFromJson(const QJsonObject& object)
{
    if (object.size() == 1 && object.contains(u"base64"_s) && object.value(u"base64"_s).isString()) {
        const auto decoded = QByteArray::fromBase64Encoding(object.value(u"base64"_s).toString().toLatin1(),
                                                            QByteArray::AbortOnBase64DecodingErrors);
        if (!decoded)
            throw MethodError(Failure::BadRequest, u"Corpo inválido: base64 malformado."_s);
        return QCborValue(*decoded);
    }
    if (object.size() == 1 && object.contains(u"datetime"_s) && object.value(u"datetime"_s).isString())
        return QCborValue(QCborKnownTags::DateTimeString, object.value(u"datetime"_s).toString());
    QCborMap map;
    for (auto it = object.begin(); it != object.end(); ++it)
        map.insert(it.key(), jsonToCbor(it.value()));
    return map;
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

QJsonValue cborToJson(const QCborValue& value)
{
    switch (value.type()) {
    case QCborValue::Integer:
        return double(value.toInteger());
    case QCborValue::Double: {
        const double d = value.toDouble();
        return std::isfinite(d) ? QJsonValue(d) : QJsonValue();
    }
    case QCborValue::String:
        return value.toString();
    case QCborValue::ByteArray:
        return QJsonObject{{u"base64"_s, QString::fromLatin1(value.toByteArray().toBase64())}};
    case QCborValue::DateTime:
        return QJsonObject{{u"datetime"_s, value.taggedValue().toString()}};
    case QCborValue::True:
    case QCborValue::False:
        return value.toBool();
    case QCborValue::Array: {
        QJsonArray array;
        for (const QCborValue& item : value.toArray())
            array.append(cborToJson(item));
        return array;
    }
    case QCborValue::Map: {
        QJsonObject object;
        const QCborMap map = value.toMap();
        for (auto it = map.begin(); it != map.end(); ++it)
            object.insert(it.key().toString(), cborToJson(it.value()));
        return object;
    }
    default:
        return QJsonValue();
    }
}

QCborValue jsonToCbor(const QJsonValue& value)
{
    switch (value.type()) {
    case QJsonValue::Bool:
        return value.toBool();
    case QJsonValue::Double: {
        const double d = value.toDouble();
        if (d == std::trunc(d) && std::fabs(d) < 9.0e15)
            return qint64(d);
        return d;
    }
    case QJsonValue::String:
        return value.toString();
    case QJsonValue::Array: {
        QCborArray array;
        for (const QJsonValue& item : value.toArray())
            array.append(jsonToCbor(item));
        return array;
    }
    case QJsonValue::Object:
        return taggedFromJson(value.toObject());
    default:
        return QCborValue(nullptr);
    }
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
        value = QCborValue::fromCbor(jsonToCbor(document.array()).toCbor());
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

QByteArray encodeSuccess(const MethodResult& result, WireFormat format)
{
    if (format == WireFormat::Json) {
        const QCborValue value = result.encoded.isEmpty() ? result.value : QCborValue::fromCbor(result.encoded);
        return toJsonBytes(QJsonObject{{u"ok"_s, true}, {u"result"_s, cborToJson(value)}});
    }
    // {"ok": true, "result": ...} written by hand: a map of two pairs, the result's bytes last,
    // so an encoded packet is copied as it is.
    static const QByteArray head = QByteArray::fromHex("a2626f6bf566726573756c74");
    const QByteArray tail = result.encoded.isEmpty() ? result.value.toCbor() : result.encoded;
    return head + tail;
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

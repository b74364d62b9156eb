#include "platform/jsonmapping.h"

#include <QCborArray>
#include <QCborMap>
#include <QJsonArray>
#include <QJsonObject>
#include <cmath>

namespace qmv {

using namespace Qt::StringLiterals;

namespace {

QCborValue taggedFromJson(const QJsonObject& object)
{
    if (object.size() == 1 && object.contains(u"base64"_s) && object.value(u"base64"_s).isString()) {
        const auto decoded = QByteArray::fromBase64Encoding(object.value(u"base64"_s).toString().toLatin1(),
                                                            QByteArray::AbortOnBase64DecodingErrors);
        if (!decoded)
            throw JsonMappingError("malformed base64");
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

}  // namespace qmv

#include "appserver/packetbuilder.h"

#include <QDateTime>
#include <QTimeZone>

namespace qmv::appserver {

using namespace Qt::StringLiterals;

namespace {

FieldDef field(const QString& name, FieldKind kind, int size)
{
    FieldDef def;
    def.name = name;
    def.kind = kind;
    def.size = size;
    return def;
}

}  // namespace

FieldDef textField(const QString& name, int size) { return field(name, FieldKind::Text, size); }
FieldDef fixedTextField(const QString& name, int size) { return field(name, FieldKind::FixedText, size); }
FieldDef floatField(const QString& name) { return field(name, FieldKind::Float, 0); }
FieldDef dateTimeField(const QString& name) { return field(name, FieldKind::DateTime, 0); }
FieldDef blobField(const QString& name) { return field(name, FieldKind::Blob, 0); }

QDateTime toDateTime(const QVariant& value)
{
    if (value.isNull())
        return {};
    if (value.metaType().id() == QMetaType::QDateTime)
        return value.toDateTime();
    const QString text = value.toString().trimmed();
    for (Qt::DateFormat format : {Qt::ISODateWithMs, Qt::ISODate}) {
        const QDateTime parsed = QDateTime::fromString(text, format);
        if (parsed.isValid())
            return parsed;
    }
    const QDateTime spaced = QDateTime::fromString(text, u"yyyy-MM-dd HH:mm:ss"_s);
    if (spaced.isValid())
        return spaced;
    const QDate date = QDate::fromString(text.left(10), Qt::ISODate);
    return date.isValid() ? QDateTime(date, QTime(0, 0)) : QDateTime();
}

QVariant dbDateTime(const QDateTime& value)
{
    if (!value.isValid())
        return QVariant(QMetaType(QMetaType::QDateTime));
    // Dates are calendar dates of the kitchen: the wall clock as sent is written as a UTC reading,
    // which neither driver shifts (PostgreSQL sessions run in UTC).
    return QDateTime(value.date(), value.time(), Qt::UTC);
}

QVariant packetValue(const QVariant& dbValue, FieldKind kind)
{
    if (dbValue.isNull())
        return {};
    switch (kind) {
    case FieldKind::Text:
    case FieldKind::FixedText:
    case FieldKind::Calculated:
        return dbValue.toString();
    case FieldKind::Float:
        return dbValue.toDouble();
    case FieldKind::Integer:
        return dbValue.toLongLong();
    case FieldKind::DateTime: {
        const QDateTime dt = toDateTime(dbValue);
        return dt.isValid() ? QVariant(dt) : QVariant();
    }
    case FieldKind::Blob:
        return dbValue.toByteArray();
    }
    return {};
}

DataPacket packetFromQuery(QSqlQuery& query, const QList<FieldDef>& fields)
{
    DataPacket packet;
    packet.fields = fields;
    while (query.next()) {
        Row row;
        row.reserve(fields.size());
        for (int i = 0; i < fields.size(); ++i)
            row.append(packetValue(query.value(i), fields[i].kind));
        packet.rows.append(std::move(row));
    }
    return packet;
}

}  // namespace qmv::appserver

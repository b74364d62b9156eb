#include "appserver/methods/packetbuilder.h"

#include "platform/packetwriter.h"
#include "platform/wallclock.h"

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
FieldDef integerField(const QString& name) { return field(name, FieldKind::Integer, 0); }

QDateTime toDateTime(const QVariant& value)
{
    if (value.isNull())
        return {};
    if (value.metaType().id() == QMetaType::QDateTime)
        return wallClock(value.toDateTime());
    const QString text = value.toString().trimmed();
    if (isCanonicalDateText(text))
        return wallClock(QDate(text.left(4).toInt(), text.mid(5, 2).toInt(), text.mid(8, 2).toInt()),
                         QTime(text.mid(11, 2).toInt(), text.mid(14, 2).toInt(), text.mid(17, 2).toInt(),
                               text.mid(20, 3).toInt()));
    const QDateTime iso = wallClockFromIso(text);
    if (iso.isValid())
        return iso;
    if (text.size() == 19 && text[10] == u' ') {
        const QDateTime spaced = wallClockFromIso(QString(text).replace(10, 1, u'T'));
        if (spaced.isValid())
            return spaced;
    }
    const QDate date = QDate::fromString(text.left(10), Qt::ISODate);
    return date.isValid() ? wallClock(date) : QDateTime();
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

void writePacketValue(PacketWriter& writer, const QVariant& value, FieldKind kind)
{
    if (value.isNull())
        return writer.null();
    switch (kind) {
    case FieldKind::Text:
    case FieldKind::FixedText:
    case FieldKind::Calculated:
        return writer.text(value.toString());
    case FieldKind::Float:
        return writer.number(value.toDouble());
    case FieldKind::Integer:
        return writer.integer(value.toLongLong());
    case FieldKind::DateTime: {
        if (value.metaType().id() == QMetaType::QString && isCanonicalDateText(value.toString()))
            return writer.dateText(value.toString());
        const QDateTime dt = toDateTime(value);
        return dt.isValid() ? writer.date(dt) : writer.null();
    }
    case FieldKind::Blob:
        return writer.bytes(value.toByteArray());
    }
    writer.null();
}

QByteArray encodedPacketFromQuery(QSqlQuery& query, const QList<FieldDef>& fields)
{
    PacketWriter writer(fields, 64 * 1024);
    while (query.next()) {
        writer.beginRow();
        for (int i = 0; i < fields.size(); ++i)
            writePacketValue(writer, query.value(i), fields[i].kind);
    }
    return writer.finish();
}

}  // namespace qmv::appserver

#pragma once
// Builds the data packet a Get... method returns from a query whose columns come in the packet's
// field order, converting each database value to the packet's kind. Connection's thread only.
#include "platform/packet.h"
#include "platform/packetwriter.h"

#include <QSqlQuery>

namespace qmv::appserver {

FieldDef textField(const QString& name, int size);
FieldDef fixedTextField(const QString& name, int size);
FieldDef floatField(const QString& name);
FieldDef dateTimeField(const QString& name);
FieldDef blobField(const QString& name);
FieldDef integerField(const QString& name);

// Reads every row of `query` (already executed) into a packet with `fields`.
DataPacket packetFromQuery(QSqlQuery& query, const QList<FieldDef>& fields);

// The same packet's CBOR bytes, written row by row as the query fetches them. A date that SQLite
// holds in the canonical text form goes out as that text, without being parsed.
QByteArray encodedPacketFromQuery(QSqlQuery& query, const QList<FieldDef>& fields);

// Writes a database value as the packet carries it for `kind`.
void writePacketValue(PacketWriter& writer, const QVariant& dbValue, FieldKind kind);

// A database value as the packet carries it for `kind` (null stays null).
QVariant packetValue(const QVariant& dbValue, FieldKind kind);

// A date-time read back from either driver: SQLite returns the text it stored.
QDateTime toDateTime(const QVariant& value);

// The form in which a date-time is written, so that both drivers store the same wall-clock value
// whatever the time zones of the server process and of the database.
QVariant dbDateTime(const QDateTime& value);

}  // namespace qmv::appserver

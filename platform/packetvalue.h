#pragma once
// Conversions between row values and CBOR shared by the packet encoders and decoders: field kinds
// by name, dates as wall-clock times, and the normalisation of a value to its field's kind.
// Internal to qmv_packet; plain functions, any thread.
#include "platform/packet.h"

#include <QCborStreamWriter>
#include <optional>

namespace qmv::packetvalue {

QString kindName(FieldKind kind);
std::optional<FieldKind> kindFromName(QStringView name);

// Dates travel as tag 0 strings of their wall-clock reading ("2026-03-10T00:00:00.000Z"):
// neither the client nor the database keeps a zone, so the reading is what must survive.
QString dateText(const QDateTime& value);
QDateTime dateFromText(QStringView text);  // invalid when the text is not a date

QCborValue toCbor(const QVariant& value);
void write(QCborStreamWriter& writer, const QVariant& value);
QVariant fromCbor(const QCborValue& value);  // throws PacketError on a kind no row holds

// The field list of a packet or change set: names present and unique, kinds known.
QList<FieldDef> fieldsFromCbor(const QCborValue& value);  // throws PacketError

// Integers in a float column become doubles and integral doubles in an integer column become
// integers, so that a value compares equal to the same value read back.
QVariant normalised(QVariant value, FieldKind kind);

}  // namespace qmv::packetvalue

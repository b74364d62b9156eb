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
QDateTime dateFromAscii(QByteArrayView text);  // the same from the UTF-8 bytes of the wire

QCborValue toCbor(const QVariant& value);
void write(QCborStreamWriter& writer, const QVariant& value);
QVariant fromCbor(const QCborValue& value);  // throws PacketError on a kind no row holds

// The same for an element read in place from an array, without copying it into a QCborValue.
template <typename Ref>
QVariant fromCborRef(const Ref& value)
{
    switch (value.type()) {
    case QCborValue::String: return value.toString();
    case QCborValue::ByteArray: return value.toByteArray();
    case QCborValue::Integer: return QVariant::fromValue<qint64>(value.toInteger());
    case QCborValue::Double: return value.toDouble();
    case QCborValue::Null:
    case QCborValue::Undefined: return {};
    default: return fromCbor(QCborValue(value));  // dates, booleans and the refused kinds
    }
}

// Writes the array of field descriptions that heads a packet or change set.
void writeFields(QCborStreamWriter& writer, const QList<FieldDef>& fields);

// The field list of a packet or change set: names present and unique, kinds known.
QList<FieldDef> fieldsFromCbor(const QCborValue& value);  // throws PacketError

// Integers in a float column become doubles and integral doubles in an integer column become
// integers, so that a value compares equal to the same value read back.
QVariant normalised(QVariant value, FieldKind kind);

}  // namespace qmv::packetvalue

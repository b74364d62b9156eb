#pragma once
// Writes a data packet's CBOR straight from its values, row by row, into one growing buffer: no
// DataPacket, no QVariant and no QCborValue in between. The bytes are those decodePacket() reads
// (the row list has no count up front, so a query's rows stream in as they are fetched). Values
// must follow the field order; one thread.
#include "platform/packet.h"

namespace qmv {

class PacketWriter {
public:
    explicit PacketWriter(const QList<FieldDef>& fields, qsizetype reserveBytes = 4096);

    void beginRow();
    void null();
    void text(QStringView value);
    // Text already in UTF-8 (the caller has checked it is valid).
    void utf8Text(QByteArrayView value);
    void number(double value);
    void integer(qint64 value);
    void bytes(QByteArrayView value);
    // A wall-clock reading; written "2026-03-10T14:30:00.000Z" whatever its time spec.
    void date(const QDateTime& value);
    // A date already in the canonical text form (see isCanonicalDateText), written as it is.
    void dateText(QStringView canonical);
    void dateText(QByteArrayView canonical);
    // Any row value, by its type (as decodePacket gives them back).
    void value(const QVariant& value);

    QByteArray finish();

private:
    void head(quint8 major, quint64 value);
    void put(char byte);
    void put(const char* data, qsizetype size);
    // Room for `size` more bytes at the end of the written ones.
    char* room(qsizetype size);

    QByteArray out_;  // its first used_ bytes are written; the rest is room
    qsizetype used_ = 0;
    qsizetype fieldCount_;
};

// "yyyy-MM-ddTHH:mm:ss.zzzZ" with every digit and separator in place and a real calendar day.
bool isCanonicalDateText(QStringView text);
bool isCanonicalDateText(QByteArrayView text);

// The canonical text of a wall-clock reading, formatted by hand (no time zone is consulted).
QString canonicalDateText(const QDate& date, const QTime& time);

}  // namespace qmv

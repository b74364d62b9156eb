#pragma once
// Data packets and change sets: the rows a Get... method returns and the pending edits a Set...
// method takes, as plain values with their CBOR encoding. No widgets; safe on any thread.
//
// Encoding. A packet is the map {"fields": [field...], "rows": [[value...]...]}; a change set is
// {"fields": [field...], "changes": [{"kind": "insert"|"update"|"delete", "original": [value...],
// "current": [value...]}...]} with "original" absent for inserts and "current" for deletes.
// A field is {"name", "kind": "text"|"fixedtext"|"float"|"integer"|"datetime"|"blob"|"calculated"}
// plus, when not the default, "size", "label", "visible", "required", "editMask", "displayFormat".
// Values: null, text string, integer, double, byte string (large objects, byte for byte), and
// dates as tag 0 strings of their wall-clock reading ("2026-03-10T14:30:00.000Z": no zone is kept).
// Every row holds one value per field; anything else is refused with PacketError.
#include <QByteArray>
#include <QCborValue>
#include <QList>
#include <QString>
#include <QVariant>
#include <stdexcept>

class QCborStreamWriter;

namespace qmv {

enum class FieldKind { Text, FixedText, Float, Integer, DateTime, Blob, Calculated };

struct FieldDef {
    QString name;
    FieldKind kind = FieldKind::Text;
    int size = 0;  // characters for texts, 0 when unbounded
    QString label;
    bool visible = true;
    bool required = false;
    QString editMask;       // the module's own mask notation, e.g. ">aaaa;0; "
    QString displayFormat;  // e.g. "#####0%", "0.000"
};

// One value per field, in field order. A null is an invalid QVariant; texts are QString,
// numbers double or qint64, dates QDateTime, large objects QByteArray (kept byte for byte).
using Row = QList<QVariant>;

struct DataPacket {
    QList<FieldDef> fields;
    QList<Row> rows;
    int indexOf(const QString& fieldName) const;  // -1 when absent
};

enum class ChangeKind { Insert, Update, Delete };

struct Change {
    ChangeKind kind = ChangeKind::Update;
    Row original;  // the row as read from the server; empty for Insert
    Row current;   // the row as edited; empty for Delete
};

// A dataset's pending edits, in the order they were made.
struct ChangeSet {
    QList<FieldDef> fields;
    QList<Change> changes;
    int indexOf(const QString& fieldName) const;
};

class PacketError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A row value that cannot be read (an impossible date, a kind no row holds), naming its field and
// the row: the position in the packet's row list or the change set's change list, from 1.
class PacketValueError : public PacketError {
public:
    PacketValueError(const QString& field, qsizetype row, const std::string& problem)
        : PacketError(problem + " in field " + field.toStdString()
                      + (row > 0 ? ", row " + std::to_string(row) : std::string())),
          field_(field), row_(row), problem_(problem) {}
    const QString& field() const { return field_; }
    qsizetype row() const { return row_; }
    const std::string& problem() const { return problem_; }
    PacketValueError atRow(qsizetype row) const { return PacketValueError(field_, row, problem_); }

private:
    QString field_;
    qsizetype row_;
    std::string problem_;
};

QCborValue toCbor(const DataPacket& packet);
QCborValue toCbor(const ChangeSet& changes);
DataPacket packetFromCbor(const QCborValue& value);      // throws PacketError
ChangeSet changeSetFromCbor(const QCborValue& value);    // throws PacketError

QByteArray encodePacket(const DataPacket& packet);
DataPacket decodePacket(const QByteArray& bytes);        // throws PacketError
QByteArray encodeChangeSet(const ChangeSet& changes);
void writeChangeSet(QCborStreamWriter& writer, const ChangeSet& changes);
ChangeSet decodeChangeSet(const QByteArray& bytes);      // throws PacketError

// A canonical text for tests and logs: I(...)U(KEY=v: FIELD old->new)D(KEY=v)
QString canonicalText(const ChangeSet& changes, const QStringList& keyFields);

}  // namespace qmv

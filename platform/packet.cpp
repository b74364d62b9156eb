#include "platform/packet.h"

#include "platform/packetvalue.h"

#include <QCborArray>
#include <QCborMap>
#include <QCborStreamWriter>
#include <QSet>
#include <cmath>

namespace qmv {

namespace {

namespace pv = packetvalue;

int indexIn(const QList<FieldDef>& fields, const QString& name)
{
    for (int i = 0; i < fields.size(); ++i)
        if (fields[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

QCborMap fieldToCbor(const FieldDef& field)
{
    QCborMap map;
    map[QLatin1String("name")] = field.name;
    map[QLatin1String("kind")] = pv::kindName(field.kind);
    if (field.size != 0)
        map[QLatin1String("size")] = field.size;
    if (!field.label.isEmpty())
        map[QLatin1String("label")] = field.label;
    if (!field.visible)
        map[QLatin1String("visible")] = false;
    if (field.required)
        map[QLatin1String("required")] = true;
    if (!field.editMask.isEmpty())
        map[QLatin1String("editMask")] = field.editMask;
    if (!field.displayFormat.isEmpty())
        map[QLatin1String("displayFormat")] = field.displayFormat;
    return map;
}

void writeField(QCborStreamWriter& writer, const FieldDef& field)
{
    QCborValue(fieldToCbor(field)).toCbor(writer);
}

QCborArray fieldsToCbor(const QList<FieldDef>& fields)
{
    QCborArray array;
    for (const FieldDef& field : fields)
        array.append(fieldToCbor(field));
    return array;
}

QCborArray rowToCbor(const Row& row)
{
    QCborArray array;
    for (const QVariant& value : row)
        array.append(pv::toCbor(value));
    return array;
}

void writeRow(QCborStreamWriter& writer, const Row& row)
{
    writer.startArray(row.size());
    for (const QVariant& value : row)
        pv::write(writer, value);
    writer.endArray();
}

QString changeKindName(ChangeKind kind)
{
    switch (kind) {
    case ChangeKind::Insert: return QStringLiteral("insert");
    case ChangeKind::Update: return QStringLiteral("update");
    case ChangeKind::Delete: return QStringLiteral("delete");
    }
    return {};
}

FieldDef fieldFromCbor(const QCborValue& value)
{
    if (!value.isMap())
        throw PacketError("packet field is not a map");
    const QCborMap map = value.toMap();
    FieldDef field;
    field.name = map.value(QLatin1String("name")).toString();
    if (field.name.isEmpty())
        throw PacketError("packet field without a name");
    const QCborValue kind = map.value(QLatin1String("kind"));
    if (!kind.isUndefined()) {
        const auto parsed = pv::kindFromName(kind.toString());
        if (!parsed)
            throw PacketError("unknown field kind '" + kind.toString().toStdString() + "'");
        field.kind = *parsed;
    }
    // A width is a whole number; one given as a double (JSON) must be whole and in range before
    // it is converted.
    const QCborValue width = map.value(QLatin1String("size"));
    const double size = width.isInteger() ? double(width.toInteger()) : width.isUndefined() ? 0.0 : width.toDouble(-1);
    if (!(size >= 0 && size <= 1'000'000'000) || size != std::trunc(size))
        throw PacketError("invalid field size");
    field.size = static_cast<int>(size);
    field.label = map.value(QLatin1String("label")).toString();
    field.visible = map.value(QLatin1String("visible")).toBool(true);
    field.required = map.value(QLatin1String("required")).toBool(false);
    field.editMask = map.value(QLatin1String("editMask")).toString();
    field.displayFormat = map.value(QLatin1String("displayFormat")).toString();
    return field;
}

}  // namespace

void packetvalue::writeFields(QCborStreamWriter& writer, const QList<FieldDef>& fields)
{
    writer.startArray(quint64(fields.size()));
    for (const FieldDef& field : fields)
        writeField(writer, field);
    writer.endArray();
}

QList<FieldDef> packetvalue::fieldsFromCbor(const QCborValue& value)
{
    if (!value.isArray())
        throw PacketError("packet has no field list");
    QList<FieldDef> fields;
    QSet<QString> names;
    for (const QCborValue& item : value.toArray()) {
        fields.append(fieldFromCbor(item));
        const QString name = fields.last().name.toUpper();
        if (names.contains(name))
            throw PacketError("duplicate field '" + fields.last().name.toStdString() + "'");
        names.insert(name);
    }
    return fields;
}

namespace {

Row rowFromCbor(const QCborValue& value, const QList<FieldDef>& fields)
{
    if (!value.isArray())
        throw PacketError("packet row is not an array");
    const QCborArray array = value.toArray();
    if (array.size() != fields.size())
        throw PacketError("packet row has " + std::to_string(array.size()) + " values for "
                          + std::to_string(fields.size()) + " fields");
    Row row;
    row.reserve(array.size());
    qsizetype i = 0;
    for (auto it = array.constBegin(); it != array.constEnd(); ++it, ++i) {
        try {
            row.append(pv::normalised(pv::fromCborRef(*it), fields[i].kind));
        } catch (const PacketValueError&) {
            throw;
        } catch (const PacketError& error) {
            throw PacketValueError(fields[i].name, 0, error.what());
        }
    }
    return row;
}

Change changeFromCbor(const QCborValue& value, const QList<FieldDef>& fields)
{
    if (!value.isMap())
        throw PacketError("change is not a map");
    const QCborMap map = value.toMap();
    const QString kind = map.value(QLatin1String("kind")).toString();
    Change change;
    if (kind == QLatin1String("insert"))
        change.kind = ChangeKind::Insert;
    else if (kind == QLatin1String("update"))
        change.kind = ChangeKind::Update;
    else if (kind == QLatin1String("delete"))
        change.kind = ChangeKind::Delete;
    else
        throw PacketError("unknown change kind '" + kind.toStdString() + "'");
    if (change.kind != ChangeKind::Insert)
        change.original = rowFromCbor(map.value(QLatin1String("original")), fields);
    if (change.kind != ChangeKind::Delete)
        change.current = rowFromCbor(map.value(QLatin1String("current")), fields);
    return change;
}

QCborMap requireMap(const QCborValue& value, const char* what)
{
    if (!value.isMap())
        throw PacketError(std::string(what) + " is not a CBOR map");
    return value.toMap();
}

}  // namespace

int DataPacket::indexOf(const QString& fieldName) const { return indexIn(fields, fieldName); }

int ChangeSet::indexOf(const QString& fieldName) const { return indexIn(fields, fieldName); }

QCborValue toCbor(const DataPacket& packet)
{
    QCborArray rows;
    for (const Row& row : packet.rows)
        rows.append(rowToCbor(row));
    QCborMap map;
    map[QLatin1String("fields")] = fieldsToCbor(packet.fields);
    map[QLatin1String("rows")] = rows;
    return map;
}

QCborValue toCbor(const ChangeSet& changes)
{
    QCborArray list;
    for (const Change& change : changes.changes) {
        QCborMap item;
        item[QLatin1String("kind")] = changeKindName(change.kind);
        if (change.kind != ChangeKind::Insert)
            item[QLatin1String("original")] = rowToCbor(change.original);
        if (change.kind != ChangeKind::Delete)
            item[QLatin1String("current")] = rowToCbor(change.current);
        list.append(item);
    }
    QCborMap map;
    map[QLatin1String("fields")] = fieldsToCbor(changes.fields);
    map[QLatin1String("changes")] = list;
    return map;
}

DataPacket packetFromCbor(const QCborValue& value)
{
    const QCborMap map = requireMap(value, "data packet");
    DataPacket packet;
    packet.fields = pv::fieldsFromCbor(map.value(QLatin1String("fields")));
    const QCborValue rows = map.value(QLatin1String("rows"));
    if (!rows.isArray())
        throw PacketError("data packet has no row list");
    const QCborArray array = rows.toArray();
    packet.rows.reserve(array.size());
    for (const QCborValue& row : array) {
        try {
            packet.rows.append(rowFromCbor(row, packet.fields));
        } catch (const PacketValueError& error) {
            throw error.atRow(packet.rows.size() + 1);
        }
    }
    return packet;
}

ChangeSet changeSetFromCbor(const QCborValue& value)
{
    const QCborMap map = requireMap(value, "change set");
    ChangeSet changes;
    changes.fields = pv::fieldsFromCbor(map.value(QLatin1String("fields")));
    const QCborValue list = map.value(QLatin1String("changes"));
    if (!list.isArray())
        throw PacketError("change set has no change list");
    for (const QCborValue& item : list.toArray()) {
        try {
            changes.changes.append(changeFromCbor(item, changes.fields));
        } catch (const PacketValueError& error) {
            throw error.atRow(changes.changes.size() + 1);
        }
    }
    return changes;
}

QByteArray encodePacket(const DataPacket& packet)
{
    QByteArray bytes;
    QCborStreamWriter writer(&bytes);
    writer.startMap(2);
    writer.append(QLatin1String("fields"));
    pv::writeFields(writer, packet.fields);
    writer.append(QLatin1String("rows"));
    writer.startArray(packet.rows.size());
    for (const Row& row : packet.rows)
        writeRow(writer, row);
    writer.endArray();
    writer.endMap();
    return bytes;
}

// The same bytes as toCbor(changes).toCbor(), written without a value tree: a photo in a change set is
// copied once, into the output.
void writeChangeSet(QCborStreamWriter& writer, const ChangeSet& changes)
{
    writer.startMap(2);
    writer.append(QLatin1String("fields"));
    pv::writeFields(writer, changes.fields);
    writer.append(QLatin1String("changes"));
    writer.startArray(quint64(changes.changes.size()));
    for (const Change& change : changes.changes) {
        writer.startMap(change.kind == ChangeKind::Update ? 3 : 2);
        writer.append(QLatin1String("kind"));
        writer.append(changeKindName(change.kind));
        if (change.kind != ChangeKind::Insert) {
            writer.append(QLatin1String("original"));
            writeRow(writer, change.original);
        }
        if (change.kind != ChangeKind::Delete) {
            writer.append(QLatin1String("current"));
            writeRow(writer, change.current);
        }
        writer.endMap();
    }
    writer.endArray();
    writer.endMap();
}

QByteArray encodeChangeSet(const ChangeSet& changes)
{
    QByteArray bytes;
    QCborStreamWriter writer(&bytes);
    writeChangeSet(writer, changes);
    return bytes;
}

}  // namespace qmv

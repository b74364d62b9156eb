// Decoding of packet bytes straight from the CBOR stream: a loaded packet is usually large, and
// reading rows without building a QCborValue tree first keeps loading close to a bare decode.
#include "platform/packet.h"
#include "platform/packetfastpath.h"
#include "platform/packetvalue.h"

#include <QCborStreamReader>
#include <limits>

namespace qmv {

namespace {

namespace pv = packetvalue;

class PacketReader {
public:
    explicit PacketReader(const QByteArray& bytes) : bytes_(bytes), reader_(bytes) {}

    DataPacket readPacket()
    {
        DataPacket packet;
        bool haveFields = false;
        bool haveRows = false;
        bool rowsFirst = false;
        enterMap("data packet");
        while (reader_.hasNext()) {
            const QString key = readKey();
            if (key == QLatin1String("fields")) {
                packet.fields = packetFromFieldList();
                haveFields = true;
            } else if (key == QLatin1String("rows")) {
                packet.rows = readRows(haveFields ? &packet.fields : nullptr);
                haveRows = true;
                rowsFirst = !haveFields;
            } else {
                skip();
            }
        }
        leave();
        finish();
        if (!haveFields)
            throw PacketError("packet has no field list");
        if (!haveRows)
            throw PacketError("data packet has no row list");
        for (Row& row : packet.rows)
            checkRow(row, packet.fields, rowsFirst);
        return packet;
    }

private:
    [[noreturn]] void fail(const std::string& what)
    {
        const QCborError error = reader_.lastError();
        if (error.c != QCborError::NoError)
            throw PacketError("malformed packet: " + error.toString().toStdString());
        throw PacketError(what);
    }

    void check()
    {
        if (reader_.lastError().c != QCborError::NoError)
            fail("malformed packet");
    }

    void enterMap(const char* what)
    {
        if (!reader_.isMap())
            fail(std::string(what) + " is not a CBOR map");
        reader_.enterContainer();
        check();
    }

    void leave()
    {
        if (!reader_.leaveContainer())
            fail("malformed packet");
    }

    void skip()
    {
        if (!reader_.next())
            fail("malformed packet");
    }

    void finish()
    {
        check();
        if (reader_.currentOffset() != bytes_.size())
            throw PacketError("malformed packet: data after the end of the packet");
    }

    QString readKey()
    {
        if (!reader_.isString())
            fail("packet map key is not a text");
        return readText();
    }

    QString readText()
    {
        QString text;
        auto chunk = reader_.readString();
        while (chunk.status == QCborStreamReader::Ok) {
            text += chunk.data;
            chunk = reader_.readString();
        }
        if (chunk.status == QCborStreamReader::Error)
            fail("malformed packet text");
        return text;
    }

    QByteArray readBytes()
    {
        QByteArray data;
        auto chunk = reader_.readByteArray();
        while (chunk.status == QCborStreamReader::Ok) {
            data += chunk.data;
            chunk = reader_.readByteArray();
        }
        if (chunk.status == QCborStreamReader::Error)
            fail("malformed packet bytes");
        return data;
    }

    // The field list is small: it goes through QCborValue so that its checks live in one place.
    QList<FieldDef> packetFromFieldList()
    {
        const QCborValue fields = QCborValue::fromCbor(reader_);
        check();
        return pv::fieldsFromCbor(fields);
    }

    QList<Row> readRows(const QList<FieldDef>* fields)
    {
        if (!reader_.isArray())
            fail("data packet has no row list");
        QList<Row> rows;
        if (reader_.isLengthKnown() && reader_.length() <= quint64(bytes_.size()))
            rows.reserve(qsizetype(reader_.length()));
        reader_.enterContainer();
        check();
        for (rowsRead_ = 0; reader_.hasNext(); ++rowsRead_)
            rows.append(readRow(fields));
        leave();
        return rows;
    }

    Row readRow(const QList<FieldDef>* fields)
    {
        if (!reader_.isArray())
            fail("packet row is not an array");
        Row row;
        if (fields)
            row.reserve(fields->size());
        reader_.enterContainer();
        check();
        while (reader_.hasNext()) {
            QVariant value = readNamedValue(fields, row.size());
            if (fields && row.size() < fields->size())
                value = pv::normalised(std::move(value), (*fields)[row.size()].kind);
            row.append(std::move(value));
        }
        leave();
        return row;
    }

    // A value that cannot be read names its field and row when the field list came first.
    QVariant readNamedValue(const QList<FieldDef>* fields, qsizetype column)
    {
        try {
            return readValue();
        } catch (const PacketValueError& error) {
            if (!fields || column >= fields->size())
                throw PacketError(error.problem());
            throw PacketValueError((*fields)[column].name, rowsRead_ + 1, error.problem());
        }
    }

    QVariant readValue()
    {
        switch (reader_.type()) {
        case QCborStreamReader::String: return readText();
        case QCborStreamReader::ByteArray: return readBytes();
        case QCborStreamReader::UnsignedInteger:
        case QCborStreamReader::NegativeInteger: return readInteger();
        case QCborStreamReader::Float16: return advance(double(reader_.toFloat16()));
        case QCborStreamReader::Float: return advance(double(reader_.toFloat()));
        case QCborStreamReader::Double: return advance(reader_.toDouble());
        case QCborStreamReader::SimpleType: return readSimple();
        case QCborStreamReader::Tag: return readTagged();
        default: fail("unsupported value in packet row");
        }
    }

    QVariant advance(QVariant value)
    {
        skip();
        return value;
    }

    QVariant readInteger()
    {
        if (reader_.isUnsignedInteger()
            && reader_.toUnsignedInteger() > quint64(std::numeric_limits<qint64>::max()))
            fail("integer out of range in packet row");
        if (reader_.isNegativeInteger()
            && quint64(reader_.toNegativeInteger()) > quint64(std::numeric_limits<qint64>::max()) + 1)
            fail("integer out of range in packet row");
        return advance(QVariant::fromValue<qint64>(reader_.toInteger()));
    }

    QVariant readSimple()
    {
        if (reader_.isNull() || reader_.isUndefined())
            return advance(QVariant());
        if (reader_.isBool())
            return advance(reader_.toBool());
        fail("unsupported value in packet row");
    }

    QVariant readTagged()
    {
        const QCborTag tag = reader_.toTag();
        skip();
        if (tag == QCborTag(QCborKnownTags::DateTimeString) && reader_.isString()) {
            const QString text = readText();
            const QDateTime date = pv::dateFromText(text);
            if (!date.isValid())
                throw PacketValueError({}, 0, "invalid date '" + text.left(40).toStdString() + "'");
            return date;
        }
        fail("unsupported value in packet row");
    }

    static void checkRow(Row& row, const QList<FieldDef>& fields, bool normalise)
    {
        if (row.size() != fields.size())
            throw PacketError("packet row has " + std::to_string(row.size()) + " values for "
                              + std::to_string(fields.size()) + " fields");
        if (normalise)
            for (qsizetype i = 0; i < row.size(); ++i)
                row[i] = pv::normalised(std::move(row[i]), fields[i].kind);
    }

    const QByteArray& bytes_;
    QCborStreamReader reader_;
    qsizetype rowsRead_ = 0;
};

}  // namespace

DataPacket decodePacketInFull(const QByteArray& bytes)
{
    if (bytes.isEmpty())
        throw PacketError("empty packet");
    PacketReader reader(bytes);
    return reader.readPacket();
}

DataPacket decodePacket(const QByteArray& bytes)
{
    if (std::optional<DataPacket> packet = bytes.isEmpty() ? std::nullopt : decodeCommonPacket(bytes))
        return std::move(*packet);
    return decodePacketInFull(bytes);
}

ChangeSet decodeChangeSet(const QByteArray& bytes)
{
    QCborParserError error;
    const QCborValue value = QCborValue::fromCbor(bytes, &error);
    if (error.error.c != QCborError::NoError)
        throw PacketError("malformed change set: " + error.errorString().toStdString());
    return changeSetFromCbor(value);
}

}  // namespace qmv

#include "platform/packetfastpath.h"

#include "platform/packetvalue.h"

#include <QStringDecoder>
#include <bit>
#include <cstring>
#include <limits>

namespace qmv {

namespace {

namespace pv = packetvalue;

constexpr quint8 unsignedMajor = 0, negativeMajor = 1, bytesMajor = 2, textMajor = 3, arrayMajor = 4,
                 mapMajor = 5, tagMajor = 6, simpleMajor = 7;
constexpr quint64 indefinite = ~quint64(0);

// Every read checks the bounds; the first fault sets `ok` false and later reads give nothing.
class Scanner {
public:
    explicit Scanner(QByteArrayView bytes)
        : p_(reinterpret_cast<const uchar*>(bytes.data())), end_(p_ + bytes.size()) {}

    bool ok() const { return ok_; }
    bool atEnd() const { return ok_ && p_ == end_; }
    const uchar* position() const { return p_; }
    const char* bytes() const { return reinterpret_cast<const char*>(p_); }
    bool startsWith(QByteArrayView item) const
    {
        return ok_ && end_ - p_ >= item.size() && std::memcmp(p_, item.data(), size_t(item.size())) == 0;
    }
    quint64 remaining() const { return quint64(end_ - p_); }
    void fail() { ok_ = false; }

    // The next item's major type and argument (its length, value, count or a float's bits;
    // `indefinite` for 31), and the head's low five bits.
    bool head(quint8& major, quint64& argument) { return head(major, argument, info_); }
    quint8 info() const { return info_; }

    bool head(quint8& major, quint64& argument, quint8& info)
    {
        if (!ok_ || p_ == end_)
            return ok_ = false;
        major = *p_ >> 5;
        info = *p_++ & 0x1f;
        if (info < 24) {
            argument = info;
            return true;
        }
        if (info == 31 && (major == arrayMajor || major == mapMajor)) {
            argument = indefinite;
            return true;
        }
        if (info > 27)
            return ok_ = false;
        const int size = 1 << (info - 24);
        if (end_ - p_ < size)
            return ok_ = false;
        argument = 0;
        for (int i = 0; i < size; ++i)
            argument = argument << 8 | *p_++;
        return true;
    }

    bool isBreak() const { return ok_ && p_ != end_ && *p_ == 0xff; }
    void skipBreak() { ++p_; }

    // A string's bytes after its head; null when they run past the end.
    const char* take(quint64 length)
    {
        if (!ok_ || quint64(end_ - p_) < length) {
            ok_ = false;
            return nullptr;
        }
        const char* data = reinterpret_cast<const char*>(p_);
        p_ += length;
        return data;
    }

    // Steps over one whole item of definite lengths (the field list).
    void skipItem(int depth = 0)
    {
        quint8 major = 0;
        quint64 argument = 0;
        if (depth > 16 || !head(major, argument) || argument == indefinite)
            return fail();
        if (major == bytesMajor || major == textMajor)
            take(argument);
        else if (major == arrayMajor || major == mapMajor)
            for (quint64 i = 0, n = major == mapMajor ? 2 * argument : argument; ok_ && i < n; ++i)
                skipItem(depth + 1);
        else if (major == tagMajor)
            skipItem(depth + 1);
    }

private:
    const uchar* p_;
    const uchar* end_;
    bool ok_ = true;
    quint8 info_ = 0;
};

bool isAscii(const char* data, qsizetype size)
{
    for (qsizetype i = 0; i < size; ++i)
        if (uchar(data[i]) >= 0x80)
            return false;
    return true;
}

// UTF-8 that the full reader would refuse gives nothing.
std::optional<QString> utf8Text(const char* data, qsizetype size)
{
    if (isAscii(data, size))
        return QString::fromLatin1(data, size);
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(QByteArrayView(data, size));
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

class FastReader {
public:
    explicit FastReader(QByteArrayView bytes) : in_(bytes) {}

    std::optional<DataPacket> read()
    {
        quint8 major = 0;
        quint64 entries = 0;
        if (!in_.head(major, entries) || major != mapMajor || entries != 2)
            return std::nullopt;
        if (!key("fields") || !readFields() || !key("rows") || !readRows() || !in_.atEnd())
            return std::nullopt;
        return std::move(packet_);
    }

private:
    bool key(const char* expected)
    {
        quint8 major = 0;
        quint64 length = 0;
        if (!in_.head(major, length) || major != textMajor || length != std::strlen(expected))
            return false;
        const char* data = in_.take(length);
        return data && std::memcmp(data, expected, length) == 0;
    }

    // The field list is small: it goes through QCborValue so that its checks live in one place.
    bool readFields()
    {
        const auto* start = in_.position();
        in_.skipItem();
        if (!in_.ok())
            return false;
        const QByteArray slice = QByteArray::fromRawData(reinterpret_cast<const char*>(start), in_.position() - start);
        QCborParserError error;
        const QCborValue fields = QCborValue::fromCbor(slice, &error);
        if (error.error != QCborError::NoError)
            return false;
        try {
            packet_.fields = pv::fieldsFromCbor(fields);
        } catch (const PacketError&) {
            return false;
        }
        kinds_.reserve(packet_.fields.size());
        for (const FieldDef& field : packet_.fields)
            kinds_.append(field.kind);
        lastItem_.resize(kinds_.size());
        return true;
    }

    bool readRows()
    {
        quint8 major = 0;
        quint64 count = 0;
        if (!in_.head(major, count) || major != arrayMajor)
            return false;
        if (count != indefinite) {
            if (count > quint64(std::numeric_limits<qsizetype>::max()))
                return false;
            packet_.rows.reserve(qsizetype(std::min<quint64>(count, in_.remaining())));  // a row takes a byte at least
            for (quint64 i = 0; i < count; ++i)
                if (!readRow())
                    return false;
            return true;
        }
        while (!in_.isBreak())
            if (!readRow())
                return false;
        in_.skipBreak();
        return true;
    }

    bool readRow()
    {
        quint8 major = 0;
        quint64 count = 0;
        if (!in_.head(major, count) || major != arrayMajor || count != quint64(kinds_.size()))
            return false;
        Row row(kinds_.size());
        QVariant* cells = row.data();  // filled in place: no temporary per cell
        for (qsizetype column = 0; column < kinds_.size(); ++column)
            if (!repeats(column, cells[column]) && !readCell(column, cells[column]))
                return false;
        packet_.rows.append(std::move(row));
        return true;
    }

    // A text, byte string or date whose bytes are those of the same column in the row before shares
    // that row's value instead of being decoded and allocated again: listings repeat their parents'
    // keys and names in every row.
    bool repeats(qsizetype column, QVariant& value)
    {
        const QByteArrayView last = lastItem_[column];  // empty before the first row
        if (last.size() < 2 || !in_.startsWith(last))
            return false;
        in_.take(quint64(last.size()));
        value = packet_.rows.constLast()[column];
        return true;
    }

    bool readCell(qsizetype column, QVariant& value)
    {
        const FieldKind kind = kinds_[column];
        const char* start = in_.bytes();
        if (!readValue(value))
            return false;
        if ((kind == FieldKind::Float && value.typeId() == QMetaType::LongLong)
            || (kind == FieldKind::Integer && value.typeId() == QMetaType::Double))
            value = pv::normalised(std::move(value), kind);
        const quint8 major = quint8(uchar(*start) >> 5);
        const bool shareable = major == textMajor || major == bytesMajor || major == tagMajor;
        lastItem_[column] = shareable ? QByteArrayView(start, in_.bytes() - start) : QByteArrayView();
        return true;
    }

    bool readValue(QVariant& value)
    {
        quint8 major = 0;
        quint64 argument = 0;
        if (!in_.head(major, argument))
            return false;
        switch (major) {
        case unsignedMajor:
            if (argument > quint64(std::numeric_limits<qint64>::max()))
                return false;
            value = QVariant::fromValue<qint64>(qint64(argument));
            return true;
        case negativeMajor:
            if (argument > quint64(std::numeric_limits<qint64>::max()))
                return false;
            value = QVariant::fromValue<qint64>(-1 - qint64(argument));
            return true;
        case bytesMajor: {
            const char* data = in_.take(argument);
            if (!data)
                return false;
            value = QByteArray(data, qsizetype(argument));
            return true;
        }
        case textMajor: {
            const char* data = in_.take(argument);
            std::optional<QString> text = data ? utf8Text(data, qsizetype(argument)) : std::nullopt;
            if (!text)
                return false;
            value = std::move(*text);
            return true;
        }
        case tagMajor: return argument == 0 && readDate(value);
        case simpleMajor: return readSimple(in_.info(), argument, value);
        default: return false;
        }
    }

    bool readDate(QVariant& value)
    {
        quint8 major = 0;
        quint64 length = 0;
        if (!in_.head(major, length) || major != textMajor || length > 64)
            return false;
        const char* data = in_.take(length);
        if (!data)
            return false;
        const QDateTime date = pv::dateFromAscii(QByteArrayView(data, qsizetype(length)));
        if (!date.isValid())
            return false;
        value = date;
        return true;
    }

    static bool readSimple(quint8 info, quint64 argument, QVariant& value)
    {
        switch (info) {
        case 20: value = false; return true;
        case 21: value = true; return true;
        case 22:
        case 23: value = QVariant(); return true;
        case 26: value = double(std::bit_cast<float>(quint32(argument))); return true;
        case 27: value = std::bit_cast<double>(argument); return true;
        default: return false;  // half floats and one-byte simple values stay with the full reader
        }
    }

    Scanner in_;
    DataPacket packet_;
    QList<FieldKind> kinds_;
    QList<QByteArrayView> lastItem_;  // per column, the bytes of the last value worth sharing
};

}  // namespace

std::optional<DataPacket> decodeCommonPacket(QByteArrayView bytes)
{
    return FastReader(bytes).read();
}

}  // namespace qmv

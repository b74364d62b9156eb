#include "platform/packetwriter.h"

#include "platform/codeunits.h"
#include "platform/packetvalue.h"

#include <QCborStreamWriter>
#include <QDateTime>
#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <tuple>

namespace qmv {

namespace {

constexpr quint8 unsignedMajor = 0, negativeMajor = 1, bytesMajor = 2, textMajor = 3, arrayMajor = 4,
                 tagMajor = 6;

// "yyyy-MM-ddTHH:mm:ss.zzzZ" exactly, with a real calendar day and time.
template <typename Text>
bool canonicalDate(const Text& t)
{
    using codeunits::digits;
    if (t.size() != 24 || t[4] != u'-' || t[7] != u'-' || t[10] != u'T' || t[13] != u':' || t[16] != u':'
        || t[19] != u'.' || t[23] != u'Z' || digits(t, 20, 3) < 0)
        return false;
    const int year = digits(t, 0, 4), hour = digits(t, 11, 2), minute = digits(t, 14, 2), second = digits(t, 17, 2);
    return year >= 0 && QDate::isValid(year, digits(t, 5, 2), digits(t, 8, 2)) && hour >= 0 && hour < 24
           && minute >= 0 && minute < 60 && second >= 0 && second < 60;
}

void putDigits(char16_t* out, int value, int count)
{
    for (int i = count - 1; i >= 0; --i, value /= 10)
        out[i] = char16_t(u'0' + value % 10);
}

}  // namespace

bool isCanonicalDateText(QStringView text)
{
    return canonicalDate(codeunits::Utf16{text});
}

bool isCanonicalDateText(QByteArrayView text)
{
    return canonicalDate(codeunits::Ascii{text});
}

QString canonicalDateText(const QDate& date, const QTime& time)
{
    const int year = date.year();
    if (year < 0 || year > 9999)
        return QDateTime(date, time, Qt::UTC).toString(Qt::ISODateWithMs);
    QString text(24, Qt::Uninitialized);
    char16_t* out = reinterpret_cast<char16_t*>(text.data());
    putDigits(out, year, 4);
    out[4] = u'-';
    putDigits(out + 5, date.month(), 2);
    out[7] = u'-';
    putDigits(out + 8, date.day(), 2);
    out[10] = u'T';
    putDigits(out + 11, time.hour(), 2);
    out[13] = u':';
    putDigits(out + 14, time.minute(), 2);
    out[16] = u':';
    putDigits(out + 17, time.second(), 2);
    out[19] = u'.';
    putDigits(out + 20, time.msec(), 3);
    out[23] = u'Z';
    return text;
}

// Room left in front of the bytes, so that whoever sends them can put a short envelope head
// there (QByteArray::prepend uses it) instead of copying the whole packet behind one.
constexpr qsizetype kFrontRoom = 32;
// Left after a value that outgrows the buffer, so that the small cells and the end mark that follow a
// photo do not move the whole packet again.
constexpr qsizetype kTailRoom = 4096;

namespace {

bool sameField(const FieldDef& a, const FieldDef& b)
{
    return std::tie(a.name, a.kind, a.size, a.label, a.visible, a.required, a.editMask, a.displayFormat)
           == std::tie(b.name, b.kind, b.size, b.label, b.visible, b.required, b.editMask, b.displayFormat);
}

// The map head, the field list and the rows key: small, through the standard encoder.
QByteArray encodedStart(const QList<FieldDef>& fields)
{
    QByteArray start;
    {
        QCborStreamWriter writer(&start);  // done with the array before it is returned
        writer.startMap(2);
        writer.append(QLatin1String("fields"));
        packetvalue::writeFields(writer, fields);
        writer.append(QLatin1String("rows"));
    }
    return start;
}

// A method answers with the same field list on every call: the last few lists' encodings are kept
// per thread, and comparing a list costs less than encoding it again.
const QByteArray& cachedStart(const QList<FieldDef>& fields)
{
    struct Entry {
        QList<FieldDef> fields;
        QByteArray start;
    };
    thread_local std::array<Entry, 16> cache;
    thread_local size_t next = 0;
    for (const Entry& entry : cache)
        if (!entry.start.isEmpty() && std::ranges::equal(entry.fields, fields, sameField))
            return entry.start;
    Entry& entry = cache[next++ % cache.size()];
    entry.fields = fields;
    entry.start = encodedStart(fields);
    return entry.start;
}

}  // namespace

PacketWriter::PacketWriter(const QList<FieldDef>& fields, qsizetype reserveBytes) : fieldCount_(fields.size())
{
    const QByteArray& start = cachedStart(fields);
    out_.resize(reserveBytes + kFrontRoom + start.size() + 1);
    used_ = kFrontRoom;
    put(start.constData(), start.size());
    put(char(0x9f));  // rows: an array of indefinite length
}

char* PacketWriter::room(qsizetype size)
{
    if (out_.size() - used_ < size)
        out_.resize(std::max(2 * out_.size(), used_ + size + kTailRoom));
    char* at = out_.data() + used_;
    used_ += size;
    return at;
}

void PacketWriter::put(char byte)
{
    *room(1) = byte;
}

void PacketWriter::put(const char* data, qsizetype size)
{
    if (size > 0)
        std::memcpy(room(size), data, size_t(size));
}

void PacketWriter::head(quint8 major, quint64 value)
{
    const char first = char(major << 5);
    if (value < 24) {
        put(char(first | char(value)));
    } else if (value <= 0xff) {
        put(char(first | 24));
        put(char(value));
    } else if (value <= 0xffff) {
        const char b[3] = {char(first | 25), char(value >> 8), char(value)};
        put(b, 3);
    } else if (value <= 0xffffffffULL) {
        const char b[5] = {char(first | 26), char(value >> 24), char(value >> 16), char(value >> 8), char(value)};
        put(b, 5);
    } else {
        char b[9] = {char(first | 27)};
        for (int i = 0; i < 8; ++i)
            b[1 + i] = char(value >> (56 - 8 * i));
        put(b, 9);
    }
}

void PacketWriter::beginRow()
{
    head(arrayMajor, quint64(fieldCount_));
}

void PacketWriter::null()
{
    put(char(0xf6));
}

void PacketWriter::text(QStringView value)
{
    const QByteArray utf8 = value.toUtf8();
    head(textMajor, quint64(utf8.size()));
    put(utf8.constData(), utf8.size());
}

void PacketWriter::utf8Text(QByteArrayView value)
{
    head(textMajor, quint64(value.size()));
    put(value.data(), value.size());
}

void PacketWriter::number(double value)
{
    const quint64 bits = std::bit_cast<quint64>(value);
    char b[9] = {char(0xfb)};
    for (int i = 0; i < 8; ++i)
        b[1 + i] = char(bits >> (56 - 8 * i));
    put(b, 9);
}

void PacketWriter::integer(qint64 value)
{
    if (value >= 0)
        head(unsignedMajor, quint64(value));
    else
        head(negativeMajor, quint64(-1 - value));
}

void PacketWriter::bytes(QByteArrayView value)
{
    head(bytesMajor, quint64(value.size()));
    put(value.data(), value.size());
}

void PacketWriter::date(const QDateTime& value)
{
    dateText(canonicalDateText(value.date(), value.time()));
}

void PacketWriter::dateText(QStringView canonical)
{
    head(tagMajor, 0);
    head(textMajor, quint64(canonical.size()));
    char* out = room(canonical.size());
    for (const QChar c : canonical)
        *out++ = char(c.unicode());
}

void PacketWriter::dateText(QByteArrayView canonical)
{
    head(tagMajor, 0);
    utf8Text(canonical);
}

void PacketWriter::value(const QVariant& value)
{
    if (!value.isValid() || value.isNull())
        return null();
    switch (value.typeId()) {
    case QMetaType::QString: return text(value.toString());
    case QMetaType::QByteArray: return bytes(value.toByteArray());
    case QMetaType::Double:
    case QMetaType::Float: return number(value.toDouble());
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Long:
    case QMetaType::Short: return integer(value.toLongLong());
    case QMetaType::QDateTime: return date(value.toDateTime());
    case QMetaType::QDate: return dateText(canonicalDateText(value.toDate(), QTime(0, 0)));
    default: return text(value.toString());
    }
}

QByteArray PacketWriter::finish()
{
    put(char(0xff));
    out_.truncate(used_);
    out_.remove(0, kFrontRoom);  // moves the start of the buffer, not the bytes
    return std::move(out_);
}

}  // namespace qmv

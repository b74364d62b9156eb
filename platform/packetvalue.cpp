#include "platform/packetvalue.h"

#include "platform/blobdigest.h"
#include "platform/codeunits.h"
#include "platform/packetwriter.h"
#include "platform/wallclock.h"

#include <QCborMap>
#include <QDateTime>
#include <array>
#include <cmath>

namespace qmv::packetvalue {

namespace {

using codeunits::Ascii;
using codeunits::digits;
using codeunits::Utf16;

constexpr std::array<std::pair<FieldKind, const char*>, 7> kindNames{{
    {FieldKind::Text, "text"},
    {FieldKind::FixedText, "fixedtext"},
    {FieldKind::Float, "float"},
    {FieldKind::Integer, "integer"},
    {FieldKind::DateTime, "datetime"},
    {FieldKind::Blob, "blob"},
    {FieldKind::Calculated, "calculated"},
}};

// Reads "yyyy-MM-ddTHH:mm:ss[.zzz][Z]" straight from the characters (UTF-16 or ASCII); anything
// else falls back to Qt's parser. Loading a packet parses every date, so the common form must be cheap.
template <typename Text>
QDateTime fastDate(const Text& text)
{
    const auto at = [&text](qsizetype i) { return char16_t(text[i]); };
    if (text.size() < 19 || at(4) != u'-' || at(7) != u'-' || at(10) != u'T' || at(13) != u':' || at(16) != u':')
        return {};
    int ms = 0;
    qsizetype end = 19;
    if (text.size() >= 23 && at(19) == u'.') {
        ms = digits(text, 20, 3);
        end = 23;
    }
    const bool zulu = text.size() == end + 1 && at(end) == u'Z';
    if (ms < 0 || !(zulu || text.size() == end))
        return {};
    // digits() gives -1 for a non-digit, and QDate takes a negative year as a year before Christ.
    const int year = digits(text, 0, 4);
    const QDate date(year, digits(text, 5, 2), digits(text, 8, 2));
    const QTime time(digits(text, 11, 2), digits(text, 14, 2), digits(text, 17, 2), ms);
    if (year < 1 || !date.isValid() || !time.isValid())
        return {};
    return wallClock(date, time);
}

}  // namespace

QString kindName(FieldKind kind)
{
    for (const auto& [k, name] : kindNames)
        if (k == kind)
            return QString::fromLatin1(name);
    return QStringLiteral("text");
}

std::optional<FieldKind> kindFromName(QStringView name)
{
    for (const auto& [k, text] : kindNames)
        if (name == QLatin1String(text))
            return k;
    return std::nullopt;
}

QString dateText(const QDateTime& value)
{
    return canonicalDateText(value.date(), value.time());
}

QDateTime dateFromAscii(QByteArrayView text)
{
    const QDateTime parsed = fastDate(Ascii{text});
    return parsed.isValid() ? parsed : dateFromText(QString::fromUtf8(text));
}

QDateTime dateFromText(QStringView text)
{
    QDateTime parsed = fastDate(Utf16{text});
    if (parsed.isValid())
        return parsed;
    parsed = wallClockFromIso(text);
    // Only the years the wire writes back (four digits) are dates.
    if (!parsed.isValid() || parsed.date().year() < 1 || parsed.date().year() > 9999)
        return {};
    return wallClock(parsed);
}

QCborValue toCbor(const QVariant& value)
{
    if (!value.isValid() || value.isNull())
        return QCborValue(nullptr);
    switch (value.typeId()) {
    case QMetaType::QString: return QCborValue(value.toString());
    case QMetaType::QByteArray: return QCborValue(value.toByteArray());
    case QMetaType::Double:
    case QMetaType::Float: return QCborValue(value.toDouble());
    case QMetaType::Bool: return QCborValue(value.toBool());
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Long:
    case QMetaType::Short: return QCborValue(value.toLongLong());
    case QMetaType::QDateTime:
        return QCborValue(QCborKnownTags::DateTimeString, dateText(value.toDateTime()));
    case QMetaType::QDate:
        return QCborValue(QCborKnownTags::DateTimeString, dateText(wallClock(value.toDate())));
    default:
        if (isBlobDigest(value))
            return digestMap(value.value<BlobDigest>());
        return QCborValue(value.toString());
    }
}

void write(QCborStreamWriter& writer, const QVariant& value)
{
    if (!value.isValid() || value.isNull()) {
        writer.append(nullptr);
        return;
    }
    switch (value.typeId()) {
    case QMetaType::QString: writer.append(value.toString()); return;
    case QMetaType::QByteArray: writer.append(value.toByteArray()); return;
    case QMetaType::Double:
    case QMetaType::Float: {
        // Every NaN as the one a value tree writes, so both encoders give the same bytes.
        const double d = value.toDouble();
        writer.append(std::isnan(d) ? qQNaN() : d);
        return;
    }
    case QMetaType::Bool: writer.append(value.toBool()); return;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Long:
    case QMetaType::Short: writer.append(value.toLongLong()); return;
    case QMetaType::QDateTime:
    case QMetaType::QDate:
        writer.append(QCborKnownTags::DateTimeString);
        writer.append(dateText(value.typeId() == QMetaType::QDate ? wallClock(value.toDate())
                                                                  : value.toDateTime()));
        return;
    default:
        if (isBlobDigest(value))
            return toCbor(value).toCbor(writer);
        writer.append(value.toString());
        return;
    }
}

QVariant fromCbor(const QCborValue& value)
{
    switch (value.type()) {
    case QCborValue::Null:
    case QCborValue::Undefined: return {};
    case QCborValue::String: return value.toString();
    case QCborValue::ByteArray: return value.toByteArray();
    case QCborValue::Integer: return QVariant::fromValue<qint64>(value.toInteger());
    case QCborValue::Double: return value.toDouble();
    case QCborValue::True:
    case QCborValue::False: return value.toBool();
    case QCborValue::DateTime: {
        const QDateTime parsed = dateFromText(value.taggedValue().toString());
        if (!parsed.isValid())
            throw PacketError("invalid date in packet");
        return parsed;
    }
    case QCborValue::Tag:
        // A date text that does not parse stays a tagged value.
        if (value.tag() == QCborTag(QCborKnownTags::DateTimeString))
            throw PacketError("invalid date '" + value.taggedValue().toString().left(40).toStdString() + "'");
        throw PacketError("unsupported value in packet row");
    case QCborValue::Map: {
        const std::optional<BlobDigest> digest = digestFromMap(value.toMap());
        if (!digest)
            throw PacketError("invalid sha256/xxh3 digest in packet row (64 or 32 hex digits)");
        return QVariant::fromValue(*digest);
    }
    default: throw PacketError("unsupported value in packet row");
    }
}

QVariant normalised(QVariant value, FieldKind kind)
{
    if (kind == FieldKind::Float && value.typeId() == QMetaType::LongLong)
        return value.toDouble();
    if (kind == FieldKind::Integer && value.typeId() == QMetaType::Double) {
        const double d = value.toDouble();
        if (std::isfinite(d) && d == std::trunc(d) && std::fabs(d) < 9.0e15)
            return QVariant::fromValue<qint64>(static_cast<qint64>(d));
    }
    return value;
}

}  // namespace qmv::packetvalue

#include "platform/field.h"

#include "platform/dataset.h"
#include "platform/displayformat.h"
#include "platform/editmask.h"
#include "platform/wallclock.h"

#include <QLocale>
#include <cmath>

namespace qmv {

namespace {

bool isNullValue(const QVariant& v) { return !v.isValid() || v.isNull(); }

bool isNumberType(const QVariant& v)
{
    switch (v.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Long:
    case QMetaType::Short: return true;
    default: return false;
    }
}

// Typed numbers follow the locale (a comma in Brazil); a point is accepted too.
std::optional<double> parseNumber(const QString& text)
{
    bool ok = false;
    const QString trimmed = text.trimmed();
    double value = QLocale().toDouble(trimmed, &ok);
    if (!ok)
        value = QLocale::c().toDouble(trimmed, &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

QString numberText(double value)
{
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(value, 'g', 15);
}

// A typed date (and time) read straight into its wall-clock reading: parsed as a local time, a
// midnight that a daylight-saving change skips would move or be refused.
QDate parseDay(const QString& text)
{
    for (const char* format : {"dd/MM/yyyy", "d/M/yyyy", "dd/MM/yy"}) {
        const QDate day = QDate::fromString(text, QLatin1String(format));
        if (day.isValid())
            return QLatin1String(format) == QLatin1String("dd/MM/yy") && day.year() < 1950 ? day.addYears(100) : day;
    }
    return {};
}

QDateTime parseDate(const QString& text)
{
    const QString t = text.trimmed();
    const qsizetype space = t.indexOf(QLatin1Char(' '));
    const QDate day = parseDay(space < 0 ? t : t.left(space));
    if (day.isValid() && space < 0)
        return wallClock(day);
    if (day.isValid())
        for (const char* format : {"HH:mm:ss", "HH:mm"}) {
            const QTime time = QTime::fromString(t.mid(space + 1), QLatin1String(format));
            if (time.isValid())
                return wallClock(day, time);
        }
    return wallClockFromIso(t);
}

// Dates read as numbers count days from 30/12/1899, the time of day as the fraction, so that a
// blank date reads as zero below every set date.
const QDate dayZero(1899, 12, 30);

double dayNumber(const QDateTime& value)
{
    return double(dayZero.daysTo(value.date())) + value.time().msecsSinceStartOfDay() / 86'400'000.0;
}

QDateTime fromDayNumber(double days)
{
    const double whole = std::floor(days);
    const int ms = int(std::llround((days - whole) * 86'400'000.0));
    return wallClock(dayZero.addDays(qint64(whole)), QTime::fromMSecsSinceStartOfDay(std::min(ms, 86'399'999)));
}

QString dateText(const QDateTime& value)
{
    if (value.time() == QTime(0, 0))
        return value.toString(QStringLiteral("dd/MM/yyyy"));
    return value.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"));
}

QString plainText(const QVariant& value)
{
    if (isNullValue(value))
        return {};
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float: return numberText(value.toDouble());
    case QMetaType::QDateTime: return dateText(value.toDateTime());
    case QMetaType::QDate: return dateText(wallClock(value.toDate()));
    case QMetaType::QByteArray: return QString::fromUtf8(value.toByteArray());
    default: return value.toString();
    }
}

[[noreturn]] void notA(const Field& field, const QString& what, const QVariant& value)
{
    throw DataSetError(QStringLiteral("'%1' não é %2 válido para o campo '%3'")
                           .arg(plainText(value), what, field.label()).toStdString());
}

}  // namespace

Field::Field(DataSet& dataSet, FieldDef def, bool declared)
    : dataSet_(dataSet), def_(std::move(def)), declared_(declared)
{
}

QVariant Field::value() const { return dataSet_.readValue(index_); }

bool Field::isNull() const { return isNullValue(value()); }

QVariant Field::oldValue() const { return dataSet_.readOldValue(index_); }

void Field::setValue(const QVariant& value)
{
    if (readOnly_ && dataSet_.state() != DataSetState::CalcFields)
        throw DataSetError(QStringLiteral("o campo '%1' não pode ser modificado").arg(name()).toStdString());
    dataSet_.writeValue(index_, coerced(value));
}

QVariant Field::coerced(const QVariant& value) const
{
    if (isNullValue(value) || (value.typeId() == QMetaType::QString && value.toString().isEmpty()))
        return {};
    const bool text = value.typeId() == QMetaType::QString;
    switch (def_.kind) {
    case FieldKind::Text:
    case FieldKind::FixedText:
    case FieldKind::Calculated: {
        if (def_.kind == FieldKind::Calculated && !text)
            return value;
        QString s = plainText(value);
        if (def_.size > 0 && s.size() > def_.size)
            s.truncate(def_.size);
        return s.isEmpty() ? QVariant() : QVariant(s);
    }
    case FieldKind::Float: {
        const auto number = text ? parseNumber(value.toString()) : std::optional<double>(value.toDouble());
        if (!number || !(text || isNumberType(value)))
            notA(*this, QStringLiteral("um número"), value);
        return *number;
    }
    case FieldKind::Integer: {
        const auto number = text ? parseNumber(value.toString()) : std::optional<double>(value.toDouble());
        if (!number || !(text || isNumberType(value)) || std::fabs(*number) > 9.0e18)
            notA(*this, QStringLiteral("um número inteiro"), value);
        return QVariant::fromValue<qint64>(std::llround(*number));
    }
    case FieldKind::DateTime: {
        QDateTime date = text                                      ? parseDate(value.toString())
                         : isNumberType(value)                     ? fromDayNumber(value.toDouble())
                         : value.typeId() == QMetaType::QDate      ? wallClock(value.toDate())
                                                                   : wallClock(value.toDateTime());
        if (!date.isValid())
            notA(*this, QStringLiteral("uma data"), value);
        return date;
    }
    case FieldKind::Blob:
        return text ? value.toString().toUtf8() : value.toByteArray();
    }
    return value;
}

QString Field::asString() const { return plainText(value()); }

void Field::setAsString(const QString& text) { setValue(text); }

double Field::asFloat() const
{
    const QVariant v = value();
    if (isNullValue(v))
        return 0.0;
    if (isNumberType(v))
        return v.toDouble();
    if (v.typeId() == QMetaType::QDateTime)
        return dayNumber(v.toDateTime());
    if (const auto number = parseNumber(plainText(v)))
        return *number;
    notA(*this, QStringLiteral("um número"), v);
}

std::optional<double> Field::floatValue() const
{
    const QVariant v = value();
    if (isNullValue(v))
        return std::nullopt;
    if (isNumberType(v))
        return v.toDouble();
    if (v.typeId() == QMetaType::QDateTime)
        return dayNumber(v.toDateTime());
    return parseNumber(plainText(v));
}

void Field::setAsFloat(double value) { setValue(value); }

qint64 Field::asInteger() const
{
    const QVariant v = value();
    if (isNullValue(v))
        return 0;
    if (v.typeId() == QMetaType::LongLong || v.typeId() == QMetaType::Int)
        return v.toLongLong();
    return std::llround(asFloat());
}

void Field::setAsInteger(qint64 value) { setValue(QVariant::fromValue(value)); }

QDateTime Field::asDateTime() const
{
    const QVariant v = value();
    if (isNullValue(v))
        return {};
    if (v.typeId() == QMetaType::QDateTime)
        return v.toDateTime();
    if (v.typeId() == QMetaType::QDate)
        return wallClock(v.toDate());
    const QDateTime parsed = parseDate(plainText(v));
    if (!parsed.isValid())
        notA(*this, QStringLiteral("uma data"), v);
    return parsed;
}

void Field::setAsDateTime(const QDateTime& value) { setValue(value.isValid() ? QVariant(value) : QVariant()); }

QByteArray Field::asBytes() const
{
    const QVariant v = value();
    return v.typeId() == QMetaType::QByteArray ? v.toByteArray() : plainText(v).toUtf8();
}

void Field::setAsBytes(const QByteArray& bytes) { setValue(bytes.isNull() ? QVariant() : QVariant(bytes)); }

QString Field::formatted(const QVariant& value) const
{
    if (isNullValue(value))
        return {};
    if (!def_.displayFormat.isEmpty() && isNumberType(value))
        return formatNumber(value.toDouble(), def_.displayFormat);
    if (!def_.displayFormat.isEmpty() && value.typeId() == QMetaType::QDateTime)
        return formatDateTime(value.toDateTime(), def_.displayFormat);
    if (!def_.editMask.isEmpty() && value.typeId() == QMetaType::QString)
        return EditMask(def_.editMask).format(value.toString());
    return plainText(value);
}

QString Field::displayText() const
{
    QString text = formatted(value());
    if (onGetText)
        onGetText(const_cast<Field&>(*this), text, true);
    return text;
}

QString Field::editText() const
{
    QString text = asString();
    if (onGetText)
        onGetText(const_cast<Field&>(*this), text, false);
    return text;
}

void Field::setText(const QString& text)
{
    if (onSetText)
        onSetText(*this, text);
    else
        setAsString(text);
}

QVariant Field::valueAt(int row) const { return dataSet_.readValueAt(row, index_); }

QString Field::displayTextAt(int row) const
{
    return dataSet_.readWithRowCurrent(row, [this] { return displayText(); });
}

}  // namespace qmv

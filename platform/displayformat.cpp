#include "platform/displayformat.h"

#include <QStringList>
#include <cmath>

namespace qmv {

namespace {

struct NumberSection {
    QString prefix, suffix;
    int minInt = 0;
    int minDec = 0;
    int maxDec = 0;
    bool grouping = false;
    bool empty = true;  // no digit placeholder at all: shown as written
};

// Splits "pos;neg;zero" at semicolons outside quotes.
QStringList sections(const QString& format)
{
    QStringList parts{QString()};
    QChar quote;
    for (const QChar c : format) {
        if (!quote.isNull()) {
            quote = c == quote ? QChar() : quote;
        } else if (c == '\'' || c == '"') {
            quote = c;
        } else if (c == ';') {
            parts.append(QString());
            continue;
        }
        parts.last() += c;
    }
    return parts;
}

NumberSection parseSection(const QString& text)
{
    NumberSection s;
    bool inDecimals = false;
    bool seenDigit = false;
    QChar quote;
    for (const QChar c : text) {
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
            else
                (seenDigit ? s.suffix : s.prefix) += c;
            continue;
        }
        if (c == '\'' || c == '"') {
            quote = c;
        } else if (c == '0' || c == '#') {
            s.empty = false;
            seenDigit = true;
            if (!s.suffix.isEmpty()) {
                continue;  // placeholders after literal text are not supported: ignored
            } else if (inDecimals) {
                ++s.maxDec;
                s.minDec += c == '0' ? 1 : 0;
            } else if (c == '0') {
                ++s.minInt;
            }
        } else if (c == '.' && !inDecimals && s.suffix.isEmpty()) {
            inDecimals = true;
            seenDigit = true;
        } else if (c == ',' && seenDigit && !inDecimals && s.suffix.isEmpty()) {
            s.grouping = true;
        } else {
            (seenDigit ? s.suffix : s.prefix) += c;
        }
    }
    return s;
}

QString digitsOf(double magnitude, const NumberSection& s, const QLocale& locale)
{
    QString text = QString::number(magnitude, 'f', s.maxDec);
    QString integer = text.section('.', 0, 0);
    QString decimals = text.section('.', 1);
    while (decimals.size() > s.minDec && decimals.endsWith('0'))
        decimals.chop(1);
    if (integer == QLatin1String("0") && s.minInt == 0)
        integer.clear();
    while (integer.size() < s.minInt)
        integer.prepend('0');
    if (s.grouping)
        for (qsizetype i = integer.size() - 3; i > 0; i -= 3)
            integer.insert(i, locale.groupSeparator());
    return decimals.isEmpty() ? integer : integer + locale.decimalPoint() + decimals;
}

}  // namespace

QString formatNumber(double value, const QString& format, const QLocale& locale)
{
    if (format.isEmpty() || !std::isfinite(value))
        return locale.toString(value, 'g', 15);
    const QStringList parts = sections(format);
    const NumberSection positive = parseSection(parts[0]);
    const double rounded = std::round(std::fabs(value) * std::pow(10.0, positive.maxDec)) / std::pow(10.0, positive.maxDec);
    if (rounded == 0.0 && parts.size() > 2) {
        const NumberSection zero = parseSection(parts[2]);
        return zero.prefix + (zero.empty ? QString() : digitsOf(0.0, zero, locale)) + zero.suffix;
    }
    const bool negative = value < 0 && rounded != 0.0;
    const NumberSection& s = negative && parts.size() > 1 ? parseSection(parts[1]) : positive;
    if (s.empty)
        return s.prefix + s.suffix;
    const double magnitude = s.maxDec == positive.maxDec ? rounded : std::fabs(value);
    QString sign = negative && parts.size() < 2 ? QString(locale.negativeSign()) : QString();
    return sign + s.prefix + digitsOf(magnitude, s, locale) + s.suffix;
}

QString formatDateTime(const QDateTime& value, const QString& format, const QLocale& locale)
{
    if (!value.isValid())
        return {};
    QString qt;
    bool afterHour = false;
    for (qsizetype i = 0; i < format.size();) {
        const QChar c = format[i];
        qsizetype run = 1;
        while (i + run < format.size() && format[i + run].toLower() == c.toLower())
            ++run;
        const QChar lower = c.toLower();
        if (c == '\'' || c == '"') {
            const qsizetype close = format.indexOf(c, i + 1);
            const QString literal = format.mid(i + 1, (close < 0 ? format.size() : close) - i - 1);
            qt += '\'' + QString(literal).replace('\'', QLatin1String("''")) + '\'';
            i = close < 0 ? format.size() : close + 1;
            continue;
        }
        if (lower == 'd') {
            qt += QString(std::min<qsizetype>(run, 4), 'd');
        } else if (lower == 'm') {
            qt += afterHour && run <= 2 ? QString(run, 'm') : QString(std::min<qsizetype>(run, 4), 'M');
        } else if (lower == 'y') {
            qt += run <= 2 ? QStringLiteral("yy") : QStringLiteral("yyyy");
        } else if (lower == 'h') {
            qt += QString(std::min<qsizetype>(run, 2), 'h');
        } else if (lower == 'n') {
            qt += QString(std::min<qsizetype>(run, 2), 'm');
        } else if (lower == 's') {
            qt += QString(std::min<qsizetype>(run, 2), 's');
        } else if (lower == 'z') {
            qt += run >= 3 ? QStringLiteral("zzz") : QStringLiteral("z");
        } else {
            qt += '\'' + QString(run, c).replace('\'', QLatin1String("''")) + '\'';
        }
        if (lower != ':' && lower != ' ')
            afterHour = lower == 'h';
        i += run;
    }
    return locale.toString(value, qt);
}

}  // namespace qmv

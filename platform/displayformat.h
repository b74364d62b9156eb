#pragma once
// Display formats in the module's notation. Numbers: "0" a required digit, "#" an optional one,
// "." the locale's decimal separator, "," grouping, quoted text and any other character shown as
// written ("%" is a plain character: no scaling by 100); sections "positive;negative;zero".
// Dates: d dd ddd dddd, m mm mmm mmmm (minutes right after an hour), yy yyyy, h hh, n nn, s ss,
// z zzz. Pure functions; any thread.
#include <QDateTime>
#include <QLocale>
#include <QString>

namespace qmv {

// "#####0%" of 12.6 is "13%"; "0.000" of 1.5 is "1.500" (with the locale's separator).
QString formatNumber(double value, const QString& format, const QLocale& locale = QLocale());

// "dd/mm/yyyy" of 2026-03-10 is "10/03/2026"; "hh:nn" of 14:05 is "14:05".
QString formatDateTime(const QDateTime& value, const QString& format, const QLocale& locale = QLocale());

}  // namespace qmv

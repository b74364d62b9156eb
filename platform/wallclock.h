#pragma once
// Dates in this system are wall-clock readings with no zone (the kitchen's calendar): a reading is
// held as a UTC QDateTime so that no local-time rule shifts it (a midnight that a daylight-saving
// change skips) and no zone database is consulted for each one (Qt asks the C library's mktime,
// which looks at /etc/localtime, for every local QDateTime it builds). Plain functions, any thread.
#include <QDateTime>

namespace qmv {

inline QDateTime wallClock(QDate date, QTime time = QTime(0, 0))
{
    return QDateTime(date, time, Qt::UTC);
}

// The same reading, relabelled: a local 10/03/2026 00:00 becomes 10/03/2026 00:00 UTC.
inline QDateTime wallClock(const QDateTime& reading)
{
    if (!reading.isValid() || reading.timeSpec() == Qt::UTC)
        return reading;
    return QDateTime(reading.date(), reading.time(), Qt::UTC);
}

// An ISO 8601 text ("2026-03-10", "2026-03-10T14:30:00.000", with or without a zone) as the
// reading it states; invalid when it is not one.
QDateTime wallClockFromIso(QStringView text);

}  // namespace qmv

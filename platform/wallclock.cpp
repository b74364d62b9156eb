#include "platform/wallclock.h"

namespace qmv {

QDateTime wallClockFromIso(QStringView text)
{
    if (text.size() == 10) {
        const QDate day = QDate::fromString(text, Qt::ISODate);
        return day.isValid() ? wallClock(day) : QDateTime();
    }
    // Without a zone Qt would read the text in local time, where a skipped midnight moves.
    const QDateTime utc = QDateTime::fromString(text.toString() + u'Z', Qt::ISODateWithMs);
    if (utc.isValid())
        return utc;
    return wallClock(QDateTime::fromString(text.toString(), Qt::ISODateWithMs));
}

}  // namespace qmv

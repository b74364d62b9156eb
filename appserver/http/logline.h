#pragma once
// One line of the server's call log: a UTC time stamp, then text in which control characters are
// escaped (a caller cannot forge a line with an encoded line break in a method name), written to
// standard error with one write() so that lines from several workers never interleave and no
// lock is taken. Any thread.
#include <QString>

namespace qmv::appserver {

// "\n" becomes the two characters \n, other control characters \xNN; backslashes are doubled.
QString escapedForLog(QStringView text);

// The current time in UTC, "2026-03-10T14:05:09.123Z".
QString utcTimestamp();

void writeLogLine(const QString& line);

}  // namespace qmv::appserver

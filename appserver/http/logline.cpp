#include "appserver/http/logline.h"

#include <cstdio>
#include <ctime>
#include <unistd.h>

namespace qmv::appserver {

QString escapedForLog(QStringView text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == u'\\') {
            out += u"\\\\";
        } else if (u == u'\n') {
            out += u"\\n";
        } else if (u == u'\r') {
            out += u"\\r";
        } else if (u == u'\t') {
            out += u"\\t";
        } else if (u < 0x20 || u == 0x7f || (u >= 0x80 && u < 0xa0) || u == 0x2028 || u == 0x2029) {
            char hex[8];
            std::snprintf(hex, sizeof hex, u < 0x100 ? "\\x%02x" : "\\u%04x", unsigned(u));
            out += QLatin1StringView(hex);
        } else {
            out += c;
        }
    }
    return out;
}

QString utcTimestamp()
{
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    tm parts{};
    ::gmtime_r(&now.tv_sec, &parts);
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d.%03ldZ", parts.tm_year + 1900,
                  parts.tm_mon + 1, parts.tm_mday, parts.tm_hour, parts.tm_min, parts.tm_sec,
                  now.tv_nsec / 1'000'000);
    return QString::fromLatin1(text);
}

void writeLogLine(const QString& line)
{
    const QByteArray bytes = line.toUtf8() + '\n';
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(STDERR_FILENO, bytes.constData() + done, size_t(bytes.size() - done));
        if (n <= 0)
            return;
        done += n;
    }
}

}  // namespace qmv::appserver

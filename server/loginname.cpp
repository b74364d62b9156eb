#include "server/loginname.h"

#include <pwd.h>
#include <unistd.h>

namespace qmv {

QString loginName()
{
    if (const passwd* entry = getpwuid(geteuid()); entry && entry->pw_name)
        return QString::fromLocal8Bit(entry->pw_name);
    return qEnvironmentVariable("USER");
}

QByteArray userHeaderValue()
{
    static const QByteArray value = loginName().toUtf8().toPercentEncoding();
    return value;
}

}  // namespace qmv

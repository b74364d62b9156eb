#include "platform/wire.h"

#include <arpa/inet.h>

namespace qmv::wire {

QByteArrayView successHead()
{
    static const char head[] = "\xa2\x62ok\xf5\x66result";
    return QByteArrayView(head, sizeof head - 1);
}

bool onlyReads(QStringView method)
{
    return method.startsWith(u"Get");
}

bool isLoopback(const QString& address)
{
    const QString trimmed = address.trimmed();
    if (trimmed.compare(u"localhost", Qt::CaseInsensitive) == 0)
        return true;
    const std::string text = trimmed.toStdString();
    in_addr v4{};
    if (inet_pton(AF_INET, text.c_str(), &v4) == 1)
        return (ntohl(v4.s_addr) >> 24) == 127;
    in6_addr v6{};
    if (inet_pton(AF_INET6, text.c_str(), &v6) == 1)
        return IN6_IS_ADDR_LOOPBACK(&v6) || (IN6_IS_ADDR_V4MAPPED(&v6) && v6.s6_addr[12] == 127);
    return false;
}

}  // namespace qmv::wire

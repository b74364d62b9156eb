#include "appserver/exposure.h"

#include <arpa/inet.h>

#include <stdexcept>

namespace qmv::appserver {

bool isLoopback(const QString& address)
{
    const std::string text = address.trimmed().toStdString();
    if (text == "localhost")
        return true;
    in_addr v4{};
    if (inet_pton(AF_INET, text.c_str(), &v4) == 1)
        return (ntohl(v4.s_addr) >> 24) == 127;
    in6_addr v6{};
    if (inet_pton(AF_INET6, text.c_str(), &v6) == 1) {
        if (IN6_IS_ADDR_LOOPBACK(&v6))
            return true;
        return IN6_IS_ADDR_V4MAPPED(&v6) && v6.s6_addr[12] == 127;
    }
    return false;
}

void requireSafeExposure(const ServerOptions& options)
{
    if (isLoopback(options.listen))
        return;
    std::string missing;
    if (!options.channels)
        missing = "TLS (--tls-cert and --tls-key)";
    if (!options.authorize)
        missing += std::string(missing.empty() ? "" : " and ") + "an access-key file (--access-keys)";
    if (!missing.empty())
        throw std::runtime_error("refusing to listen on " + options.listen.toStdString() + " without " + missing
                                 + ": only loopback (127.0.0.1, ::1) may be served without them");
}

}  // namespace qmv::appserver

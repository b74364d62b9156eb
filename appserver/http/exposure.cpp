#include "appserver/http/exposure.h"

#include "platform/wire.h"

#include <stdexcept>

namespace qmv::appserver {

void requireSafeExposure(const ServerOptions& options)
{
    if (wire::isLoopback(options.listen))
        return;
    std::string missing;
    if (!options.tls)
        missing = "TLS (--tls-cert and --tls-key)";
    if (!options.authorize)
        missing += std::string(missing.empty() ? "" : " and ") + "an access-key file (--access-keys)";
    if (!missing.empty())
        throw std::runtime_error("refusing to listen on " + options.listen.toStdString() + " without " + missing
                                 + ": only loopback (127.0.0.1, ::1) may be served without them");
}

bool mayReadMetrics(const std::string& peer, const std::string& accessKey, const MetricsCheck& readsMetrics)
{
    return wire::isLoopback(QString::fromStdString(peer)) || (readsMetrics && readsMetrics(accessKey));
}

}  // namespace qmv::appserver

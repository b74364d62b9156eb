#pragma once
// When a server may listen where other machines reach it (only on loopback, or with TLS and
// access keys in force), and who may read its metrics. Plain functions, any thread.
#include "appserver/appserver.h"

#include <QString>

namespace qmv::appserver {

// Throws std::runtime_error explaining the refusal when `options` would listen off loopback
// without TLS and access keys (authorize).
void requireSafeExposure(const ServerOptions& options);

// GET /metrics is served to this machine freely, and to another only with a key marked for
// metrics (`readsMetrics` empty: to no other machine).
bool mayReadMetrics(const std::string& peer, const std::string& accessKey, const MetricsCheck& readsMetrics);

}  // namespace qmv::appserver

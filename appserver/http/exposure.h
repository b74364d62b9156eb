#pragma once
// When a server may listen where other machines reach it: only on loopback, or with TLS and
// access keys in force. Plain functions, any thread.
#include "appserver/appserver.h"

#include <QString>

namespace qmv::appserver {

// Throws std::runtime_error explaining the refusal when `options` would listen off loopback
// without TLS and access keys (authorize).
void requireSafeExposure(const ServerOptions& options);

}  // namespace qmv::appserver

#pragma once
// How the connection reaches the application server: open an endpoint, call a method of a server object
// with positional arguments (one CBOR array), close. Every failure comes back as a RemoteResult with ok false and a
// message for the user; a transport never throws. Synchronous; one thread at a time.
#include <QString>
#include <chrono>

#include "platform/remoteresult.h"
#include "server/callarguments.h"

namespace qmv {

class Transport {
public:
    virtual ~Transport() = default;

    // Checks that a server answers at host:port within the timeout and keeps the endpoint for calls.
    virtual RemoteResult open(const QString& host, int port, std::chrono::milliseconds timeout) = 0;
    virtual void close() = 0;
    virtual RemoteResult call(const QString& serverName, const QString& method,
                              const CallArguments& args, std::chrono::milliseconds timeout) = 0;
};

}  // namespace qmv

#pragma once
// Kept-alive connections, each sending its next call as soon as its last answer is in, driven by a
// few threads through epoll as load generators do: a thread per connection would spend, on its own
// wake-ups, the cores that the server under test shares with it.
#include "loadrun.h"

#include <string>

namespace qmv::bench {

// `connections` split over `threads` threads for `seconds`; calls still waiting at the end count as
// unfinished, with the time they waited.
void callOnKeptAliveConnections(Run& run, int port, const std::string& request, int connections, int threads,
                                int seconds);

int connectTo(int port);  // loopback only; -1 when refused

}  // namespace qmv::bench

#pragma once
// What the client and the server must agree on beyond the packet itself, written once for both:
// the head of a success envelope, which methods only read, how long a kept-alive connection may
// stay idle, and which addresses are this machine (a server elsewhere needs TLS and access keys).
// Plain values and functions; any thread.
#include <QByteArrayView>
#include <QString>

#include <chrono>

namespace qmv::wire {

// {"ok": true, "result": ...} in CBOR: a map of two pairs whose result comes last, so the server
// writes a result's bytes after this head and the client takes them after it, neither walking them.
QByteArrayView successHead();

// Only Get... methods read; every other method writes. A write is never sent twice, and needs an
// access key that may write.
bool onlyReads(QStringView method);

// The server closes a kept-alive connection idle this long.
inline constexpr std::chrono::seconds serverIdleTimeout{60};
// The client does not reuse one idle for half that, so a request never crosses the server's close.
inline constexpr std::chrono::seconds clientIdleReuse{serverIdleTimeout / 2};

// True for 127.0.0.0/8, ::1 (and its IPv4-mapped form) and "localhost".
bool isLoopback(const QString& address);

}  // namespace qmv::wire

#pragma once
// A large object of a change set's original row sent as the SHA-256 of its bytes instead of the
// bytes: the server compares it with the digest of what it stores, so a replaced photo travels
// once. On the wire {"sha256": "<64 hex digits>"}. Plain values, any thread.
#include "platform/packet.h"

#include <QMetaType>

namespace qmv {

struct BlobDigest {
    QByteArray sha256;  // 32 bytes
    friend bool operator==(const BlobDigest&, const BlobDigest&) = default;
};

// The same change set with every original large object of at least `minBytes` replaced by its
// digest.
ChangeSet withOriginalDigests(const ChangeSet& changes, qsizetype minBytes = 1024);

bool isBlobDigest(const QVariant& value);
QByteArray sha256Of(const QByteArray& bytes);

}  // namespace qmv

Q_DECLARE_METATYPE(qmv::BlobDigest)

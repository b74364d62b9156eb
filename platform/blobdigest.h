#pragma once
// A large object of a change set's original row sent as a digest of its bytes instead of the
// bytes: the server compares it with the same digest of what it stores, so a replaced photo
// travels once. On the wire {"xxh3": "<32 hex digits>"} (XXH3, 128 bits: what this client sends)
// or {"sha256": "<64 hex digits>"} (what earlier clients sent; still compared). Plain values, any
// thread.
#include "platform/packet.h"

#include <QCborMap>
#include <QMetaType>
#include <optional>

namespace qmv {

struct BlobDigest {
    enum class Kind { Xxh3, Sha256 };
    Kind kind = Kind::Xxh3;
    QByteArray value;  // 16 bytes (XXH3) or 32 (SHA-256)
    friend bool operator==(const BlobDigest&, const BlobDigest&) = default;
};

BlobDigest digestOf(const QByteArray& bytes, BlobDigest::Kind kind = BlobDigest::Kind::Xxh3);

// The same change set with every original large object of at least `minBytes` replaced by its
// digest.
ChangeSet withOriginalDigests(const ChangeSet& changes, qsizetype minBytes = 1024);

bool isBlobDigest(const QVariant& value);

// The wire form, and back: nothing when the map is not exactly one well-formed digest.
QCborMap digestMap(const BlobDigest& digest);
std::optional<BlobDigest> digestFromMap(const QCborMap& map);

}  // namespace qmv

Q_DECLARE_METATYPE(qmv::BlobDigest)

#include "platform/blobdigest.h"

#include <QCryptographicHash>
#include <openssl/evp.h>
#include <xxhash.h>
#if defined(__x86_64__)
#include <xxh_x86dispatch.h>
#endif

namespace qmv {

namespace {

struct DigestForm {
    BlobDigest::Kind kind;
    QLatin1StringView key;
    qsizetype bytes;
};

constexpr DigestForm forms[] = {{BlobDigest::Kind::Xxh3, QLatin1StringView("xxh3"), 16},
                                {BlobDigest::Kind::Sha256, QLatin1StringView("sha256"), 32}};

const DigestForm& formOf(BlobDigest::Kind kind)
{
    return kind == BlobDigest::Kind::Xxh3 ? forms[0] : forms[1];
}

// OpenSSL's digest uses the processor's SHA instructions where it has them.
QByteArray sha256Of(const QByteArray& bytes)
{
    QByteArray digest(32, Qt::Uninitialized);
    unsigned int size = 0;
    if (!EVP_Digest(bytes.constData(), size_t(bytes.size()), reinterpret_cast<unsigned char*>(digest.data()), &size,
                    EVP_sha256(), nullptr)
        || size != 32)
        return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
    return digest;
}

// XXH3 tells a changed photo from the one read (nobody forges a photo to collide with another:
// whoever could would overwrite it anyway) at a small part of SHA-256's cost, on both sides.
QByteArray xxh3Of(const QByteArray& bytes)
{
    XXH128_canonical_t canonical;
#if defined(__x86_64__)
    // The library's dispatcher takes the widest vectors the processor has (twice SSE2's speed on
    // AVX2); the digest is the same.
    const XXH128_hash_t hash = XXH3_128bits_dispatch(bytes.constData(), size_t(bytes.size()));
#else
    const XXH128_hash_t hash = XXH3_128bits(bytes.constData(), size_t(bytes.size()));
#endif
    XXH128_canonicalFromHash(&canonical, hash);
    return QByteArray(reinterpret_cast<const char*>(canonical.digest), sizeof canonical.digest);
}

}  // namespace

BlobDigest digestOf(const QByteArray& bytes, BlobDigest::Kind kind)
{
    return BlobDigest{kind, kind == BlobDigest::Kind::Xxh3 ? xxh3Of(bytes) : sha256Of(bytes)};
}

bool isBlobDigest(const QVariant& value)
{
    return value.metaType() == QMetaType::fromType<BlobDigest>();
}

ChangeSet withOriginalDigests(const ChangeSet& changes, qsizetype minBytes)
{
    ChangeSet out = changes;
    for (Change& change : out.changes)
        for (qsizetype i = 0; i < change.original.size() && i < out.fields.size(); ++i) {
            const QVariant& value = change.original[i];
            if (out.fields[i].kind == FieldKind::Blob && value.typeId() == QMetaType::QByteArray
                && value.toByteArray().size() >= minBytes)
                change.original[i] = QVariant::fromValue(digestOf(value.toByteArray()));
        }
    return out;
}

QCborMap digestMap(const BlobDigest& digest)
{
    return QCborMap{{QString(formOf(digest.kind).key), QString::fromLatin1(digest.value.toHex())}};
}

std::optional<BlobDigest> digestFromMap(const QCborMap& map)
{
    if (map.size() != 1)
        return std::nullopt;
    for (const DigestForm& form : forms) {
        const QByteArray hex = map.value(form.key).toString().toLatin1();
        const QByteArray value = QByteArray::fromHex(hex);
        if (hex.size() == 2 * form.bytes && value.toHex() == hex.toLower())
            return BlobDigest{form.kind, value};
    }
    return std::nullopt;
}

}  // namespace qmv

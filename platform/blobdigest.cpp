#include "platform/blobdigest.h"

#include <QCryptographicHash>
#include <openssl/evp.h>

namespace qmv {

// OpenSSL's digest uses the processor's SHA instructions where it has them: several times faster
// than QCryptographicHash on a photo, which is hashed on both sides of every write.
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
                change.original[i] = QVariant::fromValue(BlobDigest{sha256Of(value.toByteArray())});
        }
    return out;
}

}  // namespace qmv

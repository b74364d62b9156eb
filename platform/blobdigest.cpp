#include "platform/blobdigest.h"

#include <QCryptographicHash>

namespace qmv {

QByteArray sha256Of(const QByteArray& bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
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

#pragma once
// The history of one writing call: a batch, and one entry per changed row with the row before and
// after, written on the call's connection inside the call's own transaction (the write scope owns
// it), so a write that rolls back leaves no entry. Large values are kept once per content digest.
// Connection's thread only.
#include "appserver/history/historytables.h"
#include "platform/blobdigest.h"

#include <QHash>
#include <optional>

namespace qmv::appserver {

struct MethodContext;

// A row as stored, in its table's column order with packet kinds; nothing when the row is absent.
using RowImage = std::optional<Row>;
// The same row with its values as the database returns them (what a write's conditions compare with).
using StoredRow = std::optional<QVariantList>;

// What a write already knows of the large value, so that recording it neither reads the value back
// nor digests it again; empty members are unknown.
struct KnownContent {
    std::optional<BlobDigest> before;  // the XXH3 digest of the "before" image's large value
    QByteArray after;                  // the large value the write has just stored
};

class HistoryRecorder {
public:
    explicit HistoryRecorder(MethodContext& context);

    // The row at `key` as stored now; on PostgreSQL the row stays locked until the transaction ends,
    // so what is recorded as "before" is what the write changes.
    RowImage read(const HistoryTable& table, const QVariantList& key) const;
    // Records the row at `key` going from `before` to what it holds now. No entry when nothing changed.
    void record(const HistoryTable& table, const QVariantList& key, const RowImage& before,
                const KnownContent& known = {});
    // The destination service and a description of an import, kept with the batch.
    void describeImport(const QVariantList& service, const QString& description);

    const QString& batch() const { return batch_; }

private:
    void startBatch();
    RowImage readAfter(const HistoryTable& table, const QVariantList& key, const QByteArray& stored) const;
    QVariantList serviceOf(const HistoryTable& table, const RowImage& image);
    QByteArray packetOf(const HistoryTable& table, const RowImage& image, const std::optional<BlobDigest>& known,
                        QVariant& content);
    // Keeps `bytes` under `digest` (32 hex digits of their XXH3, 128 bits) once.
    void keep(const QByteArray& bytes, const QString& digest);

    MethodContext& context_;
    QString batch_;
    int entries_ = 0;
    QVariantList importService_;
    QString description_;
    QHash<QString, QVariantList> services_;  // by CDESPEPRODSG
};

// Reads a kept image back, with its large value fetched from the contents; nothing for an absent side.
RowImage imageFromPacket(MethodContext& context, const HistoryTable& table, const QByteArray& bytes);
// Reads the row at `key` (locking it on PostgreSQL).
RowImage readRow(MethodContext& context, const HistoryTable& table, const QVariantList& key);
// The same read with the values as stored; `withBlob` false leaves the large value null.
StoredRow readStoredRow(MethodContext& context, const HistoryTable& table, const QVariantList& key,
                        bool withBlob = true);
// A stored row in packet kinds.
RowImage imageOf(const HistoryTable& table, const StoredRow& stored);

}  // namespace qmv::appserver

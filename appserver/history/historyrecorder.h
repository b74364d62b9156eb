#pragma once
// The history of one writing call: a batch, and one entry per changed row with the row before and
// after, written on the call's connection inside the call's own transaction (the write scope owns
// it), so a write that rolls back leaves no entry. Large values are kept once per content digest.
// Connection's thread only.
#include "appserver/history/historytables.h"

#include <QHash>
#include <optional>

namespace qmv::appserver {

struct MethodContext;

// A row as stored, in its table's column order with packet kinds; nothing when the row is absent.
using RowImage = std::optional<Row>;

class HistoryRecorder {
public:
    explicit HistoryRecorder(MethodContext& context);

    // The row at `key` as stored now; on PostgreSQL the row stays locked until the transaction ends,
    // so what is recorded as "before" is what the write changes.
    RowImage read(const HistoryTable& table, const QVariantList& key) const;
    // Records the row at `key` going from `before` to what it holds now. No entry when nothing changed.
    void record(const HistoryTable& table, const QVariantList& key, const RowImage& before);
    // The destination service and a description of an import, kept with the batch.
    void describeImport(const QVariantList& service, const QString& description);

    const QString& batch() const { return batch_; }

private:
    void startBatch();
    QVariantList serviceOf(const HistoryTable& table, const RowImage& image);
    QByteArray packetOf(const HistoryTable& table, const RowImage& image, QVariant& content);
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

}  // namespace qmv::appserver

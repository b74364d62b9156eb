#pragma once
// Applies a dataset's change set to one table: a visitor replays the inserts, updates and deletes
// in order inside one transaction, refusing the whole set when a row changed or vanished on the
// server since the client read it (no update is silently lost). Connection's thread only.
#include "appserver/methods/methodcontext.h"
#include "platform/packet.h"

#include <functional>

namespace qmv::appserver {

struct TableLayout {
    QString table;
    QString what;               // how messages name a row, e.g. "o sub-grupo"
    QList<FieldDef> keys;       // fields that identify a row; columns of the same name
    QList<FieldDef> stored;     // fields written to columns of the same name
    QStringList derived;        // shown in the dataset but derived by the server: changes ignored
    QString refuseInsert;       // message when inserts are not allowed; empty allows them
    QString refuseDelete;       // message when deletes are not allowed; empty allows them
    qsizetype blobLimit = 0;    // large objects of this many bytes or more are refused; 0: no limit
    QString blobLimitMessage;
};

class ChangeVisitor {
public:
    virtual ~ChangeVisitor() = default;
    virtual void inserted(const Row& current) = 0;
    virtual void updated(const Row& original, const Row& current) = 0;
    virtual void deleted(const Row& original) = 0;
};

void visitChanges(const ChangeSet& changes, ChangeVisitor& visitor);

// Checks a row about to be inserted or updated (references, cross-field rules); throws MethodError.
using RowCheck = std::function<void(const Row& current)>;

// The visitor that writes one table. Throws MethodError on a refused change or a conflict.
class TableWriter : public ChangeVisitor {
public:
    TableWriter(const TableLayout& tableLayout, const ChangeSet& changes, MethodContext& context);
    void setRowCheck(RowCheck check) { check_ = std::move(check); }
    qint64 rowsWritten() const { return rows_; }

    void inserted(const Row& current) override;
    void updated(const Row& original, const Row& current) override;
    void deleted(const Row& original) override;

private:
    struct Condition {
        QString sql;
        QVariantList params;
    };
    void checkFields() const;
    QVariant value(const Row& row, const QString& field) const;
    QVariantList keyValues(const Row& row) const;
    QString keyText(const Row& row) const;
    QString keyCondition() const;
    QVariant bindable(const FieldDef& def, const QVariant& value) const;
    void validate(const Row& current) const;
    // The row a change is about to write, as the history records it (nothing when not recording).
    struct Trace {
        const HistoryTable* table;
        QVariantList key;
        StoredRow before;
    };
    // Checks the stored row against `original`, on the row the history has just read when there is one.
    Condition unchangedSince(const Row& original, const std::optional<Trace>& trace) const;
    QVariantList storedValues(const Row& original, const QList<const FieldDef*>& compared,
                              const std::optional<Trace>& trace) const;
    std::optional<Trace> traceBefore(const Row& row) const;
    KnownContent knownContent(const Trace& trace, const Row* original, const Row* current) const;
    void traceAfter(const std::optional<Trace>& trace, const Row* original, const Row* current) const;
    [[noreturn]] void conflict(const QString& what) const;

    const TableLayout& layout_;
    const ChangeSet& changes_;
    MethodContext& context_;
    RowCheck check_;
    qint64 rows_ = 0;
};

// Applies `changes` to the table of `tableLayout` in one transaction; returns the rows written.
qint64 applyChangeSet(const TableLayout& tableLayout, const ChangeSet& changes, MethodContext& context,
                      RowCheck check = {});

// A null of the kind's own type (PostgreSQL needs to know the type of a bound null).
QVariant typedNull(FieldKind kind);

// Whether two values of a field of `kind` are the same (a null text equals an empty one).
bool sameValue(FieldKind kind, const QVariant& a, const QVariant& b);

}  // namespace qmv::appserver

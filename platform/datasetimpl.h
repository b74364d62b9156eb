#pragma once
// The inside of a DataSet: its records with their base state, the view the filter lets through,
// the edit buffer and the notification switches. Private to the dataset's sources; UI thread only.
#include "platform/dataset.h"
#include "platform/filterexpr.h"

#include <QPointer>
#include <vector>

namespace qmv {

// One row of the dataset. `values` holds every field (calculated ones included) as posted;
// `original` holds the base state while the record is modified or deleted.
struct Record {
    enum class Status : quint8 { Unchanged, Inserted, Modified };
    Row values;
    Row original;
    Status status = Status::Unchanged;
    bool deleted = false;  // kept until the log is merged or cancelled
    bool pending = false;  // being inserted, not yet posted
    qint64 seq = 0;        // position in the change log
    qint64 id = 0;         // stable identity across view rebuilds
};

struct DataSet::Impl {
    explicit Impl(DataSet& owner) : q(owner) {}

    DataSet& q;
    std::vector<std::unique_ptr<Field>> fields;
    bool hasCalculated = false;
    std::vector<Record> records;
    QList<int> view;  // indices into records, in order
    int cur = -1;     // index into view
    DataSetState state = DataSetState::Inactive;
    bool eof = true;
    bool bof = true;
    Row buffer;  // the record being edited or inserted
    bool modified = false;
    Row* calcRow = nullptr;
    const Row* readOverride = nullptr;
    bool logChanges = true;
    qint64 nextSeq = 1;
    qint64 nextId = 1;
    QString filterText;
    bool filtered = false;
    FilterExpr filter;
    std::vector<std::pair<QPointer<QObject>, std::function<void()>>> updaters;
    bool updating = false;
    int disableCount = 0;
    DataSetState stateAtDisable = DataSetState::Inactive;

    bool editing() const { return state == DataSetState::Edit || state == DataSetState::Insert; }
    int currentRecord() const { return cur >= 0 && cur < view.size() ? view[cur] : -1; }
    qint64 currentId() const;
    const Row* activeRow() const;
    void fire(const Event& event) { if (event) event(q); }

    void checkActive() const;
    void setState(DataSetState next);
    void notifyReset();
    void notifyCurrent();
    void notifyRow(int row);

    Record newRecord();
    void calculate(Row& row);
    bool sameData(const Row& a, const Row& b) const;
    Row dataOf(const Row& row) const;
    void compileFilter();
    void rebuildView();
    void rebuildViewKeeping(qint64 id, int fallback);
    void resetMarks() { eof = bof = view.isEmpty(); }
    void dropEdit();
    void moveTo(int row);
    void finishOpen();
    void takeRows(QList<Row>& rows, const QList<int>& target, bool identity);
    void beginInsert(bool atEnd);
    void checkRequired() const;
    void commit(Record& record, bool inserting);
    void deleteRecord(int index);
    void refilter();
    void revertToBase(Record& record);
};

bool sameValue(const QVariant& a, const QVariant& b);
inline bool isNullValue(const QVariant& v) { return !v.isValid() || v.isNull(); }

}  // namespace qmv

// The change log of a dataset: each record with pending changes is one entry, replayed in the
// order the records were first changed (a deletion counts from when it was made).
#include "platform/dataset.h"
#include "platform/datasetimpl.h"

#include <algorithm>

namespace qmv {

namespace {

bool isLogged(const Record& record)
{
    return !record.pending && (record.deleted || record.status != Record::Status::Unchanged);
}

}  // namespace

int DataSet::changeCount() const
{
    return int(std::count_if(d_->records.begin(), d_->records.end(), isLogged));
}

ChangeSet DataSet::delta() const
{
    ChangeSet changes;
    for (const auto& field : d_->fields)
        if (!field->isCalculated())
            changes.fields.append(field->def());
    std::vector<const Record*> logged;
    for (const Record& record : d_->records)
        if (isLogged(record))
            logged.push_back(&record);
    std::stable_sort(logged.begin(), logged.end(),
                     [](const Record* a, const Record* b) { return a->seq < b->seq; });
    for (const Record* record : logged) {
        Change change;
        if (record->deleted) {
            change.kind = ChangeKind::Delete;
            change.original = d_->dataOf(record->original);
        } else if (record->status == Record::Status::Inserted) {
            change.kind = ChangeKind::Insert;
            change.current = d_->dataOf(record->values);
        } else {
            change.kind = ChangeKind::Update;
            change.original = d_->dataOf(record->original);
            change.current = d_->dataOf(record->values);
        }
        changes.changes.append(std::move(change));
    }
    return changes;
}

void DataSet::mergeChangeLog()
{
    const qint64 id = d_->currentId();
    const int before = d_->cur;
    const bool hadDeleted = std::any_of(d_->records.begin(), d_->records.end(),
                                        [](const Record& r) { return r.deleted; });
    std::erase_if(d_->records, [](const Record& r) { return r.deleted; });
    for (Record& record : d_->records) {
        if (record.pending)
            continue;
        record.status = Record::Status::Unchanged;
        record.original.clear();
        record.seq = 0;
    }
    if (hadDeleted)
        d_->rebuildViewKeeping(id, before);
}

void DataSet::Impl::revertToBase(Record& record)
{
    if (record.deleted || record.status == Record::Status::Modified) {
        record.values = std::move(record.original);
        record.original.clear();
        calculate(record.values);
    }
    record.deleted = false;
    record.status = Record::Status::Unchanged;
    record.seq = 0;
}

// Every record returns to its base state: inserted ones go, modified and deleted ones take their
// original values back. A pending edit is cancelled first.
void DataSet::cancelUpdates()
{
    if (!isActive())
        return;
    cancel();
    const qint64 id = d_->currentId();
    const int before = d_->cur;
    std::erase_if(d_->records, [](const Record& r) { return r.status == Record::Status::Inserted; });
    for (Record& record : d_->records)
        d_->revertToBase(record);
    d_->rebuildViewKeeping(id, before);
    d_->resetMarks();
    d_->notifyReset();
    d_->notifyCurrent();
    if (d_->currentId() != id)
        d_->fire(afterScroll);
}

void DataSet::returnToEdit()
{
    const int index = isActive() && !d_->editing() ? d_->currentRecord() : -1;
    const Record* current = index >= 0 ? &d_->records[size_t(index)] : nullptr;
    if (!current || current->deleted || current->status == Record::Status::Unchanged) {
        cancelUpdates();
        return;
    }
    const qint64 id = current->id;
    const bool inserted = current->status == Record::Status::Inserted;
    Row posted = current->values;
    std::erase_if(d_->records, [id](const Record& r) { return r.status == Record::Status::Inserted && r.id != id; });
    for (Record& record : d_->records) {
        if (record.id != id) {
            d_->revertToBase(record);
        } else if (inserted) {
            record.status = Record::Status::Unchanged;  // a row being inserted again, outside the log
            record.pending = true;
            record.seq = 0;
        } else {
            d_->revertToBase(record);
        }
    }
    d_->rebuildViewKeeping(id, d_->cur);
    d_->buffer = std::move(posted);
    d_->modified = true;
    d_->eof = d_->bof = false;
    d_->setState(inserted ? DataSetState::Insert : DataSetState::Edit);
    d_->notifyReset();
    d_->notifyCurrent();
}

bool DataSet::logChanges() const { return d_->logChanges; }

void DataSet::setLogChanges(bool on) { d_->logChanges = on; }

}  // namespace qmv

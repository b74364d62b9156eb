#include "platform/dataset.h"

#include "platform/datasetimpl.h"
#include "platform/packetvalue.h"

namespace qmv {

bool sameValue(const QVariant& a, const QVariant& b)
{
    const bool aNull = isNullValue(a);
    if (aNull || isNullValue(b))
        return aNull == isNullValue(b);
    return a == b;
}

qint64 DataSet::Impl::currentId() const
{
    const int record = currentRecord();
    return record >= 0 ? records[record].id : 0;
}

const Row* DataSet::Impl::activeRow() const
{
    if (readOverride)
        return readOverride;
    if (state == DataSetState::CalcFields)
        return calcRow;
    if (editing())
        return &buffer;
    const int record = currentRecord();
    return record >= 0 ? &records[record].values : nullptr;
}

void DataSet::Impl::checkActive() const
{
    if (state == DataSetState::Inactive)
        throw DataSetError(QStringLiteral("%1: operação não permitida em conjunto de dados fechado")
                               .arg(q.objectName()).toStdString());
}

void DataSet::Impl::setState(DataSetState next)
{
    if (state == next)
        return;
    state = next;
    if (disableCount == 0)
        emit q.stateChanged(next);
}

void DataSet::Impl::notifyReset()
{
    if (disableCount == 0)
        emit q.rowsReset();
}

void DataSet::Impl::notifyCurrent()
{
    if (disableCount == 0)
        emit q.currentRowChanged(cur);
}

void DataSet::Impl::notifyRow(int row)
{
    if (disableCount == 0 && row >= 0)
        emit q.rowChanged(row);
}

Record DataSet::Impl::newRecord()
{
    Record record;
    record.id = nextId++;
    record.values.resize(qsizetype(fields.size()));
    return record;
}

// Runs the form's calculation for one row, with the row as the record that fields read and write.
void DataSet::Impl::calculate(Row& row)
{
    if (!hasCalculated)
        return;
    for (const auto& field : fields)
        if (field->isCalculated())
            row[field->index()] = QVariant();
    if (!q.onCalcFields)
        return;
    const DataSetState saved = state;
    Row* savedRow = calcRow;
    state = DataSetState::CalcFields;
    calcRow = &row;
    try {
        q.onCalcFields(q);
    } catch (...) {
        state = saved;
        calcRow = savedRow;
        throw;
    }
    state = saved;
    calcRow = savedRow;
}

bool DataSet::Impl::sameData(const Row& a, const Row& b) const
{
    for (const auto& field : fields)
        if (!field->isCalculated() && !sameValue(a.value(field->index()), b.value(field->index())))
            return false;
    return true;
}

Row DataSet::Impl::dataOf(const Row& row) const
{
    Row data;
    data.reserve(qsizetype(fields.size()));
    for (const auto& field : fields)
        if (!field->isCalculated())
            data.append(row.value(field->index()));
    return data;
}

void DataSet::Impl::dropEdit()
{
    if (state == DataSetState::Insert) {
        const int record = currentRecord();
        if (record >= 0 && records[record].pending)
            records.erase(records.begin() + record);
    }
    buffer.clear();
    modified = false;
    setState(DataSetState::Browse);
}

DataSet::DataSet(QObject* parent) : QObject(parent), d_(std::make_unique<Impl>(*this)) {}

DataSet::~DataSet() = default;

Field& DataSet::addField(const FieldDef& def)
{
    if (d_->state != DataSetState::Inactive)
        throw DataSetError("fields can only be added to a closed dataset");
    if (def.name.isEmpty() || findField(def.name))
        throw DataSetError(QStringLiteral("invalid or duplicate field name '%1'").arg(def.name).toStdString());
    auto field = std::make_unique<Field>(*this, def, true);
    field->index_ = int(d_->fields.size());
    d_->hasCalculated = d_->hasCalculated || field->isCalculated();
    d_->fields.push_back(std::move(field));
    return *d_->fields.back();
}

void DataSet::clearFields()
{
    if (d_->state != DataSetState::Inactive)
        throw DataSetError("fields can only be removed from a closed dataset");
    d_->fields.clear();
    d_->hasCalculated = false;
}

Field& DataSet::fieldByName(const QString& name) const
{
    if (Field* field = findField(name))
        return *field;
    throw DataSetError(QStringLiteral("%1: campo '%2' não encontrado").arg(objectName(), name).toStdString());
}

Field* DataSet::findField(const QString& name) const
{
    for (const auto& field : d_->fields)
        if (field->name().compare(name, Qt::CaseInsensitive) == 0)
            return field.get();
    return nullptr;
}

Field& DataSet::field(int index) const
{
    if (index < 0 || index >= fieldCount())
        throw DataSetError("field index out of range");
    return *d_->fields[size_t(index)];
}

int DataSet::fieldCount() const { return int(d_->fields.size()); }

QList<Field*> DataSet::fields() const
{
    QList<Field*> list;
    for (const auto& field : d_->fields)
        list.append(field.get());
    return list;
}

void DataSet::loadPacket(const DataPacket& packet) { loadPacket(DataPacket(packet)); }

void DataSet::loadPacket(const QByteArray& bytes) { loadPacket(decodePacket(bytes)); }

// Packet columns are matched to the declared fields by name; the others become dynamic fields.
void DataSet::loadPacket(DataPacket&& packet)
{
    close();
    d_->fire(beforeOpen);
    QList<int> target;
    bool identity = true;
    for (int c = 0; c < packet.fields.size(); ++c) {
        Field* field = findField(packet.fields[c].name);
        if (!field) {
            auto dynamic = std::make_unique<Field>(*this, packet.fields[c], false);
            dynamic->index_ = fieldCount();
            field = dynamic.get();
            d_->fields.push_back(std::move(dynamic));
        }
        target.append(field->isCalculated() ? -1 : field->index());
        identity = identity && target.last() == c && field->kind() == packet.fields[c].kind;
    }
    identity = identity && fieldCount() == packet.fields.size();
    try {
        d_->compileFilter();  // a filter naming a field the packet lacks fails before any row
        d_->takeRows(packet.rows, target, identity);
    } catch (...) {
        d_->records.clear();
        while (!d_->fields.empty() && !d_->fields.back()->isDeclared())
            d_->fields.pop_back();
        throw;
    }
    packet.rows.clear();
    d_->finishOpen();
}

// Rows move in whole when the packet's columns are the fields in order; otherwise each value
// goes to its field, converted to the field's kind where the packet's column kind differs.
void DataSet::Impl::takeRows(QList<Row>& rows, const QList<int>& target, bool identity)
{
    const qsizetype width = qsizetype(fields.size());
    records.reserve(size_t(rows.size()));
    for (Row& row : rows) {
        Record record;
        record.id = nextId++;
        if (identity) {
            record.values = std::move(row);
        } else {
            record.values.resize(width);
            for (int c = 0; c < target.size() && c < row.size(); ++c)
                if (target[c] >= 0)
                    record.values[target[c]] = packetvalue::normalised(std::move(row[c]), fields[size_t(target[c])]->kind());
        }
        calculate(record.values);
        records.push_back(std::move(record));
    }
}

void DataSet::Impl::finishOpen()
{
    compileFilter();
    rebuildView();
    cur = view.isEmpty() ? -1 : 0;
    resetMarks();
    setState(DataSetState::Browse);
    notifyReset();
    notifyCurrent();
    fire(q.afterOpen);
    if (!view.isEmpty())
        fire(q.afterScroll);
}

DataPacket DataSet::toPacket() const
{
    DataPacket packet;
    for (const auto& field : d_->fields)
        if (!field->isCalculated())
            packet.fields.append(field->def());
    for (const Record& record : d_->records)
        if (!record.deleted && !record.pending)
            packet.rows.append(d_->dataOf(record.values));
    return packet;
}

void DataSet::open()
{
    if (isActive())
        return;
    d_->fire(beforeOpen);
    d_->finishOpen();
}

void DataSet::close()
{
    if (!isActive())
        return;
    d_->fire(beforeClose);
    if (d_->editing())
        d_->dropEdit();
    d_->records.clear();
    d_->view.clear();
    d_->cur = -1;
    d_->resetMarks();
    d_->nextSeq = 1;
    while (!d_->fields.empty() && !d_->fields.back()->isDeclared())
        d_->fields.pop_back();
    d_->setState(DataSetState::Inactive);
    d_->notifyReset();
    d_->notifyCurrent();
    d_->fire(afterClose);
}

bool DataSet::isActive() const { return d_->state != DataSetState::Inactive; }

bool DataSet::isEmpty() const { return recordCount() == 0; }

DataSetState DataSet::state() const { return d_->state; }

bool DataSet::modified() const { return d_->modified; }

void DataSet::edit()
{
    d_->checkActive();
    if (d_->editing())
        return;
    if (isEmpty()) {
        insert();
        return;
    }
    d_->fire(beforeEdit);
    d_->buffer = d_->records[size_t(d_->currentRecord())].values;
    d_->modified = false;
    d_->setState(DataSetState::Edit);
    d_->fire(afterEdit);
}

void DataSet::insert() { d_->beginInsert(false); }

void DataSet::append() { d_->beginInsert(true); }

void DataSet::Impl::beginInsert(bool atEnd)
{
    checkActive();
    q.checkBrowseMode();
    fire(q.beforeInsert);
    fire(q.beforeScroll);
    const int current = currentRecord();
    const int position = atEnd || current < 0 ? int(records.size()) : current;
    Record record = newRecord();
    record.pending = true;
    const qint64 id = record.id;
    records.insert(records.begin() + position, std::move(record));
    rebuildViewKeeping(id, 0);
    buffer = Row(qsizetype(fields.size()));
    eof = bof = false;
    setState(DataSetState::Insert);
    try {
        fire(q.onNewRecord);
        calculate(buffer);
    } catch (...) {
        dropEdit();
        rebuildViewKeeping(0, cur);
        throw;
    }
    modified = false;
    notifyReset();
    notifyCurrent();
    fire(q.afterInsert);
    fire(q.afterScroll);
}

void DataSet::post()
{
    d_->checkActive();
    if (!d_->editing())
        return;
    updateRecord();
    d_->fire(beforePost);
    d_->checkRequired();
    const bool inserting = d_->state == DataSetState::Insert;
    Record& record = d_->records[size_t(d_->currentRecord())];
    d_->commit(record, inserting);
    const qint64 id = record.id;
    d_->buffer.clear();
    d_->modified = false;
    d_->setState(DataSetState::Browse);
    const int before = d_->cur;
    const qsizetype count = d_->view.size();
    if (d_->filtered && !d_->filter.isEmpty())
        d_->rebuildViewKeeping(id, d_->cur);  // the posted row may have left the filter
    if (d_->cur != before || d_->view.size() != count) {
        d_->notifyReset();
        d_->notifyCurrent();
    } else {
        d_->notifyRow(d_->cur);
    }
    d_->fire(afterPost);
}

void DataSet::Impl::checkRequired() const
{
    for (const auto& field : fields)
        if (field->required() && !field->isCalculated() && isNullValue(buffer.value(field->index())))
            throw DataSetError(QStringLiteral("O campo '%1' deve ser informado.").arg(field->label()).toStdString());
}

// Moves the edit buffer into the record and logs the change, unless nothing changed.
void DataSet::Impl::commit(Record& record, bool inserting)
{
    if (inserting) {
        record.pending = false;
        record.status = logChanges ? Record::Status::Inserted : Record::Status::Unchanged;
        record.seq = nextSeq++;
    } else if (!sameData(buffer, record.values) && logChanges) {
        if (record.status == Record::Status::Unchanged) {
            record.original = record.values;
            record.status = Record::Status::Modified;
            record.seq = nextSeq++;
        }
    }
    record.values = std::move(buffer);
    if (record.status == Record::Status::Modified && sameData(record.values, record.original)) {
        record.status = Record::Status::Unchanged;
        record.original.clear();
    }
    calculate(record.values);
}

void DataSet::cancel()
{
    if (!d_->editing())
        return;
    d_->fire(beforeCancel);
    const bool inserting = d_->state == DataSetState::Insert;
    const int before = d_->cur;
    d_->dropEdit();
    if (inserting) {
        d_->rebuildViewKeeping(0, before);
        d_->resetMarks();
        d_->notifyReset();
        d_->notifyCurrent();
    } else {
        d_->notifyRow(d_->cur);
    }
    d_->fire(afterCancel);
}

void DataSet::remove()
{
    d_->checkActive();
    if (d_->state == DataSetState::Insert) {
        cancel();
        return;
    }
    if (isEmpty())
        throw DataSetError(QStringLiteral("%1: operação não permitida em conjunto de dados vazio")
                               .arg(objectName()).toStdString());
    d_->fire(beforeDelete);
    d_->fire(beforeScroll);
    if (d_->editing())
        d_->dropEdit();
    d_->deleteRecord(d_->currentRecord());
    d_->rebuildViewKeeping(0, d_->cur);
    d_->resetMarks();
    d_->notifyReset();
    d_->notifyCurrent();
    d_->fire(afterDelete);
    d_->fire(afterScroll);
}

void DataSet::Impl::deleteRecord(int index)
{
    Record& record = records[size_t(index)];
    if (!logChanges || record.status == Record::Status::Inserted) {
        records.erase(records.begin() + index);
        return;
    }
    if (record.status == Record::Status::Unchanged)
        record.original = record.values;
    record.deleted = true;
    record.seq = nextSeq++;
}

void DataSet::addRecordUpdater(QObject* owner, std::function<void()> update)
{
    d_->updaters.emplace_back(owner, std::move(update));
}

void DataSet::removeRecordUpdaters(QObject* owner)
{
    std::erase_if(d_->updaters, [owner](const auto& u) { return u.first.isNull() || u.first == owner; });
}

void DataSet::updateRecord()
{
    if (d_->updating || !d_->editing())
        return;
    d_->updating = true;
    try {
        for (auto& [owner, update] : std::vector(d_->updaters))
            if (owner)
                update();
    } catch (...) {
        d_->updating = false;
        throw;
    }
    d_->updating = false;
}

void DataSet::checkBrowseMode()
{
    d_->checkActive();
    if (!d_->editing())
        return;
    updateRecord();
    if (d_->modified)
        post();
    else
        cancel();
}

QVariant DataSet::readValue(int field) const
{
    const Row* row = d_->activeRow();
    return row ? row->value(field) : QVariant();
}

void DataSet::writeValue(int field, const QVariant& value)
{
    const Field& target = *d_->fields[size_t(field)];
    if (d_->state == DataSetState::CalcFields) {
        if (!target.isCalculated())
            throw DataSetError(QStringLiteral("campo '%1' não pode ser modificado no cálculo").arg(target.name()).toStdString());
        (*d_->calcRow)[field] = value;
        return;
    }
    if (!d_->editing() || target.isCalculated())
        throw DataSetError(QStringLiteral("%1: campo '%2' não pode ser modificado fora de edição")
                               .arg(objectName(), target.name()).toStdString());
    d_->buffer[field] = value;
    d_->modified = true;
    d_->calculate(d_->buffer);
    if (d_->disableCount == 0)
        emit fieldValueChanged(d_->fields[size_t(field)].get());
    if (target.onChange)
        target.onChange(*d_->fields[size_t(field)]);
}

QVariant DataSet::readOldValue(int field) const
{
    const int index = d_->currentRecord();
    if (index < 0)
        return {};
    const Record& record = d_->records[size_t(index)];
    if (record.pending || record.status == Record::Status::Inserted)
        return {};
    return record.status == Record::Status::Modified ? record.original.value(field) : record.values.value(field);
}

QVariant DataSet::readValueAt(int row, int field) const
{
    if (row < 0 || row >= d_->view.size())
        return {};
    if (row == d_->cur && d_->editing())
        return d_->buffer.value(field);
    return d_->records[size_t(d_->view[row])].values.value(field);
}

QString DataSet::readWithRowCurrent(int row, const std::function<QString()>& read) const
{
    if (row < 0 || row >= d_->view.size())
        return {};
    const Row* saved = d_->readOverride;
    d_->readOverride = row == d_->cur && d_->editing() ? &d_->buffer : &d_->records[size_t(d_->view[row])].values;
    try {
        QString text = read();
        d_->readOverride = saved;
        return text;
    } catch (...) {
        d_->readOverride = saved;
        throw;
    }
}

}  // namespace qmv

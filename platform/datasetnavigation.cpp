// The view of a dataset: which records the filter lets through, the current one, moving, locating,
// and the switch that keeps bound controls quiet.
#include "platform/dataset.h"
#include "platform/datasetimpl.h"

namespace qmv {

void DataSet::Impl::compileFilter()
{
    filter = FilterExpr::parse(filterText, [this](const QString& name) {
        const Field* field = q.findField(name);
        return field ? field->index() : -1;
    });
}

void DataSet::Impl::rebuildView()
{
    view.clear();
    view.reserve(qsizetype(records.size()));
    const bool filtering = filtered && !filter.isEmpty();
    for (int i = 0; i < int(records.size()); ++i) {
        const Record& record = records[size_t(i)];
        if (record.deleted)
            continue;
        if (record.pending || !filtering || filter.matches(record.values))
            view.append(i);
    }
}

// Rebuilds the view and makes the record `id` current again; when it is gone, the row at
// `fallback` (or the last row) becomes current.
void DataSet::Impl::rebuildViewKeeping(qint64 id, int fallback)
{
    rebuildView();
    cur = -1;
    if (id != 0) {
        for (int row = 0; row < view.size(); ++row)
            if (records[size_t(view[row])].id == id) {
                cur = row;
                return;
            }
    }
    if (!view.isEmpty())
        cur = std::clamp(fallback, 0, int(view.size()) - 1);
}

void DataSet::Impl::moveTo(int row)
{
    eof = bof = false;
    if (row == cur)
        return;
    fire(q.beforeScroll);
    cur = row;
    notifyCurrent();
    fire(q.afterScroll);
}

void DataSet::first()
{
    checkBrowseMode();
    if (d_->view.isEmpty())
        return d_->resetMarks();
    d_->moveTo(0);
}

void DataSet::last()
{
    checkBrowseMode();
    if (d_->view.isEmpty())
        return d_->resetMarks();
    d_->moveTo(int(d_->view.size()) - 1);
}

void DataSet::next()
{
    checkBrowseMode();
    if (d_->view.isEmpty())
        return d_->resetMarks();
    if (d_->cur >= d_->view.size() - 1) {
        d_->eof = true;
        d_->bof = false;
        return;
    }
    d_->moveTo(d_->cur + 1);
}

void DataSet::prior()
{
    checkBrowseMode();
    if (d_->view.isEmpty())
        return d_->resetMarks();
    if (d_->cur <= 0) {
        d_->bof = true;
        d_->eof = false;
        return;
    }
    d_->moveTo(d_->cur - 1);
}

bool DataSet::eof() const { return d_->eof || d_->view.isEmpty(); }

bool DataSet::bof() const { return d_->bof || d_->view.isEmpty(); }

int DataSet::recNo() const { return d_->cur + 1; }

void DataSet::setRecNo(int recNo)
{
    checkBrowseMode();
    if (recNo < 1 || recNo > d_->view.size())
        throw DataSetError(QStringLiteral("%1: registro %2 fora do conjunto de dados").arg(objectName()).arg(recNo).toStdString());
    d_->moveTo(recNo - 1);
}

int DataSet::recordCount() const
{
    const bool pending = d_->state == DataSetState::Insert;
    return int(d_->view.size()) - (pending ? 1 : 0);
}

int DataSet::rowCount() const { return int(d_->view.size()); }

int DataSet::currentRow() const { return d_->cur; }

namespace {

bool keyMatches(const QVariant& stored, const QVariant& wanted, LocateOptions options)
{
    if (isNullValue(stored) || isNullValue(wanted))
        return isNullValue(stored) == isNullValue(wanted);
    const bool text = stored.typeId() == QMetaType::QString || wanted.typeId() == QMetaType::QString;
    if (!text && !(options & LocateOption::PartialKey))
        return sameValue(stored, wanted);
    const QString have = stored.toString();
    const QString want = wanted.toString();
    const Qt::CaseSensitivity cs = options & LocateOption::CaseInsensitive ? Qt::CaseInsensitive : Qt::CaseSensitive;
    if (options & LocateOption::PartialKey)
        return have.startsWith(want, cs);
    return have.compare(want, cs) == 0;
}

}  // namespace

bool DataSet::locate(const QString& keyFields, const QVariantList& values, LocateOptions options)
{
    d_->checkActive();
    QList<int> columns;
    for (const QString& name : keyFields.split(';', Qt::SkipEmptyParts))
        columns.append(fieldByName(name.trimmed()).index());
    if (columns.isEmpty() || columns.size() != values.size())
        throw DataSetError("locate needs one value per key field");
    checkBrowseMode();
    for (int row = 0; row < d_->view.size(); ++row) {
        const Row& candidate = d_->records[size_t(d_->view[row])].values;
        bool all = true;
        for (int k = 0; k < columns.size() && all; ++k)
            all = keyMatches(candidate.value(columns[k]), values[k], options);
        if (all) {
            d_->moveTo(row);
            return true;
        }
    }
    return false;
}

void DataSet::setFilter(const QString& expression)
{
    if (expression == d_->filterText)
        return;
    if (isActive()) {
        FilterExpr compiled = FilterExpr::parse(expression, [this](const QString& name) {
            const Field* field = findField(name);
            return field ? field->index() : -1;
        });
        if (d_->filtered)
            checkBrowseMode();
        d_->filterText = expression;
        d_->filter = std::move(compiled);
        if (d_->filtered)
            d_->refilter();
    } else {
        d_->filterText = expression;
    }
}

QString DataSet::filter() const { return d_->filterText; }

void DataSet::setFiltered(bool on)
{
    if (on == d_->filtered)
        return;
    if (isActive())
        checkBrowseMode();
    d_->filtered = on;
    if (isActive())
        d_->refilter();
}

bool DataSet::filtered() const { return d_->filtered; }

// A new filter (or switching it) shows its rows from the first.
void DataSet::Impl::refilter()
{
    const qint64 before = currentId();
    fire(q.beforeScroll);
    rebuildView();
    cur = view.isEmpty() ? -1 : 0;
    resetMarks();
    notifyReset();
    notifyCurrent();
    if (currentId() != before)
        fire(q.afterScroll);
}

void DataSet::disableControls()
{
    if (d_->disableCount++ == 0) {
        d_->stateAtDisable = d_->state;
        emit controlsEnabledChanged(false);
    }
}

void DataSet::enableControls()
{
    if (d_->disableCount == 0 || --d_->disableCount > 0)
        return;
    emit controlsEnabledChanged(true);
    if (d_->state != d_->stateAtDisable)
        emit stateChanged(d_->state);
    emit rowsReset();
    emit currentRowChanged(d_->cur);
}

bool DataSet::controlsDisabled() const { return d_->disableCount > 0; }

}  // namespace qmv

#include "platform/datasetmodel.h"

#include "platform/widgetaction.h"

namespace qmv {

DataSetModel::DataSetModel(QObject* parent)
    : QAbstractTableModel(parent)
{
}

void DataSetModel::setDataSet(DataSet* dataSet)
{
    for (const auto& c : connections_)
        disconnect(c);
    connections_.clear();
    dataSet_ = dataSet;
    if (dataSet) {
        connections_ << connect(dataSet, &DataSet::rowsReset, this, &DataSetModel::reset)
                     << connect(dataSet, &DataSet::rowChanged, this, &DataSetModel::onRowChanged)
                     << connect(dataSet, &DataSet::stateChanged, this, &DataSetModel::onStateChanged)
                     << connect(dataSet, &DataSet::controlsEnabledChanged, this, [this](bool on) {
                            if (on)
                                reset();
                        })
                     << connect(dataSet, &QObject::destroyed, this, &DataSetModel::reset);
    }
    reset();
}

void DataSetModel::setFieldNames(const QStringList& names)
{
    names_ = names;
    reset();
}

void DataSetModel::setTitles(const QStringList& titles)
{
    titles_ = titles;
    if (!shown_.isEmpty())
        emit headerDataChanged(Qt::Horizontal, 0, int(shown_.size()) - 1);
}

void DataSetModel::setTitleAlignments(const QList<Qt::Alignment>& alignments)
{
    titleAlignments_ = alignments;
    if (!shown_.isEmpty())
        emit headerDataChanged(Qt::Horizontal, 0, int(shown_.size()) - 1);
}

void DataSetModel::setReadOnlyColumns(const QList<bool>& readOnly)
{
    readOnlyColumns_ = readOnly;
}

void DataSetModel::setReadOnly(bool readOnly)
{
    readOnly_ = readOnly;
}

QStringList DataSetModel::effectiveNames() const
{
    if (!names_.isEmpty() || !dataSet_)
        return names_;
    QStringList names;
    for (const Field* f : dataSet_->fields())
        if (f->visible())
            names << f->name();
    return names;
}

Field* DataSetModel::fieldAt(int column) const
{
    if (!dataSet_ || column < 0 || column >= shown_.size())
        return nullptr;
    return dataSet_->findField(shown_[column]);
}

void DataSetModel::reset()
{
    beginResetModel();
    shown_ = effectiveNames();
    rows_ = dataSet_ && dataSet_->isActive() ? dataSet_->rowCount() : 0;
    endResetModel();
}

void DataSetModel::onRowChanged(int row)
{
    const int now = dataSet_ && dataSet_->isActive() ? dataSet_->rowCount() : 0;
    if (now != rows_) {
        reset();
        return;
    }
    if (row >= 0 && row < rows_ && !shown_.isEmpty())
        emit dataChanged(index(row, 0), index(row, int(shown_.size()) - 1));
}

void DataSetModel::onStateChanged()
{
    const int now = dataSet_ && dataSet_->isActive() ? dataSet_->rowCount() : 0;
    if (now != rows_)
        reset();
}

int DataSetModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : rows_;
}

int DataSetModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(shown_.size());
}

QVariant DataSetModel::data(const QModelIndex& index, int role) const
{
    if (!valid(index) || !dataSet_ || !dataSet_->isActive() || index.row() >= dataSet_->rowCount())
        return {};
    const Field* field = fieldAt(index.column());
    if (!field)
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return field->displayTextAt(index.row());
    case Qt::EditRole:
        return index.row() == dataSet_->currentRow() ? field->editText() : field->displayTextAt(index.row());
    case Qt::TextAlignmentRole:
        if (field->kind() == FieldKind::Float || field->kind() == FieldKind::Integer)
            return QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
        return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
    default:
        return {};
    }
}

bool DataSetModel::valid(const QModelIndex& index) const
{
    return index.isValid() && index.model() == this && index.row() < rows_ && index.column() < shown_.size();
}

bool DataSetModel::editable(int column) const
{
    const Field* field = fieldAt(column);
    if (readOnly_ || !field || field->readOnly() || field->isCalculated() || field->kind() == FieldKind::Blob)
        return false;
    return !(column < readOnlyColumns_.size() && readOnlyColumns_[column]);
}

bool DataSetModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || !valid(index) || !editable(index.column()))
        return false;
    return runWidgetAction([&] { writeCell(index, value.toString()); });
}

void DataSetModel::writeCell(const QModelIndex& index, const QString& text)
{
    if (!valid(index) || !editable(index.column()))
        return;
    DataSet* ds = dataSet_;
    Field* field = fieldAt(index.column());
    if (ds->currentRow() != index.row())
        ds->setRecNo(index.row() + 1);
    if (ds->currentRow() != index.row())
        return;
    if (ds->state() == DataSetState::Browse) {
        if (field->editText() == text)
            return;  // nothing typed: no edit is started
        ds->edit();
    }
    if (field->editText() != text)
        field->setText(text);
}

QVariant DataSetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= shown_.size())
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::DisplayRole) {
        if (section < titles_.size() && !titles_[section].isEmpty())
            return titles_[section];
        const Field* field = fieldAt(section);
        return field ? field->label() : shown_[section];
    }
    if (role == Qt::TextAlignmentRole && section < titleAlignments_.size())
        return QVariant::fromValue(titleAlignments_[section]);
    return {};
}

Qt::ItemFlags DataSetModel::flags(const QModelIndex& index) const
{
    if (!valid(index))
        return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    if (editable(index.column()))
        flags |= Qt::ItemIsEditable;
    return flags;
}

}  // namespace qmv

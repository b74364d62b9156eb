#include "platform/datasource.h"

namespace qmv {

DataSource::DataSource(QObject* parent) : QObject(parent) {}

DataSet* DataSource::dataSet() const { return dataSet_; }

DataSetState DataSource::state() const { return dataSet_ ? dataSet_->state() : DataSetState::Inactive; }

// Rebinding always passes through the inactive state, so handlers see it even when the new
// dataset is the old one.
void DataSource::setDataSet(DataSet* dataSet)
{
    for (const auto& connection : std::as_const(connections_))
        disconnect(connection);
    connections_.clear();
    dataSet_ = nullptr;
    reportState(DataSetState::Inactive);
    dataSet_ = dataSet;
    connectTo(dataSet);
    emit dataSetChanged(dataSet);
    reportState(state());
    emit dataChanged(nullptr);
}

void DataSource::connectTo(DataSet* dataSet)
{
    if (!dataSet)
        return;
    connections_ << connect(dataSet, &DataSet::stateChanged, this, &DataSource::reportState);
    connections_ << connect(dataSet, &DataSet::rowsReset, this, [this] { emit dataChanged(nullptr); });
    connections_ << connect(dataSet, &DataSet::currentRowChanged, this, [this] { emit dataChanged(nullptr); });
    connections_ << connect(dataSet, &DataSet::rowChanged, this, [this](int row) {
        if (dataSet_ && row == dataSet_->currentRow())
            emit dataChanged(nullptr);
    });
    connections_ << connect(dataSet, &DataSet::fieldValueChanged, this, &DataSource::dataChanged);
    connections_ << connect(dataSet, &QObject::destroyed, this, [this] {
        connections_.clear();
        reportState(DataSetState::Inactive);
        emit dataSetChanged(nullptr);
    });
}

void DataSource::reportState(DataSetState state)
{
    if (state == DataSetState::CalcFields || state == reported_)
        return;
    reported_ = state;
    emit stateChanged(state);
}

}  // namespace qmv

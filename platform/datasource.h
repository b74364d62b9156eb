#pragma once
// Points bound widgets and form handlers at a DataSet: reports its state and data changes, and
// passes through the inactive state whenever it is pointed at a dataset, even the same one.
// Does not own the dataset; UI thread only.
#include "platform/dataset.h"

#include <QObject>
#include <QPointer>

namespace qmv {

class DataSource : public QObject {
    Q_OBJECT
public:
    explicit DataSource(QObject* parent = nullptr);

    DataSet* dataSet() const;
    void setDataSet(DataSet* dataSet);
    DataSetState state() const;  // Inactive without a dataset

signals:
    void stateChanged(qmv::DataSetState state);
    // A field of the current record changed (field set), or the record or rows changed (nullptr).
    void dataChanged(qmv::Field* field);
    void dataSetChanged(qmv::DataSet* dataSet);

private:
    void connectTo(DataSet* dataSet);
    void reportState(DataSetState state);

    QPointer<DataSet> dataSet_;
    DataSetState reported_ = DataSetState::Inactive;
    QList<QMetaObject::Connection> connections_;
};

}  // namespace qmv

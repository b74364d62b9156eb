#pragma once
// A table model over a DataSet's view: one row per row the dataset shows (an inserted row
// included), one column per listed field (every visible field when none is listed). Editing a cell
// puts the dataset's current record in edit and writes the field's text. UI thread only.
#include <QAbstractTableModel>
#include <QPointer>
#include <QStringList>

#include "platform/dataset.h"

namespace qmv {

class DataSetModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit DataSetModel(QObject* parent = nullptr);

    void setDataSet(DataSet* dataSet);
    DataSet* dataSet() const { return dataSet_; }
    // The fields shown, in order; empty for every visible field of the dataset.
    void setFieldNames(const QStringList& names);
    QStringList fieldNames() const { return names_; }
    Field* fieldAt(int column) const;  // nullptr when the dataset lacks the field
    void setTitles(const QStringList& titles);  // empty entries fall back to the field's label
    void setTitleAlignments(const QList<Qt::Alignment>& alignments);
    void setReadOnlyColumns(const QList<bool>& readOnly);
    void setReadOnly(bool readOnly);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    // What setData does, with a refusal (of the dataset or the field) thrown to the caller.
    void writeCell(const QModelIndex& index, const QString& text);
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    void reset();
    void onRowChanged(int row);
    void onStateChanged();
    bool editable(int column) const;
    bool valid(const QModelIndex& index) const;
    QStringList effectiveNames() const;

    QPointer<DataSet> dataSet_;
    QStringList names_;
    QStringList shown_;  // the fields of the columns, as last reset
    QStringList titles_;
    QList<Qt::Alignment> titleAlignments_;
    QList<bool> readOnlyColumns_;
    bool readOnly_ = false;
    int rows_ = 0;
    QList<QMetaObject::Connection> connections_;
};

}  // namespace qmv

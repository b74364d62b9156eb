#pragma once
// The link of a data-aware control to one field of a data source: it follows the source's dataset,
// state and data changes and asks the control to show its field again. UI thread only.
#include <QPointer>
#include <QString>
#include <functional>

#include "platform/datasource.h"

namespace qmv {

class FieldLink {
public:
    // OwnField: data changes of other fields are ignored. AnyField: every data change refreshes
    // (for controls whose text depends on more than their field, such as a calculated one).
    enum class Scope { OwnField, AnyField };

    FieldLink(QObject* owner, std::function<void()> refresh, Scope scope = Scope::OwnField);

    // While `quiet` answers true, the control is writing its own field: its state and data
    // notices are not echoed back to it.
    void setQuiet(std::function<bool()> quiet) { quiet_ = std::move(quiet); }

    void setDataSource(DataSource* source);
    DataSource* dataSource() const { return source_; }
    void setDataField(const QString& fieldName);
    const QString& dataField() const { return fieldName_; }
    Field* field() const;

private:
    bool quiet() const { return quiet_ && quiet_(); }

    QObject* owner_;
    std::function<void()> refresh_;
    Scope scope_;
    std::function<bool()> quiet_;
    QPointer<DataSource> source_;
    QString fieldName_;
};

}  // namespace qmv

#include "platform/dbtext.h"

#include "platform/datasource.h"

namespace qmv {

DBText::DBText(QWidget* parent, const QString& name)
    : QLabel(parent)
{
    setObjectName(name);
}

void DBText::setDataSource(DataSource* source)
{
    if (source_)
        disconnect(source_, nullptr, this, nullptr);
    source_ = source;
    if (source) {
        connect(source, &DataSource::dataChanged, this, &DBText::refresh);
        connect(source, &DataSource::stateChanged, this, &DBText::refresh);
        connect(source, &DataSource::dataSetChanged, this, &DBText::refresh);
    }
    refresh();
}

void DBText::setDataField(const QString& fieldName)
{
    fieldName_ = fieldName;
    refresh();
}

Field* DBText::field() const
{
    DataSet* ds = source_ ? source_->dataSet() : nullptr;
    return ds && !fieldName_.isEmpty() ? ds->findField(fieldName_) : nullptr;
}

void DBText::refresh()
{
    const Field* f = field();
    setText(f && f->dataSet().isActive() ? f->displayText() : QString());
}

}  // namespace qmv

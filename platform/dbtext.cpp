#include "platform/dbtext.h"

#include "platform/datasource.h"

namespace qmv {

DBText::DBText(QWidget* parent, const QString& name)
    : QLabel(parent), link_(this, [this] { refresh(); }, FieldLink::Scope::AnyField)
{
    setObjectName(name);
}

void DBText::setDataSource(DataSource* source)
{
    link_.setDataSource(source);
}

void DBText::setDataField(const QString& fieldName)
{
    link_.setDataField(fieldName);
}

Field* DBText::field() const
{
    return link_.field();
}

void DBText::refresh()
{
    const Field* f = field();
    setText(f && f->dataSet().isActive() ? f->displayText() : QString());
}

}  // namespace qmv

#pragma once
// A label showing the display text of one field of a data source's current record (the record
// name beside a navigator). UI thread only.
#include <QLabel>
#include <QPointer>

#include "platform/datasource.h"
#include "platform/fieldlink.h"

namespace qmv {


class DBText : public QLabel {
    Q_OBJECT
public:
    explicit DBText(QWidget* parent = nullptr, const QString& name = QString());

    void setDataSource(DataSource* source);
    DataSource* dataSource() const { return link_.dataSource(); }
    void setDataField(const QString& fieldName);
    QString dataField() const { return link_.dataField(); }
    Field* field() const;

private:
    void refresh();

    FieldLink link_;
};

}  // namespace qmv

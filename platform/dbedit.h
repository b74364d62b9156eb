#pragma once
// An edit bound to one field of a data source. It shows the field's display text, and its edit
// text while it has the focus; typing puts the dataset in edit and writes the field (through the
// field's edit mask, see editmask.h) as the text becomes acceptable; leaving it writes what is
// typed, and a value the field refuses is reported (naming the field's label) and keeps the
// focus here. A box with nothing typed stores no value. UI thread only.
#include <QPointer>

#include "platform/editmask.h"
#include "platform/maskedit.h"

#include "platform/datasource.h"
#include "platform/fieldlink.h"

namespace qmv {

class DBEdit : public MaskEdit {
    Q_OBJECT
public:
    explicit DBEdit(QWidget* parent = nullptr, const QString& name = QString());

    void setDataSource(DataSource* source);
    DataSource* dataSource() const { return link_.dataSource(); }
    void setDataField(const QString& fieldName);
    QString dataField() const { return link_.dataField(); }
    Field* field() const;

    // Writes the typed text to the field now; throws what the field or its handlers throw.
    void updateRecord();
    bool isModified() const { return modified_; }

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void refresh();
    void onEdited();
    void applyMask();
    QString valueToStore() const;  // throws when the mask refuses the text

    FieldLink link_;
    EditMask mask_;
    bool modified_ = false;
    bool writing_ = false;
};

}  // namespace qmv

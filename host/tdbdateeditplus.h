#pragma once
// TDBDateEditPlus: a date box (dd/mm/yyyy) bound to a date field. It shows the field's date and
// follows the record; typing puts the dataset in edit and writes the date (date only) once the text
// is a whole valid date, or clears the field when the box is blank. GetDate gives a null date for a
// blank or invalid box; CheckValidDate reports an invalid text and raises. UI thread only.
#include <QColor>
#include <QDate>
#include <QPointer>
#include <QStringList>

#include "platform/datasource.h"
#include "platform/fieldlink.h"
#include "platform/maskedit.h"

namespace qmv {

class TDBDateEditPlus : public MaskEdit {
    Q_OBJECT
public:
    explicit TDBDateEditPlus(QWidget* parent = nullptr, const QString& name = QString());

    void setDataSource(DataSource* source);
    DataSource* dataSource() const { return link_.dataSource(); }
    void setDataField(const QString& fieldName);
    QString dataField() const { return link_.dataField(); }
    Field* field() const;

    QDate GetDate() const;
    // Shows the date; a null date (zero) blanks the box. Writes the field only when the dataset is
    // being edited.
    void SetDate(const QDate& date);
    bool isBlank() const;
    // Blank or a valid date: nothing. Otherwise shows the box's own message and throws qmv::Abort.
    void CheckValidDate() const;

    QStringList weekDays() const { return weekDays_; }
    void setWeekDays(const QStringList& names) { weekDays_ = names; }
    QString dayName() const;  // the name of the box's date; empty when it has none
    QColor validDateColor() const { return validColor_; }
    void setValidDateColor(const QColor& color);

protected:
    void focusOutEvent(QFocusEvent* event) override;

private:
    void refresh();
    void onEdited();
    void writeField();
    void paintValidity();

    FieldLink link_;
    QStringList weekDays_;
    QColor validColor_ = Qt::blue;
    bool writing_ = false;
};

}  // namespace qmv

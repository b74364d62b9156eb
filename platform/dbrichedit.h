#pragma once
// A rich-text editor bound to one field of a data source. It shows the field's content (an RTF
// document in a large-object field, or plain text); typing puts the dataset in edit and writes the
// whole document back to the field at once, as RTF or, in the plain-text variant, as its text
// without formatting, so a post made from anywhere stores what is shown. UI thread only.
#include <QPointer>
#include <QTextEdit>

#include "platform/datasource.h"
#include "platform/fieldlink.h"

namespace qmv {

class DBRichEdit : public QTextEdit {
    Q_OBJECT
public:
    enum class Storage { RichText, PlainText };

    explicit DBRichEdit(QWidget* parent = nullptr, const QString& name = QString(),
                        Storage storage = Storage::RichText);

    void setDataSource(DataSource* source);
    DataSource* dataSource() const { return link_.dataSource(); }
    void setDataField(const QString& fieldName);
    QString dataField() const { return link_.dataField(); }
    Field* field() const;
    Storage storage() const { return storage_; }

    // The whole content as an RTF document (what a file export writes).
    QByteArray toRtf() const;
    // The text without formatting, line breaks included.
    QString plainContent() const;
    // Replaces the whole content with rich text (plain text when it is not RTF), as a person's
    // edit: the dataset enters edit and the field is written. Throws RtfError for RTF it cannot
    // read (the editor is then unchanged) and what the dataset's handlers throw.
    void loadContent(const QByteArray& data);

    // Writes the document to the field now; throws what the field or its handlers throw.
    void updateRecord();

private:
    void refresh();
    void show(const QVariant& value);
    void showPlain(const QString& text);
    QVariant valueToStore() const;
    void onContentsChanged();
    bool enterEdit();

    FieldLink link_;
    Storage storage_;
    QVariant shown_;       // the field value the document shows or was written from
    bool loading_ = false;  // the document is being filled from the field
    bool writing_ = false;  // the field is being written from the document
    bool unreadable_ = false;  // the field holds RTF that could not be read
};

}  // namespace qmv

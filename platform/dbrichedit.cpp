#include "platform/dbrichedit.h"

#include "platform/plaintext.h"
#include "platform/rtfreader.h"
#include "platform/rtfwriter.h"
#include "platform/widgetaction.h"

#include <QTextCursor>
#include <QTextDocument>

namespace qmv {

DBRichEdit::DBRichEdit(QWidget* parent, const QString& name, Storage storage)
    : QTextEdit(parent), link_(this, [this] { refresh(); }), storage_(storage)
{
    setObjectName(name);
    connect(document(), &QTextDocument::contentsChanged, this, &DBRichEdit::onContentsChanged);
    refresh();
}

void DBRichEdit::setDataSource(DataSource* source)
{
    shown_ = QVariant();
    link_.setDataSource(source);
}

void DBRichEdit::setDataField(const QString& fieldName)
{
    shown_ = QVariant();
    link_.setDataField(fieldName);
}

Field* DBRichEdit::field() const
{
    return link_.field();
}

QByteArray DBRichEdit::toRtf() const { return writeRtf(*document()); }

QString DBRichEdit::plainContent() const { return plainText(*document()); }

// Reloads only when the field holds something other than what the document shows, so the
// caret stays where it is when the editor's own value comes back (a post, a state change).
void DBRichEdit::refresh()
{
    if (writing_)
        return;
    const Field* f = field();
    const bool active = f && f->dataSet().isActive();
    const QVariant value = active ? f->value() : QVariant();
    if (value.isNull() && shown_.isNull() && !document()->isEmpty())
        show(value);
    else if (value != shown_ || value.isNull() != shown_.isNull())
        show(value);
    setReadOnly(!active || f->readOnly() || f->isCalculated() || unreadable_);
}

void DBRichEdit::show(const QVariant& value)
{
    loading_ = true;
    unreadable_ = false;
    try {
        if (storage_ == Storage::PlainText)
            showPlain(value.toString());
        else
            readRtf(value.toByteArray(), *document());
        setToolTip(QString());
    } catch (const RtfError& e) {
        unreadable_ = true;  // what cannot be read stays as stored: typing cannot overwrite it
        setToolTip(QString::fromStdString(e.what()));
    }
    loading_ = false;
    shown_ = value;
}

// Plain text starts unformatted, whatever format the caret had.
void DBRichEdit::showPlain(const QString& text)
{
    QTextDocument& doc = *document();
    const bool undo = doc.isUndoRedoEnabled();
    doc.setUndoRedoEnabled(false);
    doc.clear();
    QTextCursor(&doc).insertText(text, QTextCharFormat());
    doc.setUndoRedoEnabled(undo);
    setCurrentCharFormat(QTextCharFormat());
}

QVariant DBRichEdit::valueToStore() const
{
    if (storage_ == Storage::PlainText)
        return plainContent();
    return toRtf();
}

bool DBRichEdit::enterEdit()
{
    Field* f = field();
    if (!f || !f->dataSet().isActive() || isReadOnly())
        return false;
    DataSet& ds = f->dataSet();
    if (ds.state() != DataSetState::Browse)
        return true;
    writing_ = true;  // what was typed stays while the dataset enters edit (or insert)
    const bool editing = runWidgetAction([&] { ds.edit(); });
    writing_ = false;
    return editing;
}

void DBRichEdit::onContentsChanged()
{
    if (loading_ || !field())
        return;
    if (!enterEdit()) {
        shown_ = QVariant();
        return refresh();
    }
    runWidgetAction([this] { updateRecord(); });
}

void DBRichEdit::updateRecord()
{
    Field* f = field();
    if (!f)
        return;
    const QVariant value = valueToStore();
    writing_ = true;
    try {
        if (storage_ == Storage::PlainText)
            f->setAsString(value.toString());
        else
            f->setAsBytes(value.toByteArray());
    } catch (...) {
        writing_ = false;
        throw;
    }
    writing_ = false;
    shown_ = f->value();
}

void DBRichEdit::loadContent(const QByteArray& data)
{
    Field* f = field();
    if (!f || !f->dataSet().isActive())
        throw DataSetError("O editor não está ligado a um registro.");
    QTextDocument check;
    readRtf(data, check);  // throws before anything changes
    DataSet& ds = f->dataSet();
    if (ds.state() == DataSetState::Browse) {
        writing_ = true;
        try {
            ds.edit();
        } catch (...) {
            writing_ = false;
            throw;
        }
        writing_ = false;
    }
    loading_ = true;
    readRtf(data, *document());
    loading_ = false;
    unreadable_ = false;
    updateRecord();
}

}  // namespace qmv

#include "platform/dbedit.h"

#include <QFocusEvent>
#include <QTimer>

#include "platform/datasource.h"
#include "platform/widgetaction.h"

namespace qmv {

DBEdit::DBEdit(QWidget* parent, const QString& name)
    : MaskEdit(parent), link_(this, [this] { refresh(); })
{
    link_.setQuiet([this] { return writing_; });
    setObjectName(name);
    connect(this, &QLineEdit::textEdited, this, &DBEdit::onEdited);
}

void DBEdit::setDataSource(DataSource* source)
{
    link_.setDataSource(source);
}

void DBEdit::setDataField(const QString& fieldName)
{
    link_.setDataField(fieldName);
}

Field* DBEdit::field() const
{
    return link_.field();
}

void DBEdit::applyMask()
{
    const Field* f = field();
    const EditMask mask(f ? f->editMask() : QString());
    mask_ = mask;
    const QString qtMask = hasFocus() ? mask.inputMask() : QString();
    if (inputMask() != qtMask)
        setInputMask(qtMask);
    const bool text = f && (f->kind() == FieldKind::Text || f->kind() == FieldKind::FixedText);
    setMaxLength(text && f->size() > 0 && mask.isEmpty() ? f->size() : 32767);
}

void DBEdit::refresh()
{
    const Field* f = field();
    const bool active = f && f->dataSet().isActive();
    applyMask();
    QString text;
    if (active)
        text = hasFocus() ? (mask_.isEmpty() ? f->editText() : mask_.format(f->editText())) : f->displayText();
    if (this->text() != text)
        setText(text);
    modified_ = false;
    setReadOnly(!f || f->readOnly() || f->isCalculated());
}

QString DBEdit::valueToStore() const
{
    if (mask_.isEmpty())
        return text();
    const std::optional<QString> value = mask_.accept(displayText());
    if (!value)
        throw DataSetError(QStringLiteral("Valor inválido para %1: \"%2\".")
                               .arg(field() ? field()->label() : link_.dataField(), text()).toStdString());
    return *value;
}

void DBEdit::onEdited()
{
    Field* f = field();
    if (!f || !f->dataSet().isActive())
        return;
    DataSet& ds = f->dataSet();
    if (ds.state() == DataSetState::Browse) {
        writing_ = true;  // the typed text stays while the dataset enters edit
        const bool editing = runWidgetAction([&] { ds.edit(); });
        writing_ = false;
        if (!editing) {
            refresh();
            return;
        }
    }
    modified_ = true;
    // Written as it becomes acceptable, so a post from a toolbar (which takes no focus) sees it.
    try {
        const QString value = valueToStore();
        writing_ = true;
        f->setText(value);
        writing_ = false;
    } catch (...) {
        writing_ = false;  // incomplete text: written, and reported, when the edit is left
    }
}

void DBEdit::updateRecord()
{
    Field* f = field();
    if (!modified_ || !f)
        return;
    const QString value = valueToStore();
    writing_ = true;
    try {
        f->setText(value);
    } catch (...) {
        writing_ = false;
        throw;
    }
    writing_ = false;
    modified_ = false;
}

void DBEdit::focusInEvent(QFocusEvent* event)
{
    MaskEdit::focusInEvent(event);
    if (!modified_)
        refresh();
}

void DBEdit::focusOutEvent(QFocusEvent* event)
{
    MaskEdit::focusOutEvent(event);
    // Another window taking the focus (a message box, another program) is not leaving the box:
    // the text is written and checked when the person leaves it or confirms.
    if (event->reason() == Qt::ActiveWindowFocusReason)
        return;
    if (!runWidgetAction([this] { updateRecord(); })) {
        QTimer::singleShot(0, this, [this] { setFocus(Qt::OtherFocusReason); });
        return;
    }
    if (!modified_)
        refresh();
}

}  // namespace qmv

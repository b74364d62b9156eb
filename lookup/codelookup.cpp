#include "lookup/codelookup.h"

#include <QApplication>
#include <QFocusEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QValidator>

#include "host/guard.h"
#include "host/menserro.h"
#include "host/routines.h"
#include "host/tbtnpesquisa.h"
#include "platform/dataset.h"

namespace qmv {

namespace {

class UpperCaseValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override
    {
        input = input.toUpper();
        return Acceptable;
    }
};

// The focus went to another control of the same window: not to another window, a popup, a
// menu, a frame holding the edit, or nowhere (a window closing or being deactivated), not because
// the edit itself was disabled or hidden, and not because a lookup button put it on its code edit.
bool leftForControlOfSameWindow(const QWidget& left, const QFocusEvent& event)
{
    if (!left.isEnabled() || !left.isVisible() || TBtnPesquisa::movingFocus())
        return false;
    switch (event.reason()) {
    case Qt::ActiveWindowFocusReason:
    case Qt::PopupFocusReason:
    case Qt::MenuBarFocusReason:
        return false;
    default:
        break;
    }
    const QWidget* now = QApplication::focusWidget();
    return now && now != &left && now->window() == left.window() && !now->isAncestorOf(&left) &&
           !qobject_cast<const QMenuBar*>(now);
}

}  // namespace

CodeLookup::CodeLookup(QLineEdit& codeEdit, QLineEdit& nameBox, QObject* parent)
    : QObject(parent), code_(&codeEdit), name_(&nameBox), lastText_(codeEdit.text())
{
    code_->installEventFilter(this);
    connect(code_, &QLineEdit::textChanged, this, [this] { textEdited(); });
}

CodeLookup::~CodeLookup()
{
    if (code_)
        code_->removeEventFilter(this);
}

QString CodeLookup::code() const
{
    const QString text = code_->text();
    if (!code_->inputMask().isEmpty()) {
        // A masked edit left blank still reads as its literals ("..").
        QLineEdit blank;
        blank.setInputMask(code_->inputMask());
        if (text == blank.text())
            return QString();
    }
    return text.trimmed();
}

void CodeLookup::setSource(DataSet* source, const QString& codeColumn, const QString& nameColumn)
{
    source_ = source;
    codeColumn_ = codeColumn;
    nameColumn_ = nameColumn;
}

void CodeLookup::bindButton(TBtnPesquisa& button, DataSource* listSource)
{
    if (!listSource) {
        ownSource_.setDataSet(source_);
        listSource = &ownSource_;
    }
    button.setAssociate(code_);
    button.setDataSource(listSource);
    button.BeforePesq = [this](QObject*, bool&) { beforeList(); };
    button.AfterPesq = [this](QObject*) { afterList(); };
}

void CodeLookup::addCopy(const QString& column, QLineEdit& box)
{
    copies_.append({column, QPointer<QLineEdit>(&box)});
}

void CodeLookup::makeNameBox(QLineEdit& box)
{
    box.setReadOnly(true);
    box.setEnabled(false);
    box.setFocusPolicy(Qt::NoFocus);
}

void CodeLookup::setUpperCaseEntry(int maxLength)
{
    code_->setMaxLength(maxLength);
    code_->setValidator(new UpperCaseValidator(code_));
}

void CodeLookup::beforeList()
{
    if (onBeforeList)
        onBeforeList();
}

void CodeLookup::afterList()
{
    if (!source_ || !source_->isActive() || source_->isEmpty())
        return;
    DataSet& row = *source_;
    // The code goes first: a different code clears the name and the dependants through change().
    code_->setText(row.fieldByName(codeColumn_).asString());
    name_->setText(row.fieldByName(nameColumn_).asString());
    for (const auto& [column, box] : copies_) {
        if (box)
            box->setText(row.fieldByName(column).asString());
    }
    if (onAfterCopy)
        onAfterCopy(row);
}

void CodeLookup::change()
{
    name_->setText(QString());
    for (const auto& copy : copies_) {
        if (copy.second)
            copy.second->setText(QString());
    }
    if (dependent_)
        dependent_->setText(QString());  // its own group clears its dependants in turn
    if (onChange)
        onChange();
}

void CodeLookup::exit()
{
    if (onExit)
        onExit();
}

void CodeLookup::validateTyped(const QString& invalidMessage)
{
    const QString typed = code();
    if (EmptyString(typed) || !name_->text().isEmpty())
        return;
    if (!findExact || !findExact(typed)) {
        refocus();
        MensErro(invalidMessage, true);
    }
    afterList();
}

void CodeLookup::validateRequired(bool required, const RequiredRule& rule)
{
    try {
        const QString typed = code();
        if (EmptyString(typed)) {
            if (required)
                MensErro(rule.nullMessage, true);
            return;
        }
        code_->setText(Ajusta(typed, rule.width));
        if (!findExact || !findExact(code()))
            MensErro(rule.invalidMessage, true);
        name_->setText(source_->fieldByName(nameColumn_).asString());
    } catch (...) {
        refocus(rule.onlyWhenEnabled);
        throw;
    }
}

void CodeLookup::refocus(bool onlyWhenEnabled)
{
    if (onlyWhenEnabled && !code_->isEnabled())
        return;
    code_->setFocus(Qt::OtherFocusReason);
}

bool CodeLookup::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == code_ && event->type() == QEvent::FocusOut &&
        leftForControlOfSameWindow(*code_, static_cast<QFocusEvent&>(*event)))
        leave();
    return QObject::eventFilter(watched, event);
}

void CodeLookup::textEdited()
{
    const QString text = code_->text();
    if (text == lastText_)
        return;
    lastText_ = text;
    guard([this] { change(); });
}

void CodeLookup::leave()
{
    if (leaving_)
        return;
    leaving_ = true;
    const bool ok = guard([this] { exit(); });
    leaving_ = false;
    // A failed exit abandons the user's move: the focus stays on the code.
    if (!ok && code_ && QApplication::focusWidget() != code_)
        refocus();
}

}  // namespace qmv

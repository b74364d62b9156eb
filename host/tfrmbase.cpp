#include "host/tfrmbase.h"

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QBoxLayout>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QRadioButton>

#include "host/guard.h"
#include "host/help.h"
#include "host/tbuttonflat.h"
#include "host/tmessages.h"

namespace qmv {

bool enterMovesOn(const QWidget* focus)
{
    if (!focus)
        return false;
    const bool field = qobject_cast<const QLineEdit*>(focus) || qobject_cast<const QComboBox*>(focus)
        || qobject_cast<const QAbstractSpinBox*>(focus) || qobject_cast<const QCheckBox*>(focus)
        || qobject_cast<const QRadioButton*>(focus);
    if (!field)
        return false;
    for (const QWidget* w = focus->parentWidget(); w; w = w->parentWidget())
        if (qobject_cast<const QAbstractItemView*>(w))
            return false;  // a grid's cell editor: Enter is the grid's
    return true;
}

TfrmBase::TfrmBase(QWidget* parent, Qt::WindowFlags flags)
    : QWidget(parent, flags)
    , lblCodTela(new QLabel(this))
    , msgPadrao(new TMessages(this, QStringLiteral("msgPadrao")))
{
    lblCodTela->setObjectName(QStringLiteral("lblCodTela"));
    qApp->installEventFilter(this);
}

TfrmBase::~TfrmBase()
{
    qApp->removeEventFilter(this);
}

void TfrmBase::setScreenCode(const QString& code)
{
    lblCodTela->setText(code);
}

QString TfrmBase::screenCode() const
{
    return lblCodTela->text();
}

void TfrmBase::setHelp(const QString& helpFile, int helpContext)
{
    helpFile_ = helpFile;
    helpContext_ = helpContext;
}

void TfrmBase::setCommandLayout(QBoxLayout* layout, int insertAt)
{
    commandLayout_ = layout;
    commandInsertAt_ = insertAt;
}

void TfrmBase::addCommandButton(TButtonFlat* button)
{
    if (!commandLayout_)
        return;
    commandLayout_->insertWidget(commandInsertAt_++, button);
}

void TfrmBase::FormCreate() {}

void TfrmBase::FormClose(TCloseAction& action)
{
    action = caFree;
}

void TfrmBase::ShowHelp()
{
    ShowHelpContext(helpFile_, helpContext_);
}

void TfrmBase::FormKeyDown(int& key, Qt::KeyboardModifiers shift)
{
    if (shift != Qt::NoModifier && shift != Qt::KeypadModifier)
        return;
    QWidget* focus = QApplication::focusWidget();
    switch (key) {
    case Qt::Key_F1:
        key = 0;
        ShowHelp();
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (enterMovesOn(focus)) {
            key = 0;
            focusNextChild();
        }
        break;
    case Qt::Key_Escape:
        if (focus && focus != this && !enterMovesOn(focus) && qobject_cast<QLineEdit*>(focus))
            break;  // a grid's cell editor: Esc leaves the cell first
        if (EscapeKey())
            key = 0;
        break;
    default:
        break;
    }
}

bool TfrmBase::previewKey(QWidget*, QKeyEvent* event)
{
    int key = event->key();
    const bool ran = guard([&] { FormKeyDown(key, event->modifiers()); });
    return !ran || key == 0;
}

bool TfrmBase::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && watched->isWidgetType()) {
        auto* target = static_cast<QWidget*>(watched);
        QWidget* focus = QApplication::focusWidget();
        const bool first = focus ? target == focus : target == this;  // not again while it propagates
        if (first && (target == this || isAncestorOf(target)) && isVisible() && isEnabled())
            return previewKey(target, static_cast<QKeyEvent*>(event));
    }
    return QWidget::eventFilter(watched, event);
}

void TfrmBase::closeEvent(QCloseEvent* event)
{
    TCloseAction action = caHide;
    if (!guard([&] { FormClose(action); }) || action == caNone) {
        event->ignore();  // a close handler that stops keeps the window
        return;
    }
    auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget());
    if (action == caMinimize) {
        event->ignore();
        (frame ? static_cast<QWidget*>(frame) : this)->showMinimized();
        return;
    }
    event->accept();
    if (frame)
        frame->hide();
    if (action == caFree) {
        // Deleted once the event loop that saw the close is left: code after a modal show that
        // returns because of this close still finds the form.
        deleteLater();
        if (frame)
            frame->deleteLater();
    }
}

}  // namespace qmv

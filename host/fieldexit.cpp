#include "host/fieldexit.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QWidget>

#include "host/guard.h"

namespace qmv {

bool leftForControlOfSameWindow(const QWidget& left, const QFocusEvent& event)
{
    if (!left.isEnabled() || !left.isVisible())
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
    return now && now != &left && now->window() == left.window();
}

FieldExit::FieldExit(QWidget& control, QObject* parent)
    : QObject(parent)
    , control_(&control)
{
    control.installEventFilter(this);
}

bool FieldExit::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != control_)
        return QObject::eventFilter(watched, event);
    if (event->type() == QEvent::KeyPress && onKeyPress)
        guard([&] { onKeyPress(static_cast<QKeyEvent&>(*event)); });
    if (event->type() == QEvent::FocusOut && onExit && !leaving_
        && leftForControlOfSameWindow(*control_, static_cast<QFocusEvent&>(*event))) {
        leaving_ = true;
        const bool ok = guard([this] { onExit(); });
        leaving_ = false;
        if (!ok && control_ && QApplication::focusWidget() != control_)
            control_->setFocus(Qt::OtherFocusReason);
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace qmv

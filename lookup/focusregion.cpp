#include "lookup/focusregion.h"

#include <QApplication>
#include <QMenu>
#include <QMenuBar>

#include "host/guard.h"

namespace qmv {

FocusRegion::FocusRegion(QWidget& container, QObject* parent)
    : QObject(parent), container_(&container), inside_(contains(windowFocus()))
{
    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget*, QWidget* now) { focusChanged(now); });
}

bool FocusRegion::contains(const QWidget* widget) const
{
    return widget && container_ && (widget == container_ || container_->isAncestorOf(widget));
}

bool FocusRegion::isControlOfWindow(const QWidget* widget) const
{
    return widget && container_ && container_->isVisible() && widget->window() == container_->window() &&
           !widget->isAncestorOf(container_) && !qobject_cast<const QMenuBar*>(widget) &&
           !qobject_cast<const QMenu*>(widget);
}

QWidget* FocusRegion::windowFocus() const
{
    QWidget* focus = container_ ? container_->window()->focusWidget() : nullptr;
    return isControlOfWindow(focus) ? focus : nullptr;
}

void FocusRegion::focusChanged(QWidget* now)
{
    if (!isControlOfWindow(now))
        return;
    const bool nowInside = contains(now);
    if (nowInside)
        lastInside_ = now;
    if (running_) {
        inside_ = nowInside;
        return;
    }
    if (nowInside == inside_)
        return;
    inside_ = nowInside;
    running_ = true;
    const bool ok = guard([&] {
        const auto& handler = nowInside ? onEnter : onExit;
        if (handler)
            handler();
    });
    if (!ok && !nowInside)
        restoreAfterFailedExit();
    running_ = false;
    // Where the handlers left the window's focus decides the state, whatever they did; a message
    // box shown meanwhile may still hold the application's focus.
    if (const QWidget* focus = windowFocus())
        inside_ = contains(focus);
}

void FocusRegion::restoreAfterFailedExit()
{
    if (contains(windowFocus()))
        return;
    if (lastInside_ && lastInside_->isEnabled() && lastInside_->isVisible())
        lastInside_->setFocus(Qt::OtherFocusReason);
}

}  // namespace qmv

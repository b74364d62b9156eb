#include "lookup/focusregion.h"

#include <QApplication>

#include "host/guard.h"

namespace qmv {

FocusRegion::FocusRegion(QWidget& container, QObject* parent)
    : QObject(parent), container_(&container), inside_(contains(QApplication::focusWidget()))
{
    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget*, QWidget* now) { focusChanged(now); });
}

bool FocusRegion::contains(const QWidget* widget) const
{
    return widget && container_ && (widget == container_ || container_->isAncestorOf(widget));
}

void FocusRegion::focusChanged(QWidget* now)
{
    if (!container_ || !now || now->window() != container_->window())
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
    // Where the handlers left the focus decides the state, whatever they did.
    const QWidget* focus = QApplication::focusWidget();
    if (focus && container_ && focus->window() == container_->window())
        inside_ = contains(focus);
}

void FocusRegion::restoreAfterFailedExit()
{
    if (contains(QApplication::focusWidget()))
        return;
    if (lastInside_ && lastInside_->isEnabled() && lastInside_->isVisible())
        lastInside_->setFocus(Qt::OtherFocusReason);
}

}  // namespace qmv

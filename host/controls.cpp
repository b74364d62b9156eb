#include "host/controls.h"

#include <QApplication>
#include <QList>
#include <QVariant>
#include <QWidget>

#include "platform/dbgrid.h"

namespace qmv {

namespace {

bool takesFocus(const QWidget* w, bool checkTabStop)
{
    if (!w->isVisible() || !w->isEnabled() || w->focusProxy())
        return false;
    return checkTabStop ? (w->focusPolicy() & Qt::TabFocus) : w->focusPolicy() != Qt::NoFocus;
}

// The controls inside container, in the window's tab order.
QList<QWidget*> tabOrderInside(QWidget* container, bool checkTabStop, bool checkParent)
{
    QList<QWidget*> out;
    for (QWidget* w = container->nextInFocusChain(); w && w != container; w = w->nextInFocusChain()) {
        if (!container->isAncestorOf(w) || out.contains(w))
            continue;
        if (checkParent && w->parentWidget() != container)
            continue;
        if (takesFocus(w, checkTabStop))
            out << w;
    }
    return out;
}

}  // namespace

QWidget* SelectNextControl(QWidget* container, bool goForward, bool checkTabStop, bool checkParent)
{
    if (!container)
        return nullptr;
    const QList<QWidget*> order = tabOrderInside(container, checkTabStop, checkParent);
    if (order.isEmpty())
        return nullptr;
    const qsizetype at = order.indexOf(QApplication::focusWidget());
    qsizetype next;
    if (at < 0)
        next = goForward ? 0 : order.size() - 1;
    else
        next = (at + (goForward ? 1 : order.size() - 1)) % order.size();
    QWidget* target = order[next];
    target->setFocus(goForward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    return target;
}

QWidget* SelectFirstControl(QWidget* parent)
{
    if (!parent)
        return nullptr;
    const QList<QWidget*> order = tabOrderInside(parent, true, false);
    if (order.isEmpty())
        return nullptr;
    order.first()->setFocus(Qt::TabFocusReason);
    return order.first();
}

void SetChildEnabled(QWidget* container, bool enabled)
{
    if (!container)
        return;
    // Controls disabled for a reason of their own (a read-only name box, a branch the host
    // fixes) stay disabled: enabling gives back only what disabling took.
    static const char* const tookKey = "qmvDisabledByContainer";
    for (QWidget* child : container->findChildren<QWidget*>()) {
        const bool ownDisable = child->testAttribute(Qt::WA_ForceDisabled);
        if (!enabled && !ownDisable) {
            child->setProperty(tookKey, true);
            child->setEnabled(false);
        } else if (enabled && child->property(tookKey).toBool()) {
            child->setProperty(tookKey, QVariant());
            child->setEnabled(true);
        }
    }
}

int IndiceCol(const DBGrid& grid, const QString& fieldName)
{
    for (int i = 0; i < grid.columnCount(); ++i)
        if (grid.columnField(i).compare(fieldName, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

}  // namespace qmv

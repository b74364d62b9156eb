#include "host/tcustompagecontrol98.h"

#include <QApplication>
#include <QEvent>
#include <QTabBar>

namespace qmv {

TCustomPageControl98::TCustomPageControl98(QWidget* parent, const QString& name)
    : QTabWidget(parent)
{
    setObjectName(name);
    connect(this, &QTabWidget::currentChanged, this, [this](int) {
        if (!fromCode_)
            emit Change(this);
    });
    tabBar()->installEventFilter(this);
}

// Hiding a page that holds the focus would pass it on along the focus chain, out of the page
// control (into whatever comes next on the form) before the new page takes it: the page control
// takes it first, as it does when a person clicks a tab.
void TCustomPageControl98::keepFocusInside()
{
    QWidget* focus = QApplication::focusWidget();
    if (focus && currentWidget() && currentWidget()->isAncestorOf(focus))
        tabBar()->setFocus(Qt::OtherFocusReason);
}

QWidget* TCustomPageControl98::addSheet(QWidget* sheet, const QString& caption)
{
    fromCode_ = true;  // the first sheet becomes current without a person choosing it
    addTab(sheet, caption);
    fromCode_ = false;
    sheet->installEventFilter(this);
    syncTab(sheet);
    return sheet;
}

void TCustomPageControl98::SetActivePage(QWidget* sheet)
{
    if (indexOf(sheet) < 0)
        return;
    if (sheet != currentWidget())
        keepFocusInside();
    fromCode_ = true;
    setCurrentWidget(sheet);
    fromCode_ = false;
}

bool TCustomPageControl98::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == tabBar() && event->type() == QEvent::MouseButtonPress)
        keepFocusInside();
    if (event->type() == QEvent::EnabledChange)
        if (auto* sheet = qobject_cast<QWidget*>(watched))
            syncTab(sheet);
    if (event->type() == QEvent::Hide)
        if (auto* sheet = qobject_cast<QWidget*>(watched))
            keepFocusOnPages(sheet);
    return QTabWidget::eventFilter(watched, event);
}

// Qt would move the focus of a hidden page to the next control of the window's focus chain,
// which may lie anywhere (a selection panel above the pages, say).
void TCustomPageControl98::keepFocusOnPages(QWidget* leaving)
{
    const QWidget* focus = window()->focusWidget();
    if (focus && leaving->isAncestorOf(focus) && isVisible() && tabBar()->isEnabled())
        tabBar()->setFocus(Qt::OtherFocusReason);
}

void TCustomPageControl98::syncTab(QWidget* sheet)
{
    const int index = indexOf(sheet);
    if (index < 0)
        return;
    // Only the sheet's own setting counts: a disabled page control disables every sheet with it.
    const bool own = !sheet->testAttribute(Qt::WA_ForceDisabled);
    if (tabBar()->isTabEnabled(index) != own) {
        fromCode_ = true;  // disabling the current tab may move the bar to another one
        tabBar()->setTabEnabled(index, own);
        fromCode_ = false;
    }
}

}  // namespace qmv

#include "host/childhost.h"

#include <QWidget>

namespace qmv {

namespace {

ChildHost* installed = nullptr;

QWidget& frameOrForm(QWidget& form)
{
    QWidget* frame = installed ? installed->frameOf(form) : nullptr;
    return frame ? *frame : form;
}

}  // namespace

void setChildHost(ChildHost* host)
{
    installed = host;
}

QWidget* hostMainWindow()
{
    return installed ? installed->mainWindow() : nullptr;
}

void showChildWindow(QWidget& form)
{
    if (installed) {
        installed->showChild(form);
        return;
    }
    form.show();
    form.raise();
    form.activateWindow();
}

Qt::WindowStates childWindowState(QWidget& form)
{
    return frameOrForm(form).windowState();
}

void setChildWindowState(QWidget& form, Qt::WindowStates state)
{
    QWidget& target = frameOrForm(form);
    // A child frame told its own state again loses its size; being the active frame is no state
    // of the window's shape, so it is kept and left out of the comparison.
    const Qt::WindowStates active = target.windowState() & Qt::WindowActive;
    if ((target.windowState() & ~Qt::WindowActive) != (state & ~Qt::WindowActive))
        target.setWindowState((state & ~Qt::WindowActive) | active);
}

}  // namespace qmv

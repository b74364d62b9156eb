#include "host/shell/application.h"

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
    if (target.windowState() != state)  // a child frame told its own state again loses its size
        target.setWindowState(state);
}

}  // namespace qmv

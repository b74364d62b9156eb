#pragma once
// The host application as the screens see it: its main window and the service that shows a screen
// as a child window of that main window. The shell installs itself at start; with no shell installed
// (tests, tools) a screen opens as a top-level window. UI thread only.
#include <Qt>

class QWidget;

namespace qmv {

class ChildHost {
public:
    virtual ~ChildHost() = default;
    virtual QWidget* mainWindow() = 0;
    // Adds the form as a child window the first time, shows it and brings it to the front.
    virtual void showChild(QWidget& form) = 0;
    // The window that carries the form's frame (its child frame), or nullptr when it has none.
    virtual QWidget* frameOf(QWidget& form) = 0;
};

void setChildHost(ChildHost* host);

// The host's main window (the first argument of the busy indicator), nullptr without a shell.
QWidget* hostMainWindow();
void showChildWindow(QWidget& form);
// The state of the window the person sees: the child frame's when there is one, else the form's.
Qt::WindowStates childWindowState(QWidget& form);
void setChildWindowState(QWidget& form, Qt::WindowStates state);

}  // namespace qmv

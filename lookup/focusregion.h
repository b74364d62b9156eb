#pragma once
// Watches the focus entering and leaving a container (a selection panel) as a whole: moving
// between controls inside it fires nothing; a move from a control outside to one inside fires
// onEnter, from inside to a control outside onExit, after the exit handler of the control left.
// Only the container window's own controls count: the focus passing to another window (message
// box, list window, busy window), to a menu or menu bar, to a widget that holds the container (a
// child window's frame), or to nowhere neither leaves nor enters, so coming back from there fires
// nothing either; nor does anything while the container is hidden (its window closing, say). Focus changes made by the handlers themselves
// (a failed exit putting the focus back inside) fire nothing. When the exit handler fails and
// leaves the focus outside, the focus goes back to the control it left, so a failed exit keeps
// the focus in the container. Handlers run through the host guard. UI thread only.
#include <QObject>
#include <QPointer>
#include <QWidget>
#include <functional>

namespace qmv {

class FocusRegion : public QObject {
    Q_OBJECT
public:
    explicit FocusRegion(QWidget& container, QObject* parent = nullptr);

    std::function<void()> onEnter;
    std::function<void()> onExit;

    // Whether the focus is taken to be inside the container.
    bool inside() const { return inside_; }

private:
    void focusChanged(QWidget* now);
    void restoreAfterFailedExit();
    bool contains(const QWidget* widget) const;
    bool isControlOfWindow(const QWidget* widget) const;
    // The control holding the window's focus, or the one that gets it back when the window is
    // active again.
    QWidget* windowFocus() const;

    QPointer<QWidget> container_;
    QPointer<QWidget> lastInside_;
    bool inside_ = false;
    bool running_ = false;
};

}  // namespace qmv

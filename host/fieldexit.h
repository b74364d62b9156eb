#pragma once
// A control's own exit and key-press handlers. The exit runs when the focus leaves the control for
// another control of the same window (not for a menu, a message box or another window, and not
// because the control was disabled or hidden); a failed exit puts the focus back on the control.
// Both run through the host guard. UI thread only.
#include <QObject>
#include <QPointer>
#include <functional>

class QFocusEvent;
class QKeyEvent;
class QWidget;

namespace qmv {

// True when the focus went from `left` to another control of its window by the person's move.
bool leftForControlOfSameWindow(const QWidget& left, const QFocusEvent& event);

class FieldExit : public QObject {
    Q_OBJECT
public:
    FieldExit(QWidget& control, QObject* parent);

    std::function<void()> onExit;
    std::function<void(QKeyEvent&)> onKeyPress;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QWidget> control_;
    bool leaving_ = false;
};

}  // namespace qmv

#pragma once
// TButtonFlat: a flat toolbar button with a hint; the toggle variant keeps a down state that code
// reads. Click() presses it from code (a disabled button ignores it, as a person's click). UI thread.
#include <QToolButton>

namespace qmv {

class TButtonFlat : public QToolButton {
    Q_OBJECT
public:
    explicit TButtonFlat(QWidget* parent = nullptr, const QString& name = QString(),
                         const QString& hint = QString(), bool toggle = false);

    bool isToggle() const { return isCheckable(); }
    void setToggle(bool toggle) { setCheckable(toggle); }
    bool Down() const { return isCheckable() ? isChecked() : isDown(); }
    void setDownState(bool down);
    void Click();
};

}  // namespace qmv

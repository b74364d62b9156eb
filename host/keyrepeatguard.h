#pragma once
// Keeps a key held down from acting twice around a message box. While the box waits, presses that
// the keyboard repeats are dropped, so the box closes only on a key pressed for it; after it closes,
// repeats of a key still held are dropped too (they would otherwise reach the window behind and
// run again the command that showed the box), until a key is pressed anew. A repeat is a press of a
// key not released since, or one stamped with the time of its key's last release (as the display
// repeats a key: a release and a press at once); Qt does not always mark them. UI thread only.
#include <QObject>
#include <QSet>

class QKeyEvent;

namespace qmv {

class KeyRepeatGuard : public QObject {
public:
    KeyRepeatGuard();
    // The box has closed: the first key pressed anew ends the guard.
    void boxClosed() { boxOpen_ = false; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool repeated(const QKeyEvent& press) const;
    bool pressRepeated(const QKeyEvent& press);

    bool boxOpen_ = true;
    QSet<quint32> down_;  // keys pressed and not released, by scan code
    quint32 lastReleased_ = 0;
    quint64 lastReleaseTime_ = 0;
    // A press reaches the filter once for each widget it goes up through: decided once.
    quint32 decidedKey_ = 0;
    quint64 decidedTime_ = 0;
    bool decidedRepeat_ = false;
};

}  // namespace qmv

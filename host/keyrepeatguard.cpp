#include "host/keyrepeatguard.h"

#include <QCoreApplication>
#include <QKeyEvent>

namespace qmv {

KeyRepeatGuard::KeyRepeatGuard()
{
    QCoreApplication::instance()->installEventFilter(this);
}

bool KeyRepeatGuard::repeated(const QKeyEvent& press) const
{
    const quint32 key = press.nativeScanCode();
    return press.isAutoRepeat() || down_.contains(key)
           || (key == lastReleased_ && press.timestamp() == lastReleaseTime_);
}

bool KeyRepeatGuard::pressRepeated(const QKeyEvent& press)
{
    const quint32 key = press.nativeScanCode();
    if (key == decidedKey_ && press.timestamp() == decidedTime_)
        return decidedRepeat_;
    decidedKey_ = key;
    decidedTime_ = press.timestamp();
    decidedRepeat_ = repeated(press);
    if (!decidedRepeat_) {
        down_.insert(key);
        if (!boxOpen_)
            deleteLater();
    }
    return decidedRepeat_;
}

bool KeyRepeatGuard::eventFilter(QObject*, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease && type != QEvent::ShortcutOverride)
        return false;
    const auto& key = static_cast<const QKeyEvent&>(*event);
    switch (type) {
    case QEvent::KeyRelease:
        down_.remove(key.nativeScanCode());
        lastReleased_ = key.nativeScanCode();
        lastReleaseTime_ = key.timestamp();
        return key.isAutoRepeat();
    case QEvent::ShortcutOverride:
        if (!repeated(key))
            return false;
        event->accept();  // taken: no shortcut runs for a repeat
        return true;
    case QEvent::KeyPress:
        return pressRepeated(key);
    default:
        return false;
    }
}

}  // namespace qmv

#pragma once
// The size of the screen the host shows its windows on, and the 640 by 480 rule of the main screen:
// exactly 640 by 480 maximises the window, any other size leaves it (at creation) or puts it (never at
// activation) in the normal state. The size comes from a replaceable source, the primary screen by
// default, so that the rule can run for any resolution. UI thread only.
#include <QSize>
#include <functional>

class QWidget;

namespace qmv {

using ScreenSizeSource = std::function<QSize()>;

QSize screenSize();
// Installs a source of the screen size; an empty function restores the primary screen.
void setScreenSizeSource(ScreenSizeSource source);

bool isScreen640x480(QSize size);

// At creation and on every IniProc: maximised on 640 by 480, normal on anything else.
void applyWindowStateRule(QWidget& form);
// On activation: maximised on 640 by 480; otherwise the state is left alone.
void maximizeOn640x480(QWidget& form);

}  // namespace qmv

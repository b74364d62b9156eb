#include "Cli_qmv00500/screensize.h"

#include <QGuiApplication>
#include <QScreen>

#include "host/childhost.h"

namespace qmv {

namespace {

ScreenSizeSource& source()
{
    static ScreenSizeSource installed;
    return installed;
}

}  // namespace

QSize screenSize()
{
    if (source())
        return source()();
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->size() : QSize();
}

void setScreenSizeSource(ScreenSizeSource source_)
{
    source() = std::move(source_);
}

bool isScreen640x480(QSize size)
{
    return size.width() == 640 && size.height() == 480;
}

void applyWindowStateRule(QWidget& form)
{
    setChildWindowState(form, isScreen640x480(screenSize()) ? Qt::WindowMaximized : Qt::WindowNoState);
}

void maximizeOn640x480(QWidget& form)
{
    if (isScreen640x480(screenSize()))
        setChildWindowState(form, Qt::WindowMaximized);
}

}  // namespace qmv

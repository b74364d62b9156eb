// Entry of the real-window tests: a private Xvfb display of the size the executable is built for,
// openbox on it, a throw-away configuration folder, the host's look, then the tests. Listing the
// tests needs no display.
#include <QApplication>
#include <QTemporaryDir>
#include <cstdio>
#include <gtest/gtest.h>
#include <memory>

#include "host/shell/hostlook.h"
#include "realwindow/virtualdisplay.h"

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    std::unique_ptr<qmv::test::VirtualDisplay> display;
    QTemporaryDir config;
    if (::testing::GTEST_FLAG(list_tests)) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    } else {
        display = std::make_unique<qmv::test::VirtualDisplay>(QSize(QMV_SCREEN_WIDTH, QMV_SCREEN_HEIGHT));
        if (!display->ready()) {
            std::fprintf(stderr, "real-window tests: %s\n", qPrintable(display->error()));
            return 1;
        }
        qputenv("DISPLAY", display->name().toLatin1());
        qputenv("QT_QPA_PLATFORM", "xcb");
        qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    }
    QApplication app(argc, argv);
    if (!qmv::applyHostLook())
        std::fprintf(stderr, "real-window tests: Qt's pt_BR translations are not installed\n");
    return RUN_ALL_TESTS();
}

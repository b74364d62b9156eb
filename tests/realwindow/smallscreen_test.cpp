// The shell and the main screen on a 640 by 480 screen: the host takes the whole screen, so the
// maximised screen inside it is seen whole.
#include <QGuiApplication>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>
#include <gtest/gtest.h>

#include "Cli_qmv00500/tfrmfotomontmanual.h"
#include "host/shell/shellwindow.h"
#include "realwindow/realshell.h"

namespace qmv {
namespace {

TEST(SmallScreen, TheMaximisedScreenIsSeenWhole)
{
    test::RealShell s;
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    ASSERT_EQ(screen.size(), QSize(640, 480));
    auto* frame = qobject_cast<QMdiSubWindow*>(s.form().parentWidget());
    ASSERT_NE(frame, nullptr);
    ASSERT_TRUE(test::eventually([frame] { return frame->isMaximized(); }));
    s.settle(300);
    EXPECT_TRUE(screen.contains(s.shell().frameGeometry())) << "the shell reaches past the screen";
    const QRect seen(frame->mapToGlobal(QPoint(0, 0)), frame->size());
    EXPECT_TRUE(screen.contains(seen)) << "the screen's window is cut off";
    EXPECT_TRUE(frame->mdiArea()->viewport()->rect().contains(QRect(QPoint(0, 0), frame->size())));
    EXPECT_EQ(s.focus(), static_cast<QWidget*>(s.form().selection().rows().medCdCia));
}

}  // namespace
}  // namespace qmv

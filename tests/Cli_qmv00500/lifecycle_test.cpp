// The main screen's life: one window however often the host enters the module, a connection made
// at creation with the host's server settings under busy indicator 0, a failed connect that leaves
// no window and lets the next entry try again, the close that disconnects, and the 640 by 480 rule.
#include <QApplication>
#include <QLineEdit>
#include <gtest/gtest.h>

#include "Cli_qmv00500/cli_qmv00500.h"
#include "Cli_qmv00500/healthserver.h"
#include "Cli_qmv00500/screensize.h"
#include "Cli_qmv00500/tfrmfotomontmanual.h"
#include "host/childhost.h"
#include "host/hostconfig.h"
#include "server/tnetconnection.h"
#include "support/recordingtransport.h"
#include "support/scriptedui.h"

namespace qmv {
namespace {

using Cli_qmv00500::CriaFotoMontManual;
using Cli_qmv00500::frmFotoMontManual;

class MainScreenLifecycle : public ::testing::Test {
protected:
    void SetUp() override
    {
        Cli_qmv00500::initialization();
        useServer(server.port());
        setScreenSizeSource([this] { return screen; });
    }

    void TearDown() override
    {
        if (frmFotoMontManual)
            frmFotoMontManual->close();
        delete frmFotoMontManual.data();
        setScreenSizeSource({});
        Cli_qmv00500::initialization();
    }

    void useServer(int port)
    {
        HostConfig config;
        config.branchCode = QStringLiteral("0001");
        config.branchName = QStringLiteral("Cozinha Central");
        config.serverHost = QStringLiteral("127.0.0.1");
        config.serverPort = port;
        setHostConfig(config);
    }

    static int mainWindows()
    {
        int count = 0;
        for (QWidget* widget : QApplication::allWidgets())
            count += widget->objectName() == QLatin1String("frmFotoMontManual");
        return count;
    }

    ScriptedUi ui;
    test::HealthServer server;
    QSize screen{1024, 768};
};

TEST_F(MainScreenLifecycle, TwoEntriesGiveOneWindowWithItsDataUntouched)
{
    CriaFotoMontManual();
    ASSERT_TRUE(frmFotoMontManual);
    TfrmFotoMontManual* first = frmFotoMontManual;
    EXPECT_TRUE(Cli_qmv00500::boStCriado);
    first->selection().rows().medCdCia->setText(QStringLiteral("ABC"));

    CriaFotoMontManual();
    EXPECT_EQ(frmFotoMontManual.data(), first);
    EXPECT_EQ(mainWindows(), 1);
    EXPECT_EQ(server.healthChecks(), 1) << "the second entry must not connect again";
    EXPECT_EQ(first->selection().rows().medCdCia->text(), QStringLiteral("ABC"));
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(ui.cursor(), CursorShape::Default);
}

TEST_F(MainScreenLifecycle, CreationConnectsUnderBusyIndicatorZeroAndFillsTheBranch)
{
    CriaFotoMontManual();
    ASSERT_TRUE(frmFotoMontManual);
    EXPECT_TRUE(frmFotoMontManual->netFotoMantMan->connected());
    EXPECT_EQ(frmFotoMontManual->netFotoMantMan->port(), server.port());
    EXPECT_EQ(frmFotoMontManual->netFotoMantMan->ServerName(), QStringLiteral("Qmv00500.rdmFotoMontManual"));
    EXPECT_FALSE(frmFotoMontManual->netFotoMantMan->ThrowException());
    EXPECT_EQ(ui.busyShows, 1);
    EXPECT_EQ(ui.lastBusyKind(), 0);
    EXPECT_FALSE(ui.busyVisible());
    EXPECT_EQ(frmFotoMontManual->selection().rows().medFilial->text().trimmed(), QStringLiteral("0001"));
    EXPECT_EQ(frmFotoMontManual->selection().rows().edtNmFilial->text(), QStringLiteral("Cozinha Central"));
    EXPECT_EQ(ui.log.first(), QStringLiteral("cursor:wait"));
    EXPECT_EQ(ui.log.last(), QStringLiteral("cursor:default"));
}

TEST_F(MainScreenLifecycle, CloseDisconnectsAndTheNextEntryCreatesAndConnectsAgain)
{
    CriaFotoMontManual();
    QPointer<TfrmFotoMontManual> first = frmFotoMontManual;
    ASSERT_TRUE(first);
    first->selection().rows().medCdCia->setText(QStringLiteral("ABC"));
    first->close();
    EXPECT_FALSE(Cli_qmv00500::boStCriado);
    if (first) {
        EXPECT_FALSE(first->netFotoMantMan->connected());
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    CriaFotoMontManual();
    ASSERT_TRUE(frmFotoMontManual);
    EXPECT_NE(frmFotoMontManual.data(), first.data());
    EXPECT_TRUE(Cli_qmv00500::boStCriado);
    EXPECT_EQ(server.healthChecks(), 2);
    EXPECT_TRUE(frmFotoMontManual->selection().rows().medCdCia->text().isEmpty());
    EXPECT_EQ(frmFotoMontManual->selection().rows().medFilial->text().trimmed(), QStringLiteral("0001"));
}

TEST_F(MainScreenLifecycle, AFailedConnectLeavesNoWindowAndTheNextEntryTriesAgain)
{
    server.stop();
    EXPECT_THROW(CriaFotoMontManual(), ConnectionError);
    EXPECT_FALSE(Cli_qmv00500::boStCriado);
    EXPECT_FALSE(frmFotoMontManual);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(mainWindows(), 0);
    EXPECT_FALSE(ui.busyVisible()) << "the busy indicator must be hidden after a failed connect";
    EXPECT_EQ(ui.busyHides, ui.busyShows);
    EXPECT_EQ(ui.cursor(), CursorShape::Default);

    server.start();
    CriaFotoMontManual();
    EXPECT_TRUE(Cli_qmv00500::boStCriado);
    ASSERT_TRUE(frmFotoMontManual);
    EXPECT_TRUE(frmFotoMontManual->netFotoMantMan->connected());
    EXPECT_EQ(server.healthChecks(), 1);
}

TEST_F(MainScreenLifecycle, TheConnectionReadsTheServerSettingsJustBeforeEveryConnect)
{
    auto transport = std::make_unique<test::RecordingTransport>();
    test::RecordingTransport& recorder = *transport;
    useServer(4100);
    std::unique_ptr<TfrmFotoMontManual> form(TfrmFotoMontManual::create(nullptr, std::move(transport)));
    useServer(4200);
    form->netFotoMantMan->connect();
    EXPECT_EQ(recorder.opens(), (QStringList{"127.0.0.1:4100", "127.0.0.1:4200"}));

    TCloseAction action = caFree;
    form->FormClose(action);
    EXPECT_FALSE(recorder.isOpen());
    EXPECT_EQ(recorder.closes(), 2);
}

TEST_F(MainScreenLifecycle, ARefusedConnectionDestroysTheHalfBuiltScreen)
{
    auto transport = std::make_unique<test::RecordingTransport>();
    transport->refuseOpen(QStringLiteral("Conexão recusada."));
    const int before = QApplication::allWidgets().size();
    EXPECT_THROW(TfrmFotoMontManual::create(nullptr, std::move(transport)), ConnectionError);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(QApplication::allWidgets().size(), before);
    EXPECT_FALSE(ui.busyVisible());
}

struct ScreenCase {
    QSize screen;
    Qt::WindowStates expected;
};

void PrintTo(const ScreenCase& screenCase, std::ostream* out)
{
    *out << screenCase.screen.width() << "x" << screenCase.screen.height();
}

class MainScreenWindowState : public MainScreenLifecycle,
                              public ::testing::WithParamInterface<ScreenCase> {};

TEST_P(MainScreenWindowState, FollowsThe640By480RuleAtCreation)
{
    screen = GetParam().screen;
    CriaFotoMontManual();
    ASSERT_TRUE(frmFotoMontManual);
    EXPECT_EQ(childWindowState(*frmFotoMontManual) & Qt::WindowMaximized, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Screens, MainScreenWindowState,
                         ::testing::Values(ScreenCase{{640, 480}, Qt::WindowMaximized},
                                           ScreenCase{{800, 600}, Qt::WindowNoState},
                                           ScreenCase{{640, 400}, Qt::WindowNoState},
                                           ScreenCase{{480, 640}, Qt::WindowNoState}));

TEST_F(MainScreenLifecycle, EveryEntryRecomputesTheWindowState)
{
    screen = {640, 480};
    CriaFotoMontManual();
    ASSERT_TRUE(frmFotoMontManual);
    EXPECT_TRUE(childWindowState(*frmFotoMontManual) & Qt::WindowMaximized);
    screen = {800, 600};
    CriaFotoMontManual();
    EXPECT_FALSE(childWindowState(*frmFotoMontManual) & Qt::WindowMaximized);
}

TEST_F(MainScreenLifecycle, ActivationMaximisesOn640By480AndNeverRestores)
{
    CriaFotoMontManual();
    ASSERT_TRUE(frmFotoMontManual);
    TfrmFotoMontManual& form = *frmFotoMontManual;
    ASSERT_FALSE(childWindowState(form) & Qt::WindowMaximized);

    screen = {640, 480};
    QEvent activate(QEvent::WindowActivate);
    QCoreApplication::sendEvent(&form, &activate);
    EXPECT_TRUE(childWindowState(form) & Qt::WindowMaximized);

    screen = {800, 600};
    QCoreApplication::sendEvent(&form, &activate);
    EXPECT_TRUE(childWindowState(form) & Qt::WindowMaximized) << "activation never sets the normal state";
}

}  // namespace
}  // namespace qmv

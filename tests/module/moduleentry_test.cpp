// The package as the host sees it: loaded from libqmv00500.so, its entry points found by their plain
// names, its unit table read through GetPackageInfoTable, and IniProc giving one main window per
// opening of the screen, a new connection after a close, and another try after a failed connect.
#include <QApplication>
#include <QLibrary>
#include <QWidget>
#include <gtest/gtest.h>

#include "Cli_qmv00500/healthserver.h"
#include "host/hostconfig.h"
#include "module/qmv00500.h"
#include "support/scriptedui.h"

namespace qmv {
namespace {

QLibrary& package()
{
    static QLibrary library(QStringLiteral(QMV_PACKAGE_FILE));
    if (!library.isLoaded() && !library.load())
        ADD_FAILURE() << library.errorString().toStdString();
    return library;
}

template <class Proc>
Proc entry(const char* name)
{
    return reinterpret_cast<Proc>(package().resolve(name));
}

QWidget* mainWindow()
{
    QWidget* found = nullptr;
    int count = 0;
    for (QWidget* widget : QApplication::allWidgets())
        if (widget->objectName() == QLatin1String("frmFotoMontManual")) {
            found = widget;
            ++count;
        }
    EXPECT_LE(count, 1) << "the screen must never have two windows";
    return found;
}

void useServer(int port)
{
    HostConfig config;
    config.branchCode = QStringLiteral("0001");
    config.serverPort = port;
    setHostConfig(config);
}

TEST(ModulePackage, ExportsItsEntryPointsUnderPlainNames)
{
    for (const char* name : {"IniProc", "CriaFotoMontManual", "CriaFiltroFoto", "CriaRelFotoMan", "CriaImpFotoMan",
                             "CriaIncluEqui", "CriaObsSubGrupo", "Initialize", "Finalize", "GetPackageInfoTable"})
        EXPECT_NE(package().resolve(name), nullptr) << name;
}

TEST(ModulePackage, InfoTableListsTheUnitsInInitialisationOrder)
{
    const PackageInfo* info = entry<package::InfoProc>("GetPackageInfoTable")();
    ASSERT_NE(info, nullptr);
    QStringList names;
    for (int i = 0; i < info->count; ++i)
        names << QString::fromLatin1(info->units[i].name);
    EXPECT_EQ(names, (QStringList{"Cli_qmv00501", "Cli_qmv00502", "Cli_qmv00503", "Cli_qmv00505", "Cli_qmv00506",
                                  "Cli_qmv00500"}));
}

TEST(ModulePackage, IniProcOpensOneWindowAndReconnectsAfterAClose)
{
    ScriptedUi ui;
    test::HealthServer server;
    useServer(server.port());
    entry<package::LoadProc>("Initialize")();
    const auto iniProc = entry<package::EntryProc>("IniProc");

    iniProc();
    iniProc();
    QWidget* window = mainWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(server.healthChecks(), 1);

    window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    iniProc();
    ASSERT_NE(mainWindow(), nullptr);
    EXPECT_EQ(server.healthChecks(), 2) << "a new window connects again";

    mainWindow()->close();
    delete mainWindow();
    entry<package::LoadProc>("Finalize")();
}

TEST(ModulePackage, AFailedConnectReachesTheHostAndTheNextIniProcRetries)
{
    ScriptedUi ui;
    test::HealthServer server;
    useServer(server.port());
    server.stop();
    entry<package::LoadProc>("Initialize")();
    const auto iniProc = entry<package::EntryProc>("IniProc");

    EXPECT_THROW(iniProc(), std::exception);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(mainWindow(), nullptr);
    EXPECT_FALSE(ui.busyVisible());

    server.start();
    iniProc();
    ASSERT_NE(mainWindow(), nullptr);
    EXPECT_EQ(server.healthChecks(), 1);
    mainWindow()->close();
    delete mainWindow();
    entry<package::LoadProc>("Finalize")();
}

}  // namespace
}  // namespace qmv

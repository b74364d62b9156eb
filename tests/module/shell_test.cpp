// The shell's package loading and command line: packages found by screen code, loaded once,
// entered through IniProc on every opening, finalised at unload; a missing package is reported.
#include <QDir>
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPointer>

#include "host/childhost.h"
#include "host/shell/screenpackages.h"
#include "host/shell/shelloptions.h"
#include "host/shell/shellwindow.h"
#include "support/scriptedui.h"

namespace qmv {
namespace {

const QString packageDir = QStringLiteral(QMV_FAKE_PACKAGE_DIR);

// Keeps the fake package mapped across the loader's unload (a dlopen reference of its own), so its
// call record stays readable.
class FakeRecord {
public:
    explicit FakeRecord(const QString& base)
        : handle_(dlopen(QDir(packageDir).filePath("lib" + base + ".so").toUtf8().constData(), RTLD_NOW))
    {
        if (!handle_)
            throw std::runtime_error(dlerror());
    }
    ~FakeRecord() { dlclose(handle_); }
    QString calls() const
    {
        auto read = reinterpret_cast<const char* (*)()>(dlsym(handle_, "FakeCalls"));
        return QString::fromUtf8(read());
    }

private:
    void* handle_;
};

TEST(ScreenPackages, LoadsOncePerCodeAndEntersOnEveryOpening)
{
    FakeRecord record(QStringLiteral("tst00001"));
    const QString before = record.calls();
    {
        ScreenPackages packages({packageDir});
        packages.open(QStringLiteral("TST00001"));
        packages.open(QStringLiteral(" tst00001 "));
        EXPECT_TRUE(packages.isLoaded(QStringLiteral("TST00001")));
        EXPECT_EQ(record.calls().mid(before.size()), "Initialize;IniProc;IniProc;");
    }
    EXPECT_EQ(record.calls().mid(before.size()), "Initialize;IniProc;IniProc;Finalize;");
}

TEST(ScreenPackages, HandsParametersToTheSiblingEntryWhenItHasOne)
{
    FakeRecord record(QStringLiteral("tst00001"));
    const QString before = record.calls();
    ScreenPackages packages({packageDir});
    packages.open(QStringLiteral("TST00001"), {QStringLiteral("QMV00500"), qlonglong(42)});
    packages.open(QStringLiteral("TST00001"));
    EXPECT_EQ(record.calls().mid(before.size()), "Initialize;IniProcParams(QMV00500,42);IniProc;");
}

TEST(ScreenPackages, AMissingPackageIsReportedAndTheLoadedOnesStay)
{
    ScreenPackages packages({packageDir});
    packages.open(QStringLiteral("TST00001"));
    try {
        packages.open(QStringLiteral("QMV01200"));
        FAIL() << "a missing package must be reported";
    } catch (const PackageError& e) {
        EXPECT_TRUE(QString::fromUtf8(e.what()).contains(QStringLiteral("QMV01200"))) << e.what();
    }
    EXPECT_FALSE(packages.isLoaded(QStringLiteral("QMV01200")));
    EXPECT_TRUE(packages.isLoaded(QStringLiteral("TST00001")));
    EXPECT_NO_THROW(packages.open(QStringLiteral("TST00001")));
}

TEST(ScreenPackages, RefusesPackagesWithoutTheLoadEntriesAndBadCodes)
{
    ScreenPackages packages({packageDir});
    EXPECT_THROW(packages.open(QStringLiteral("TST00002")), PackageError);
    EXPECT_FALSE(packages.isLoaded(QStringLiteral("TST00002")));
    EXPECT_THROW(packages.open(QStringLiteral("../../etc/x")), PackageError);
    EXPECT_THROW(packages.open(QString()), PackageError);
}

TEST(ScreenPackages, ListsTheScreenCodesOfThePackagesPresent)
{
    ScreenPackages packages({packageDir, QStringLiteral("/nonexistent")});
    const QStringList codes = packages.availableCodes();
    EXPECT_TRUE(codes.contains(QStringLiteral("TST00001")));
    EXPECT_TRUE(codes.contains(QStringLiteral("TST00002")));
    EXPECT_EQ(codes, [&] { QStringList s = codes; s.sort(); return s; }());
}

TEST(ShellOptions, SeparatesTheShellsOptionsFromTheConfiguration)
{
    const ShellOptions options = parseShellOptions(
        {"qmvhost", "--config", "a.ini", "--open", "QMV00500", "--screenshot=shot.png",
         "--quit-after", "1500", "--filial", "0001", "--packages", "/p"});
    EXPECT_TRUE(options.error.isEmpty());
    EXPECT_EQ(options.open, QStringList{"QMV00500"});
    EXPECT_EQ(options.screenshot, "shot.png");
    ASSERT_TRUE(options.quitAfterMs.has_value());
    EXPECT_EQ(*options.quitAfterMs, 1500);
    EXPECT_EQ(options.packageFolders, QStringList{"/p"});
    EXPECT_EQ(options.rest, (QStringList{"qmvhost", "--config", "a.ini", "--filial", "0001"}));
}

TEST(ShellOptions, ReportsMissingAndBadValues)
{
    EXPECT_FALSE(parseShellOptions({"qmvhost", "--open"}).error.isEmpty());
    EXPECT_FALSE(parseShellOptions({"qmvhost", "--quit-after", "soon"}).error.isEmpty());
    EXPECT_FALSE(parseShellOptions({"qmvhost", "--quit-after", "-5"}).error.isEmpty());
}

}  // namespace
}  // namespace qmv

namespace qmv {
namespace {

TEST(ShellWindow, ShowsAScreenOnceAsAChildWindowAndDropsItsFrameWhenItCloses)
{
    ShellWindow window([](const QString&) {});
    window.show();
    auto* form = new QWidget;
    form->setAttribute(Qt::WA_DeleteOnClose);
    form->resize(500, 300);
    QPointer<QWidget> alive(form);
    window.showChild(*form);
    EXPECT_EQ(form->size(), QSize(500, 300)) << "the child frame takes the size the screen gave itself";
    window.showChild(*form);
    ASSERT_EQ(window.mdiArea().subWindowList().size(), 1);
    EXPECT_EQ(window.frameOf(*form), window.mdiArea().subWindowList().first());
    EXPECT_TRUE(form->isVisible());

    form->close();
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(alive);
    EXPECT_TRUE(window.mdiArea().subWindowList().isEmpty());
}

TEST(ShellWindow, AScreenRestoredFromMaximisedGetsItsOwnSizeBack)
{
    ShellWindow window([](const QString&) {});
    window.show();
    QWidget form;
    form.resize(500, 300);
    window.showChild(form);

    setChildWindowState(form, Qt::WindowNoState);
    EXPECT_EQ(form.size(), QSize(500, 300)) << "the normal state told again changes nothing";
    setChildWindowState(form, Qt::WindowMaximized);
    EXPECT_TRUE(childWindowState(form).testFlag(Qt::WindowMaximized));
    EXPECT_NE(form.size(), QSize(500, 300));
    setChildWindowState(form, Qt::WindowNoState);
    EXPECT_EQ(form.size(), QSize(500, 300));
}

TEST(ShellWindow, AScreenHiddenByItsClosingLeavesNoEmptyFrame)
{
    ShellWindow window([](const QString&) {});
    window.show();
    QWidget form;
    window.showChild(form);
    form.close();
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window.mdiArea().subWindowList().isEmpty());
    EXPECT_FALSE(form.isVisible());

    window.showChild(form);
    EXPECT_EQ(window.mdiArea().subWindowList().size(), 1) << "the screen can be shown again";
    EXPECT_TRUE(form.isVisible());
}

TEST(ShellWindow, StatusBarNamesTheBranchAndTheServer)
{
    ShellWindow window([](const QString&) {});
    window.setBranch(QStringLiteral("0001"), QStringLiteral("Cozinha Central"));
    window.setServer(QStringLiteral("127.0.0.1"), 8211);
    EXPECT_EQ(window.findChild<QLabel*>(QStringLiteral("lblFilial"))->text(), QStringLiteral("Filial: 0001 - Cozinha Central"));
    EXPECT_EQ(window.findChild<QLabel*>(QStringLiteral("lblServidor"))->text(), QStringLiteral("Servidor: 127.0.0.1:8211"));
}

TEST(ShellWindow, OpensTheScreensItListsAndReportsAFailureThroughTheGuard)
{
    ScriptedUi ui;
    QStringList opened;
    ShellWindow window([&](const QString& code) {
        opened << code;
        throw PackageError("Módulo QMV09999 não encontrado.");
    });
    window.setScreenCodes({QStringLiteral("QMV00500")});
    QMenu* screens = window.findChild<QMenu*>(QStringLiteral("mnuTelas"));
    ASSERT_NE(screens, nullptr);
    screens->actions().first()->trigger();
    EXPECT_EQ(opened, QStringList{"QMV00500"});
    EXPECT_EQ(ui.errors, QStringList{"Módulo QMV09999 não encontrado."});
}

}  // namespace
}  // namespace qmv

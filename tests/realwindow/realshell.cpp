#include "realwindow/realshell.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QTabBar>
#include <QTest>

#include "Cli_qmv00500/cli_qmv00500.h"
#include "Cli_qmv00500/tfrmfotomontmanual.h"
#include "host/busywindow.h"
#include "host/hostconfig.h"
#include "host/searchlistdialog.h"
#include "host/tcustompagecontrol98.h"
#include "host/shell/shellwindow.h"
#include "platform/dbgrid.h"

namespace qmv::test {

namespace {

constexpr int answerAfterMs = 3000;  // a window that never becomes active is answered anyway

QWindow* keyTarget()
{
    if (QWidget* popup = QApplication::activePopupWidget())
        return popup->windowHandle();
    return QGuiApplication::focusWindow();
}

bool busyWindowInView()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (qobject_cast<BusyWindow*>(w) && w->isVisible())
            return true;
    return false;
}

}  // namespace

bool eventually(const std::function<bool()>& condition, int timeoutMs)
{
    return QTest::qWaitFor(condition, timeoutMs);
}

RealShell::RealShell()
    : database_(std::make_unique<appserver::test::TestDatabase>(appserver::test::sqliteDriver))
{
    appserver::test::seedFixture(*database_);
    server_ = std::make_unique<appserver::test::TestServer>(database_->config());
    HostConfig config;
    config.branchCode = QStringLiteral("0001");
    config.branchName = QStringLiteral("Cozinha Teste");
    config.dbDriver = QStringLiteral("QSQLITE");
    config.dbName = database_->config().sqliteFile;
    port_ = server_->port();
    config.serverPort = port_;
    setHostConfig(config);
    setUi(&ui_);

    watcher_.setInterval(20);
    QObject::connect(&watcher_, &QTimer::timeout, [this] { answerWindows(); });
    watcher_.start();

    shell_ = std::make_unique<ShellWindow>([](const QString&) {});
    setChildHost(shell_.get());
    shell_->showOnScreen();
    if (!QTest::qWaitForWindowActive(shell_.get()))
        ADD_FAILURE() << "the shell's window did not become active";
    Cli_qmv00500::CriaFotoMontManual();
    if (!eventually([this] { return form().isVisible() && focus(); }))
        ADD_FAILURE() << "the screen did not open with a focus";
    settle();
}

RealShell::~RealShell()
{
    shell_->closeChildren();  // a box shown while closing is still answered
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    watcher_.stop();
    setChildHost(nullptr);
    shell_.reset();
    setUi(nullptr);
    setHostConfig(HostConfig());
}

void RealShell::startServer()
{
    server_ = std::make_unique<appserver::test::TestServer>(database_->config(), appserver::HttpLimits{}, port_);
}

TfrmFotoMontManual& RealShell::form() const
{
    return *Cli_qmv00500::frmFotoMontManual;
}

void RealShell::press(int key, Qt::KeyboardModifiers modifiers)
{
    if (QWindow* target = keyTarget())
        QTest::keyClick(target, Qt::Key(key), modifiers);
    else
        ADD_FAILURE() << "no window has the keyboard";
    settle();
}

void RealShell::type(const QString& text)
{
    for (const QChar c : text)
        QTest::keyClick(keyTarget(), c.toLatin1());
    settle(50);
}

void RealShell::click(QWidget& widget, QPoint at)
{
    QTest::mouseClick(&widget, Qt::LeftButton, Qt::NoModifier, at.isNull() ? widget.rect().center() : at);
    settle();
}

void RealShell::clickTab(TCustomPageControl98& pages, QWidget& sheet)
{
    QTabBar* bar = pages.tabBar();
    click(*bar, bar->tabRect(pages.indexOf(&sheet)).center());
}

void RealShell::clickGridRow(int row)
{
    DBGrid& grid = *form().dbgPadrao;
    const QRect cell = grid.visualRect(grid.model()->index(row, 2));
    click(*grid.viewport(), cell.center());
}

void RealShell::settle(int ms)
{
    QTest::qWait(ms);
}

QWidget* RealShell::focus() const
{
    return shell_->focusWidget();
}

void RealShell::typeKey(const QString& company, const QString& manual, const QString& service)
{
    for (const QString& code : {company, manual, service}) {
        type(code);
        press(Qt::Key_Tab);
    }
}

void RealShell::answerWindows()
{
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || handled_.contains(modal))
        return;
    if (pending_ != modal) {
        pending_ = modal;
        seen_.start();
    }
    if (!modal->isActiveWindow() && seen_.elapsed() < answerAfterMs)
        return;
    handled_ << modal;
    if (auto* box = qobject_cast<QMessageBox*>(modal)) {
        messages << box->text();
        titles << box->windowTitle();
        busyInView << busyWindowInView();
        if (onMessage)
            onMessage(*box);
        else
            QTest::keyClick(box->windowHandle(), Qt::Key_Return);
    } else if (auto* list = qobject_cast<SearchListDialog*>(modal)) {
        lists << list->windowTitle();
        if (onList)
            onList(*list);
        else
            QTest::keyClick(list->windowHandle(), Qt::Key_Escape);
    } else if (onOtherModal) {
        onOtherModal(*modal);
    } else {
        QTest::keyClick(modal->windowHandle(), Qt::Key_Escape);
    }
}

}  // namespace qmv::test

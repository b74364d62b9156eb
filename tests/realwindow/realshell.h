#pragma once
// The host shell as a person meets it, for journeys through real windows under a window manager:
// a seeded throw-away database, the application server running in-process on it, the real Qt UI
// seam, the shell's main window shown as the shell shows it, and the main screen opened in it.
// Input goes through Qt's window-system path (keys to the window with the focus, mouse clicks at
// a point). Every message box is recorded and, once it is the active window, closed by Enter (its
// default button); every list window is handed to a handler (Escape unless one is set). Test
// thread only.
#include <QElapsedTimer>
#include <QPoint>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <functional>
#include <memory>

#include "appserver/serverfixture.h"
#include "host/qtui.h"

class QMessageBox;
class QTabBar;

namespace qmv {

class ShellWindow;
class SearchListDialog;
class TCustomPageControl98;
class TfrmFotoMontManual;

namespace test {

class RealShell {
public:
    RealShell();
    ~RealShell();

    ShellWindow& shell() const { return *shell_; }
    TfrmFotoMontManual& form() const;
    void stopServer() { server_.reset(); }
    // The server again, on the same port and database.
    void startServer();
    const appserver::test::TestDatabase& database() const { return *database_; }

    // A person's moves.
    void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    void type(const QString& text);
    void click(QWidget& widget, QPoint at = QPoint());  // the centre when `at` is null
    void clickTab(TCustomPageControl98& pages, QWidget& sheet);
    void clickGridRow(int row);
    // Lets the window manager and Qt finish what the last move started.
    void settle(int ms = 200);
    // The window's own focus control (the one that gets the focus back when it is active).
    QWidget* focus() const;

    // The message boxes answered, in order: their texts, their titles, and for each whether the
    // busy window was still in view over it.
    QStringList messages;
    QStringList titles;
    QList<bool> busyInView;
    // The list windows shown (their titles) and what is done with the next ones.
    QStringList lists;
    std::function<void(SearchListDialog&)> onList;
    // What is done with the next message boxes instead of Enter to their window (they are recorded
    // first): a test that answers them through the display's own keyboard, for example.
    std::function<void(QMessageBox&)> onMessage;
    // Any other modal window (a file dialog, for example), once it is active.
    std::function<void(QWidget&)> onOtherModal;

    // The selection typed field by field with Tab, from the company on (the focus must be there).
    void typeKey(const QString& company, const QString& manual, const QString& service);

private:
    void answerWindows();

    std::unique_ptr<appserver::test::TestDatabase> database_;
    std::unique_ptr<appserver::test::TestServer> server_;
    int port_ = 0;
    QtUi ui_;
    std::unique_ptr<ShellWindow> shell_;
    QTimer watcher_;
    QList<QPointer<QWidget>> handled_;
    QPointer<QWidget> pending_;
    QElapsedTimer seen_;
};

// Waits (processing events) until the condition holds, for at most a few seconds.
bool eventually(const std::function<bool()>& condition, int timeoutMs = 5000);

}  // namespace test
}  // namespace qmv

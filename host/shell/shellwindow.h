#pragma once
// The host's main window: an MDI area where screens open as child windows, a "Telas" menu that opens
// a screen by its code, and a status bar with the user's branch and the application server. On a
// screen of 640 by 480 or smaller it takes the whole screen, so that a maximised screen inside it
// is seen whole; on larger screens it opens at the size it was last closed with, or maximised.
// UI thread only.
#include <QMainWindow>
#include <functional>

#include "host/childhost.h"

class QMdiArea;
class QLabel;
class QMenu;

namespace qmv {

class ShellWindow : public QMainWindow, public ChildHost {
    Q_OBJECT
public:
    using OpenScreen = std::function<void(const QString& code)>;

    ShellWindow(OpenScreen openScreen, QWidget* parent = nullptr);
    ~ShellWindow() override;

    void setScreenCodes(const QStringList& codes);
    void setBranch(const QString& code, const QString& name);
    void setServer(const QString& host, int port);
    // Shows the main window with the size that suits the screen (see above).
    void showOnScreen();
    QMdiArea& mdiArea() { return *mdi_; }
    // Closes and destroys every child window, before the packages that own their code go away.
    void closeChildren();

    QWidget* mainWindow() override { return this; }
    void showChild(QWidget& form) override;
    QWidget* frameOf(QWidget& form) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void openByCode();
    void openGuarded(const QString& code);

    OpenScreen openScreen_;
    QMdiArea* mdi_;
    QMenu* screens_;
    QLabel* branch_;
    QLabel* server_;
};

}  // namespace qmv

#include "host/shell/shellwindow.h"

#include <QApplication>
#include <QInputDialog>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QScreen>
#include <QSettings>
#include <QStatusBar>
#include <QTimer>

#include "host/guard.h"

namespace qmv {

ShellWindow::ShellWindow(OpenScreen openScreen, QWidget* parent)
    : QMainWindow(parent), openScreen_(std::move(openScreen)), mdi_(new QMdiArea(this)),
      branch_(new QLabel(this)), server_(new QLabel(this))
{
    setObjectName(QStringLiteral("frmPrincipal"));
    // No title of its own: the window system adds the program's name, which stays the whole title
    // until a maximised screen puts its own in front.
    setWindowTitle(QString());
    mdi_->setObjectName(QStringLiteral("mdiTelas"));
    // A click on a part of a screen that takes no focus (a panel, a lookup or toolbar button, a
    // tab) leaves the focus where it was instead of giving it to the area or the child's frame.
    mdi_->setFocusPolicy(Qt::NoFocus);
    mdi_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdi_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(mdi_);

    screens_ = menuBar()->addMenu(QStringLiteral("&Telas"));
    screens_->setObjectName(QStringLiteral("mnuTelas"));
    QMenu* windows = menuBar()->addMenu(QStringLiteral("&Janelas"));
    windows->addAction(QStringLiteral("&Cascata"), mdi_, &QMdiArea::cascadeSubWindows);
    windows->addAction(QStringLiteral("&Lado a lado"), mdi_, &QMdiArea::tileSubWindows);
    windows->addAction(QStringLiteral("&Fechar todas"), mdi_, &QMdiArea::closeAllSubWindows);
    setScreenCodes({});

    branch_->setObjectName(QStringLiteral("lblFilial"));
    server_->setObjectName(QStringLiteral("lblServidor"));
    statusBar()->addWidget(branch_, 1);
    statusBar()->addPermanentWidget(server_);
    resize(1024, 740);
}

ShellWindow::~ShellWindow()
{
    closeChildren();
}

void ShellWindow::setScreenCodes(const QStringList& codes)
{
    screens_->clear();
    for (const QString& code : codes)
        screens_->addAction(code, this, [this, code] { openGuarded(code); });
    if (!codes.isEmpty())
        screens_->addSeparator();
    QAction* byCode = screens_->addAction(QStringLiteral("&Abrir por código..."), this,
                                          &ShellWindow::openByCode);
    byCode->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_T));
    screens_->addSeparator();
    screens_->addAction(QStringLiteral("&Sair"), this, &QWidget::close);
}

void ShellWindow::setBranch(const QString& code, const QString& name)
{
    branch_->setText(QStringLiteral("Filial: %1 - %2").arg(code, name));
}

void ShellWindow::setServer(const QString& host, int port)
{
    server_->setText(QStringLiteral("Servidor: %1:%2").arg(host).arg(port));
}

namespace {

QSettings shellSettings()
{
    return QSettings(QStringLiteral("qmv"), QStringLiteral("qmvhost"));
}

const QString geometryKey = QStringLiteral("Janela/Geometria");

bool smallScreen(const QScreen* screen)
{
    return screen && screen->size().width() <= 640 && screen->size().height() <= 480;
}

}  // namespace

void ShellWindow::showOnScreen()
{
    if (smallScreen(screen())) {
        showFullScreen();
        return;
    }
    if (restoreGeometry(shellSettings().value(geometryKey).toByteArray()))
        show();
    else
        showMaximized();
}

void ShellWindow::closeEvent(QCloseEvent* event)
{
    if (!smallScreen(screen()))
        shellSettings().setValue(geometryKey, saveGeometry());
    QMainWindow::closeEvent(event);
}

void ShellWindow::openByCode()
{
    bool ok = false;
    const QString code = QInputDialog::getText(this, QStringLiteral("Abrir tela"),
                                               QStringLiteral("Código da tela:"), QLineEdit::Normal,
                                               QStringLiteral("QMV00500"), &ok);
    if (ok && !code.trimmed().isEmpty())
        openGuarded(code);
}

void ShellWindow::openGuarded(const QString& code)
{
    guard([&] { openScreen_(code); });
}

void ShellWindow::showChild(QWidget& form)
{
    QWidget* frame = frameOf(form);
    if (!frame) {
        const QSize designed = form.size();  // the size the screen gave itself
        QMdiSubWindow* sub = mdi_->addSubWindow(&form);
        sub->setAttribute(Qt::WA_DeleteOnClose);
        sub->setFocusPolicy(Qt::NoFocus);
        form.installEventFilter(this);
        sub->show();
        sub->resize(sub->size() + (designed - form.size()));
        frame = sub;
    }
    frame->show();
    form.show();
    mdi_->setActiveSubWindow(static_cast<QMdiSubWindow*>(frame));
    frame->raise();
}

QWidget* ShellWindow::frameOf(QWidget& form)
{
    auto* sub = qobject_cast<QMdiSubWindow*>(form.parentWidget());
    return sub && sub->mdiArea() == mdi_ ? sub : nullptr;
}

// A screen that closes itself (its own close button, or its code) takes its child frame with it,
// whether its closing destroyed it or only hid it.
bool ShellWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Close) {
        QPointer<QWidget> form = qobject_cast<QWidget*>(watched);
        QPointer<QMdiSubWindow> frame = form ? qobject_cast<QMdiSubWindow*>(frameOf(*form)) : nullptr;
        QTimer::singleShot(0, this, [form, frame] {
            if (!frame || (form && form->isVisibleTo(frame)))
                return;
            if (form) {
                form->removeEventFilter(frame);
                frame->setWidget(nullptr);
            }
            frame->deleteLater();
        });
    }
    return QMainWindow::eventFilter(watched, event);
}

void ShellWindow::closeChildren()
{
    const auto children = mdi_->subWindowList();
    for (QMdiSubWindow* sub : children) {
        sub->close();
        delete sub;
    }
}

}  // namespace qmv

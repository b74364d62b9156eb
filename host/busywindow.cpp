#include "host/busywindow.h"

#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <QVBoxLayout>

namespace qmv {

BusyWindow::BusyWindow(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
    , caption_(new QLabel(this))
{
    setObjectName(QStringLiteral("BusyWindow"));
    // It only shows that work goes on: the person's window keeps the focus.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setWindowFlag(Qt::WindowDoesNotAcceptFocus);
    auto* bar = new QProgressBar(this);
    bar->setRange(0, 0);  // an endless bar: the length of the work is unknown
    bar->setTextVisible(false);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(caption_);
    layout->addWidget(bar);
    caption_->setAlignment(Qt::AlignCenter);
    setFixedSize(280, 72);
}

QString BusyWindow::captionFor(int kind)
{
    switch (kind) {
    case 0: return QStringLiteral("Conectando ao servidor...");
    case 1: return QStringLiteral("Enviando alterações...");
    case 6: return QStringLiteral("Carregando dados...");
    default: return QStringLiteral("Aguarde...");
    }
}

void BusyWindow::showFor(QWidget* mainWindow, int kind)
{
    caption_->setText(captionFor(kind));
    QRect area = mainWindow && mainWindow->isVisible() ? mainWindow->frameGeometry() : QRect();
    if (area.isEmpty() && QGuiApplication::primaryScreen())
        area = QGuiApplication::primaryScreen()->availableGeometry();
    move(area.center() - rect().center());
    show();
    raise();
    repaint();  // no event loop runs until the covered call returns
}

}  // namespace qmv

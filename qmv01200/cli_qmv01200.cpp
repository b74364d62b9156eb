#include "qmv01200/cli_qmv01200.h"

#include <QWidget>
#include <algorithm>

#include "host/childhost.h"
#include "host/menserro.h"
#include "host/waitcursor.h"
#include "qmv01200/callerselection.h"
#include "qmv01200/tfrmemissaomanual.h"

namespace qmv::Cli_qmv01200 {

QPointer<TfrmEmissaoManual> frmEmissaoManual;
bool boStCriado = false;

namespace {

// The host places a new child frame where there is room; one that would stick out of the host's
// area (and hide the commands at its foot) is moved in.
void keepInsideHost(QWidget& form)
{
    QWidget* frame = form.parentWidget();
    QWidget* area = frame ? frame->parentWidget() : nullptr;
    if (!area)
        return;
    QRect placed = frame->geometry();
    placed.moveRight(std::min(placed.right(), area->width() - 1));
    placed.moveBottom(std::min(placed.bottom(), area->height() - 1));
    placed.moveTopLeft(QPoint(std::max(placed.left(), 0), std::max(placed.top(), 0)));
    frame->setGeometry(placed);
}

}  // namespace

void CriaEmissaoManual(const QVariantList& parameters)
{
    QWidget* caller = nullptr;
    if (parameters.size() >= 2) {
        caller = liveWidgetAt(parameters.at(1));
        if (!caller)
            MensErro(QStringLiteral("A tela %1 que pediu a emissão do manual não está mais aberta.")
                         .arg(parameters.at(0).toString()),
                     true);
    }
    WaitCursor wait;
    if (!boStCriado || !frmEmissaoManual) {
        frmEmissaoManual = TfrmEmissaoManual::create(hostMainWindow());
        boStCriado = true;
    }
    if (caller && !frmEmissaoManual->running())
        frmEmissaoManual->startFrom(parameters.at(0).toString(), selectionOf(*caller));
    wait.restore();
    showChildWindow(*frmEmissaoManual);
    keepInsideHost(*frmEmissaoManual);
}

void initialization() noexcept
{
    boStCriado = false;
}

void finalization() noexcept {}

}  // namespace qmv::Cli_qmv01200

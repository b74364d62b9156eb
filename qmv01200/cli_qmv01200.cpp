#include "qmv01200/cli_qmv01200.h"

#include "host/menserro.h"
#include "host/shell/application.h"
#include "host/shell/waitcursor.h"
#include "qmv01200/callerselection.h"
#include "qmv01200/tfrmemissaomanual.h"

namespace qmv::Cli_qmv01200 {

QPointer<TfrmEmissaoManual> frmEmissaoManual;
bool boStCriado = false;

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
}

void initialization() noexcept
{
    boStCriado = false;
}

void finalization() noexcept {}

}  // namespace qmv::Cli_qmv01200

#include "Cli_qmv00505/cli_qmv00505.h"

#include "Cli_qmv00505/tfrmcadautequip.h"
#include "host/childhost.h"
#include "host/ui.h"
#include "host/waitcursor.h"

namespace qmv::Cli_qmv00505 {

QPointer<TfrmCadAutEquip> frmCadAutEquip;
bool boStCriado = false;
bool boTeclou = false;

void CriaIncluEqui()
{
    WaitCursor wait;
    if (!boStCriado || !frmCadAutEquip) {
        frmCadAutEquip = TfrmCadAutEquip::create(hostMainWindow());
        boStCriado = true;
    }
    ui().showModal(*frmCadAutEquip);
    if (frmCadAutEquip)
        frmCadAutEquip->setWindowState(Qt::WindowNoState);
    wait.restore();
}

void initialization() noexcept
{
    boStCriado = false;
}

void finalization() noexcept {}

}  // namespace qmv::Cli_qmv00505

#include "Cli_qmv00502/cli_qmv00502.h"

#include "Cli_qmv00502/tfrmrelfotoman.h"
#include "host/childhost.h"
#include "host/ui.h"
#include "host/waitcursor.h"

namespace qmv::Cli_qmv00502 {

QPointer<TfrmRelFotoMan> frmRelFotoMan;
bool boIdCriado = false;

void CriaRelFotoMan()
{
    WaitCursor wait;
    if (!boIdCriado || !frmRelFotoMan) {
        frmRelFotoMan = TfrmRelFotoMan::create(hostMainWindow());
        boIdCriado = true;
    }
    wait.restore();
    frmRelFotoMan->setWindowState(Qt::WindowNoState);
    ui().showModal(*frmRelFotoMan);
}

void initialization() noexcept
{
    boIdCriado = false;
}

void finalization() noexcept {}

}  // namespace qmv::Cli_qmv00502

#include "Cli_qmv00503/cli_qmv00503.h"

#include "Cli_qmv00503/tfrmimpfotoman.h"
#include "host/childhost.h"
#include "host/ui.h"
#include "host/waitcursor.h"

namespace qmv::Cli_qmv00503 {

QPointer<TfrmImpFotoMan> frmImpFotoMan;
bool boIdCriado = false;
QString stLista;
QString stListaOrigem;

void CriaImpFotoMan()
{
    WaitCursor wait;
    if (!boIdCriado || !frmImpFotoMan) {
        frmImpFotoMan = TfrmImpFotoMan::create(hostMainWindow());
        boIdCriado = true;
    }
    ui().showModal(*frmImpFotoMan);
    wait.restore();
}

void initialization() noexcept
{
    boIdCriado = false;
}

void finalization() noexcept
{
    stLista.clear();
    stListaOrigem.clear();
}

}  // namespace qmv::Cli_qmv00503

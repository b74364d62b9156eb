#include "Cli_qmv00506/cli_qmv00506.h"

#include "Cli_qmv00506/tfrmobssubgrupo.h"
#include "host/childhost.h"
#include "host/ui.h"
#include "host/waitcursor.h"

namespace qmv::Cli_qmv00506 {

QPointer<TfrmObsSubGrupo> frmObsSubGrupo;
bool boStCriado = false;
QString stIdProgram;

void CriaObsSubGrupo()
{
    WaitCursor wait;
    if (!boStCriado || !frmObsSubGrupo) {
        frmObsSubGrupo = TfrmObsSubGrupo::create(hostMainWindow());
        boStCriado = true;
    }
    ui().showModal(*frmObsSubGrupo);
    if (frmObsSubGrupo)
        frmObsSubGrupo->setWindowState(Qt::WindowNoState);
    wait.restore();
}

void initialization() noexcept
{
    boStCriado = false;
}

void finalization() noexcept
{
    stIdProgram.clear();
}

}  // namespace qmv::Cli_qmv00506

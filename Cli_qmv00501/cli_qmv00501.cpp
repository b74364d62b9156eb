#include "Cli_qmv00501/cli_qmv00501.h"

#include "Cli_qmv00501/tfrmfiltrofotoman.h"
#include "host/childhost.h"
#include "host/ui.h"

namespace qmv::Cli_qmv00501 {

QPointer<TfrmFiltroFotoMan> frmFiltroFotoMan;
bool boIDCriado = false;
bool boPrimVez = true;
TFiltro Filtro;

void CriaFiltroFoto()
{
    if (boIDCriado && frmFiltroFotoMan) {
        frmFiltroFotoMan->show();
        return;
    }
    // The dialog left hidden by its last closing is released here, before its successor exists.
    delete frmFiltroFotoMan.data();
    frmFiltroFotoMan = TfrmFiltroFotoMan::create(hostMainWindow());
    boIDCriado = true;
    ui().showModal(*frmFiltroFotoMan);
}

void initialization() noexcept
{
    boIDCriado = false;
    boPrimVez = true;
}

void finalization() noexcept
{
    Filtro = TFiltro();
}

}  // namespace qmv::Cli_qmv00501

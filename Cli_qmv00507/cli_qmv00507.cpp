#include "Cli_qmv00507/cli_qmv00507.h"

#include "Cli_qmv00507/tfrmhistsubgrupo.h"
#include "host/childhost.h"
#include "host/ui.h"
#include "host/waitcursor.h"

#include <memory>

namespace qmv::Cli_qmv00507 {

void CriaHistSubGrupo()
{
    WaitCursor wait;
    std::unique_ptr<TfrmHistSubGrupo> form(TfrmHistSubGrupo::create(hostMainWindow()));
    wait.restore();
    ui().showModal(*form);
}

}  // namespace qmv::Cli_qmv00507

#include "Cli_qmv00500/cli_qmv00500.h"

#include "Cli_qmv00500/screensize.h"
#include "Cli_qmv00500/tfrmfotomontmanual.h"
#include "host/childhost.h"
#include "host/waitcursor.h"

namespace qmv::Cli_qmv00500 {

QPointer<TfrmFotoMontManual> frmFotoMontManual;
bool boStCriado = false;
bool boControle = false;

void CriaFotoMontManual()
{
    WaitCursor wait;
    if (!boStCriado || !frmFotoMontManual) {
        frmFotoMontManual = TfrmFotoMontManual::create(hostMainWindow());
        boStCriado = true;
    }
    wait.restore();
    showChildWindow(*frmFotoMontManual);
    applyWindowStateRule(*frmFotoMontManual);
}

qlonglong mainFormReference()
{
    return static_cast<qlonglong>(reinterpret_cast<quintptr>(frmFotoMontManual.data()));
}

void initialization() noexcept
{
    boStCriado = false;
    boControle = false;
}

void finalization() noexcept {}

}  // namespace qmv::Cli_qmv00500

// The commands that hand the work to other windows: the report form, the sibling manual-emission
// screen "QMV01200" and the photo import dialog.
#include <QAction>
#include <QVariantList>

#include "Cli_qmv00500/cli_qmv00500.h"
#include "Cli_qmv00500/tfrmfotomontmanual.h"
#include "Cli_qmv00502/cli_qmv00502.h"
#include "Cli_qmv00503/cli_qmv00503.h"
#include "host/guard.h"
#include "host/loadbpl.h"
#include "host/tbuttonflat.h"

namespace qmv {

void TfrmFotoMontManual::bindLaunchCommands()
{
    connect(sbtManualCia, &QAbstractButton::clicked, this, [this] { guard([this] { sbtManualCiaClick(); }); });
    connect(mnuEmiteManual, &QAction::triggered, this, [this] { guard([this] { sbtManualCia->Click(); }); });
    connect(sbtImpFoto, &QAbstractButton::clicked, this, [this] {
        guard([this] {
            postPendingEdit();
            Cli_qmv00503::CriaImpFotoMan();
        });
    });
}

void TfrmFotoMontManual::sbtImprimirClick()
{
    postPendingEdit();
    Cli_qmv00502::CriaRelFotoMan();
}

// The sibling screen receives this screen's code and the main form, as a reference held in an integer.
void TfrmFotoMontManual::sbtManualCiaClick()
{
    postPendingEdit();
    const auto reference = static_cast<qlonglong>(reinterpret_cast<quintptr>(Cli_qmv00500::frmFotoMontManual.data()));
    LoadBPL(QStringLiteral("QMV01200"), QVariantList{QStringLiteral("QMV00500"), reference});
}

}  // namespace qmv

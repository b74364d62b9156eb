#include "Cli_qmv00505/tfrmcadautequip.h"

#include <memory>

#include "host/tmessages.h"

#include "Cli_qmv00505/cli_qmv00505.h"

namespace qmv {

TfrmCadAutEquip* TfrmCadAutEquip::create(QWidget* parent)
{
    std::unique_ptr<TfrmCadAutEquip> form(new TfrmCadAutEquip(parent));
    form->FormCreate();
    return form.release();
}

TfrmCadAutEquip::TfrmCadAutEquip(QWidget* parent) : TfrmRotiGeral(parent)
{
    setObjectName(QStringLiteral("frmCadAutEquip"));
    setWindowTitle(QStringLiteral("Inclusão de Equipamentos"));
    setScreenCode(QStringLiteral("QMV00505"));
    setHelp(QStringLiteral("Qmvhelp.hlp"), 10000505);
    // A fixed single border with the system menu and the minimise and maximise icons.
    setFixedSize(474, 174);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    msgPadrao->setMessages({QStringLiteral("Cd_Inv|Equipamento já cadastrado.")});
}

void TfrmCadAutEquip::FormClose(TCloseAction& action)
{
    TfrmRotiGeral::FormClose(action);
    Cli_qmv00505::boStCriado = false;
}

}  // namespace qmv

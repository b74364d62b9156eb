#include "Cli_qmv00502/tfrmrelfotoman.h"

#include <QLabel>
#include <memory>

#include "Cli_qmv00502/cli_qmv00502.h"
#include "host/tfrmpadraogrid.h"
#include "screenlink/mainscreen.h"

namespace qmv {

TfrmRelFotoMan* TfrmRelFotoMan::create(QWidget* parent)
{
    std::unique_ptr<TfrmRelFotoMan> form(new TfrmRelFotoMan(parent));
    form->FormCreate();
    return form.release();
}

TfrmRelFotoMan::TfrmRelFotoMan(QWidget* parent) : TfrmDadosGerRel(parent)
{
    setObjectName(QStringLiteral("frmRelFotoMan"));
    setWindowTitle(QStringLiteral("Foto Montagem do Manual"));
    setScreenCode(QStringLiteral("QMV00502"));
    setHelp(QStringLiteral("Qmvhelp.hlp"), 10000502);
    lblCodRel->setText(QStringLiteral("QMV005"));
    lblRelat->setFixedWidth(57);
}

void TfrmRelFotoMan::FormCreate()
{
    TfrmDadosGerRel::FormCreate();
    MainScreen* main = currentMainScreen();
    report().mainForm = main ? &main->listing() : nullptr;
}

void TfrmRelFotoMan::FormClose(TCloseAction& action)
{
    TfrmDadosGerRel::FormClose(action);
    Cli_qmv00502::boIdCriado = false;
}

}  // namespace qmv

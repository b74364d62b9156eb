// The pages: "Sub-Grupo" (the base form's sheet), "Foto Sub-Grupo" with the photo on the left and the
// inner page control pgcSubGrupo on the right, and "Produto/Receita".
#include <QSplitter>
#include <QVBoxLayout>

#include "Cli_qmv00500/tfrmfotomontmanual.h"
#include "host/tcustompagecontrol98.h"

namespace qmv {

namespace {

QWidget* sheet(const QString& name)
{
    auto* page = new QWidget;
    page->setObjectName(name);
    return page;
}

}  // namespace

void TfrmFotoMontManual::buildPages()
{
    pgcPadrao->setTabText(pgcPadrao->indexOf(tshPadrao), QStringLiteral("Sub-Grupo"));
    tshFotoServ = pgcPadrao->addSheet(sheet(QStringLiteral("tshFotoServ")), QStringLiteral("Foto Sub-Grupo"));
    tshProdRec = pgcPadrao->addSheet(sheet(QStringLiteral("tshProdRec")), QStringLiteral("Produto/Receita"));
    tshFotoServ->setEnabled(false);

    splFotoServ = new QSplitter(Qt::Horizontal, tshFotoServ);
    splFotoServ->setObjectName(QStringLiteral("splFotoServ"));
    splFotoServ->setHandleWidth(3);
    splFotoServ->setChildrenCollapsible(false);
    auto* layout = new QVBoxLayout(tshFotoServ);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(splFotoServ);

    pgcSubGrupo = new TCustomPageControl98(splFotoServ, QStringLiteral("pgcSubGrupo"));
    pgcSubGrupo->setMinimumWidth(453);
    tshInstMont = pgcSubGrupo->addSheet(sheet(QStringLiteral("tshInstMont")), QStringLiteral("Instruções de Montagem"));
    tshEquipamento = pgcSubGrupo->addSheet(sheet(QStringLiteral("tshEquipamento")), QStringLiteral("Equipamentos"));
    tshDadosAdic = pgcSubGrupo->addSheet(sheet(QStringLiteral("tshDadosAdic")), QStringLiteral("Dados Adicionais"));
    splFotoServ->addWidget(pgcSubGrupo);
    splFotoServ->setStretchFactor(0, 1);
}

}  // namespace qmv

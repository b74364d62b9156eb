// The pages: "Sub-Grupo" (the base form's sheet), "Foto Sub-Grupo" with the photo on the left and the
// inner page control pgcSubGrupo on the right, and "Produto/Receita"; the page routines that point
// dtsPadrao at the dataset of the page in view and load its data for the current sub-group, and the
// page menu entries.
#include <QAction>
#include <QLineEdit>
#include <QSplitter>
#include <QVBoxLayout>

#include "Cli_qmv00500/datessheet.h"
#include "Cli_qmv00500/productlist.h"
#include "Cli_qmv00500/equipmentlist.h"
#include "Cli_qmv00500/instructionssheet.h"
#include "Cli_qmv00500/photopage.h"
#include "Cli_qmv00500/subgroupsheet.h"
#include "Cli_qmv00500/tfrmfotomontmanual.h"
#include "host/guard.h"
#include "host/tbuttonflat.h"
#include "host/tcustompagecontrol98.h"
#include "platform/dataset.h"
#include "platform/datasource.h"
#include "platform/dbrichedit.h"

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

void TfrmFotoMontManual::loadPageData(DataSet& target)
{
    if (&target == &instructions_->records())
        instructions_->load();
    else if (&target == &photo_->records())
        photo_->load();
    else if (&target == &equipment_->records())
        equipment_->load();
    else if (&target == &products_->records())
        products_->load(medFilial->text(), subGroups_->records());
    else if (&target == &subGroups_->records())
        subGroups_->load();
}

// After the server refused a change: what it holds, on the same sub-group.
void TfrmFotoMontManual::reloadAfterRefusal(DataSet& target)
{
    if (&target == &subGroups_->records())
        return subGroups_->reloadKeepingRow();
    const int row = target.recNo();
    loadPageData(target);
    if (row > 0 && row <= target.recordCount())
        target.setRecNo(row);
}

// The caption of the page whose record waits in edit: the current sub-group stays until it is
// confirmed or cancelled.
QString TfrmFotoMontManual::pendingPage() const
{
    const std::tuple<const DataSet*, const QTabWidget*, QWidget*> pages[] = {
        {&photo_->records(), pgcPadrao, tshFotoServ},
        {&instructions_->records(), pgcSubGrupo, tshInstMont},
        {&equipment_->records(), pgcSubGrupo, tshEquipamento},
        {&products_->records(), pgcPadrao, tshProdRec},
    };
    for (const auto& [ds, control, page] : pages) {
        if (ds->state() == DataSetState::Edit || ds->state() == DataSetState::Insert)
            return control->tabText(control->indexOf(page));
    }
    return {};
}

// The current sub-group's instructions, read again and shown in the instruction editor.
void TfrmFotoMontManual::showInstructions()
{
    loadPageData(instructions_->records());
    dtsPadrao->setDataSet(&instructions_->records());
    instructions_->showInEditor();
}

void TfrmFotoMontManual::pgcPadraoChange()
{
    if (instructions_->records().state() == DataSetState::Insert && instructions_->records().changeCount() == 0)
        instructions_->records().cancelUpdates();
    QWidget* page = pgcPadrao->ActivePage();
    if (page == tshPadrao) {
        dtsPadrao->setDataSet(&subGroups_->records());
    } else if (page == tshFotoServ) {
        QWidget* inner = pgcSubGrupo->ActivePage();
        if (inner == tshInstMont) {
            showInstructions();
        } else if (inner == tshEquipamento) {
            loadPageData(equipment_->records());
            dtsPadrao->setDataSet(&equipment_->records());
        } else {
            dtsPadrao->setDataSet(&subGroups_->records());
            dates_->clearBlankDates();
        }
        loadPageData(photo_->records());
    } else if (page == tshProdRec) {
        loadPageData(products_->records());
        dtsPadrao->setDataSet(&products_->records());
    }
    mnuFolhaDados->setChecked(page == tshPadrao);
    mnuFormulario->setChecked(page == tshFotoServ);
    mnuProdRec->setChecked(page == tshProdRec);
    photo_->dtsFotoSeMaStateChange();
}

// Choosing the instructions loads those of the current sub-group, never another's left from before.
void TfrmFotoMontManual::pgcSubGrupoChange()
{
    QWidget* inner = pgcSubGrupo->ActivePage();
    if (inner == tshInstMont) {
        showInstructions();
    } else if (inner == tshEquipamento) {
        dtsPadrao->setDataSet(&equipment_->records());
        loadPageData(equipment_->records());
    } else {
        dtsPadrao->setDataSet(&subGroups_->records());
    }
}

void TfrmFotoMontManual::mnuFolhaDadosClick()
{
    pgcPadrao->SetActivePage(tshPadrao);
    pgcPadraoChange();
    mnuFolhaDados->setChecked(true);
    mnuFormulario->setChecked(false);
}

void TfrmFotoMontManual::mnuFormularioClick()
{
    pgcPadrao->SetActivePage(tshFotoServ);
    pgcPadraoChange();
    mnuFormulario->setChecked(true);
    mnuFolhaDados->setChecked(false);
}

void TfrmFotoMontManual::mnuProdRecClick()
{
    pgcPadrao->SetActivePage(tshProdRec);
    pgcPadraoChange();
    mnuProdRec->setChecked(true);
}

void TfrmFotoMontManual::bindPages()
{
    connect(pgcPadrao, &TCustomPageControl98::Change, this, [this] { guard([this] { pgcPadraoChange(); }); });
    connect(pgcSubGrupo, &TCustomPageControl98::Change, this, [this] { guard([this] { pgcSubGrupoChange(); }); });
    connect(mnuFolhaDados, &QAction::triggered, this, [this] { guard([this] { mnuFolhaDadosClick(); }); });
    connect(mnuFormulario, &QAction::triggered, this, [this] { guard([this] { mnuFormularioClick(); }); });
    connect(mnuProdRec, &QAction::triggered, this, [this] { guard([this] { mnuProdRecClick(); }); });
}

}  // namespace qmv

// What the screen offers in each state: the base form sets the standard toolbar from the state of
// dtsPadrao, then the screen's own rules decide the commands of each page, the filter and the
// automatic display, the selection panel, the pages and their menu entries.
#include <QAction>
#include <QLineEdit>

#include "Cli_qmv00500/enablingrules.h"
#include "Cli_qmv00500/productlist.h"
#include "Cli_qmv00500/subgroupsheet.h"
#include "Cli_qmv00500/tfrmfotomontmanual.h"
#include "host/controls.h"
#include "host/tbuttonflat.h"
#include "host/tcustompagecontrol98.h"
#include "platform/dataset.h"
#include "platform/datasource.h"
#include "platform/dbnavigator.h"

namespace qmv {

namespace {

MainPage mainPageOf(const TfrmFotoMontManual& f)
{
    const QWidget* page = f.pgcPadrao->ActivePage();
    if (page == f.tshFotoServ)
        return MainPage::FotoServ;
    return page == f.tshProdRec ? MainPage::ProdRec : MainPage::SubGrupo;
}

InnerPage innerPageOf(const TfrmFotoMontManual& f)
{
    const QWidget* page = f.pgcSubGrupo->ActivePage();
    if (page == f.tshEquipamento)
        return InnerPage::Equipamento;
    return page == f.tshDadosAdic ? InnerPage::DadosAdic : InnerPage::InstMont;
}

ScreenState screenState(const TfrmFotoMontManual& f)
{
    const DataSet* ds = f.dataSetPadrao();
    ScreenState s;
    s.page = mainPageOf(f);
    s.inner = innerPageOf(f);
    s.state = f.dtsPadrao->state();
    s.empty = !ds || ds->isEmpty();
    s.autoDisplay = f.sbtAutoExibe->isChecked();
    s.subGroupsEmpty = f.subGroupSheet().records().isEmpty();
    return s;
}

void apply(TfrmFotoMontManual& f, const Enabling& e)
{
    f.sbtIncluir->setEnabled(e.incluir);
    f.sbtExcluir->setEnabled(e.excluir);
    if (e.alterar)
        f.sbtAlterar->setEnabled(*e.alterar);
    f.mnuIncluir->setEnabled(f.sbtIncluir->isEnabled());
    f.mnuAlterar->setEnabled(f.sbtAlterar->isEnabled());
    f.mnuExcluir->setEnabled(f.sbtExcluir->isEnabled());
    f.sbtProcurar->setEnabled(e.procurar);
    f.sbtVerificar->setEnabled(e.verificar);
    f.mnuProcurar->setEnabled(e.procurar);
    f.mnuVerificar->setEnabled(e.verificar);
    f.sbtFiltroD->setEnabled(e.filtro);
    // A running display keeps its own button so that it can always be stopped.
    f.sbtAutoExibe->setEnabled(e.autoExibe || f.sbtAutoExibe->isChecked());
    f.mnuFiltro->setEnabled(f.sbtFiltroD->isEnabled());
    f.mnuExibeAuto->setEnabled(f.sbtAutoExibe->isEnabled());
    SetChildEnabled(f.panFiltro, e.panel);
    QWidget* const pages[] = {f.tshPadrao, f.tshFotoServ, f.tshProdRec};
    QWidget* const inner[] = {f.tshInstMont, f.tshEquipamento, f.tshDadosAdic};
    for (int i = 0; i < 3; ++i) {
        pages[i]->setEnabled(e.pages[i]);
        inner[i]->setEnabled(e.inner[i]);
    }
    f.mnuFolhaDados->setEnabled(e.pages[0]);
    f.mnuFormulario->setEnabled(e.pages[1]);
    f.mnuProdRec->setEnabled(e.pages[2]);
    f.selection().rows().medFilial->setFocusPolicy(e.panel ? Qt::StrongFocus : Qt::ClickFocus);
    // The navigator moves the current sub-group: not while another page's record is pending.
    f.dbnPadrao->setEnabled(!f.recordPending() || f.dataSetPadrao() == &f.subGroupSheet().records());
}

}  // namespace

void TfrmFotoMontManual::dtsPadraoStateChange()
{
    TfrmPadraoGrid::dtsPadraoStateChange();
    // Until the sub-groups are loaded (and again once the panel closed them) the selection panel
    // keeps everything else locked.
    if (!pgcSubGrupo || !subGroups_->records().isActive())
        return;
    apply(*this, enablingFor(screenState(*this)));
}

void TfrmFotoMontManual::enableSubGroupPages(bool enabled)
{
    PanelLock lock;
    lock.dataSheets = enabled;
    applyPanelLock(lock);
}

// Every menu entry then follows its page or its button.
void TfrmFotoMontManual::applyPanelLock(const PanelLock& lock)
{
    for (QWidget* page : {tshFotoServ, tshInstMont, tshProdRec})
        page->setEnabled(lock.dataSheets);
    if (lock.commands) {
        for (TButtonFlat* command : {sbtFiltroD, sbtAutoExibe, sbtManualCia, sbtImpFoto})
            command->setEnabled(*lock.commands);
    }
    const std::pair<QAction*, QWidget*> entries[] = {
        {mnuFolhaDados, tshPadrao}, {mnuFormulario, tshFotoServ}, {mnuProdRec, tshProdRec},
        {mnuFiltro, sbtFiltroD}, {mnuExibeAuto, sbtAutoExibe}, {mnuEmiteManual, sbtManualCia},
        {mnuImpFoto, sbtImpFoto}};
    for (const auto& [entry, control] : entries)
        entry->setEnabled(control->isEnabled());
}

bool TfrmFotoMontManual::recordPending() const
{
    return pendingEdit() != nullptr;
}

}  // namespace qmv

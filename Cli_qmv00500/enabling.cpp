// What the screen offers in each state: the base form sets the standard toolbar from the state of
// dtsPadrao, then the screen's own rules decide the commands of each page, the filter and the
// automatic display, the selection panel, the pages and their menu entries.
#include <QAction>
#include <QLineEdit>

#include "Cli_qmv00500/autodisplaycommand.h"
#include "Cli_qmv00500/enablingrules.h"
#include "Cli_qmv00500/screencommands.h"
#include "Cli_qmv00500/screenpages.h"
#include "Cli_qmv00500/subgroupsheet.h"
#include "Cli_qmv00500/tfrmfotomontmanual.h"
#include "host/controls.h"
#include "host/tbuttonflat.h"
#include "platform/dataset.h"
#include "platform/datasource.h"
#include "platform/dbnavigator.h"

namespace qmv {

namespace {

ScreenState screenState(const TfrmFotoMontManual& f)
{
    const DataSet* ds = f.dataSetPadrao();
    ScreenState s;
    s.page = f.pages().inView();
    s.inner = f.pages().innerInView();
    s.state = f.dtsPadrao->state();
    s.empty = !ds || ds->isEmpty();
    s.autoDisplay = f.commands().autoDisplay().running();
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
    f.commands().setDecided(e.filtro, e.autoExibe);
    SetChildEnabled(f.panFiltro, e.panel);
    f.pages().setEnabled(e.pages, e.inner);
    f.selection().rows().medFilial->setFocusPolicy(e.panel ? Qt::StrongFocus : Qt::ClickFocus);
}

}  // namespace

void TfrmFotoMontManual::dtsPadraoStateChange()
{
    TfrmPadraoGrid::dtsPadraoStateChange();
    // Until the sub-groups are loaded (and again once the panel closed them) the selection panel
    // keeps everything else locked.
    if (!commands_ || !subGroups_->records().isActive())
        return;
    apply(*this, enablingFor(screenState(*this)));
    // The navigator moves the current sub-group: not while another page's record is pending.
    dbnPadrao->setEnabled(!recordPending() || dataSetPadrao() == &subGroups_->records());
}

// Every menu entry then follows its page or its button.
void TfrmFotoMontManual::applyPanelLock(const PanelLock& lock)
{
    pages_->setDataSheetsEnabled(lock.dataSheets);
    if (lock.commands)
        commands_->setEnabled(*lock.commands);
}

bool TfrmFotoMontManual::recordPending() const
{
    return pages_ && pages_->pendingEdit();
}

}  // namespace qmv

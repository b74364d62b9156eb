// The selection panel (the shared rows of branch, company, manual and service with their lookups)
// in its frame; what the creation handler fills in from the host; and the panel's exit (load the
// service's sub-groups, unlock) and enter (close the data, lock again).
#include <QFrame>
#include <QGridLayout>
#include <QLineEdit>

#include "Cli_qmv00500/datessheet.h"
#include "Cli_qmv00500/enablingrules.h"
#include "Cli_qmv00500/productlist.h"
#include "Cli_qmv00500/equipmentlist.h"
#include "Cli_qmv00500/screenpages.h"
#include "Cli_qmv00500/subgroupsheet.h"
#include "Cli_qmv00500/tfrmfotomontmanual.h"
#include "host/busyindicator.h"
#include "host/childhost.h"
#include "host/codestructure.h"
#include "host/tmessages.h"
#include "lookup/focusregion.h"
#include "lookup/selectionpanel.h"
#include "platform/dataset.h"
#include "platform/editmask.h"

namespace qmv {

void TfrmFotoMontManual::buildSelection()
{
    panFiltro = new QFrame(this);
    panFiltro->setObjectName(QStringLiteral("panFiltro"));
    panFiltro->setFrameShape(QFrame::StyledPanel);
    auto* grid = new QGridLayout(panFiltro);
    grid->setContentsMargins(6, 4, 6, 4);
    grid->setVerticalSpacing(3);
    SelectionPanelOptions options;
    const auto messages = [this](const char* missing, const char* invalid) {
        return SelectionPanelOptions::Messages{msgPadrao->Msg(QLatin1String(missing)),
                                               msgPadrao->Msg(QLatin1String(invalid))};
    };
    options.branch = messages("FILIAL_NULL", "FILIAL_INV");
    options.company = messages("Cia_Vaz", "Cia_Inv");
    options.manual = messages("ManCia_Vaz", "ManCia_Inv");
    options.service = messages("ServMan_Vaz", "ServMan_Inv");
    options.mainScreenLook = true;
    options.manualKeepsChoice = true;
    selection_ = new SelectionPanel(*panFiltro, *grid, *netFotoMantMan, options, this);
    const SelectionPanel::Rows& r = selection_->rows();
    medFilial = r.medFilial;
    edtNmFilial = r.edtNmFilial;
    medCdCia = r.medCdCia;
    edtNmCia = r.edtNmCia;
    medCdManCia = r.medCdManCia;
    edtDsManCia = r.edtDsManCia;
    medCdServico = r.medCdServico;
    edtDsServico = r.edtDsServico;
    cdsServManual = &selection_->services();
    // The panel sits between the command bar and the pages.
    if (auto* column = qobject_cast<QBoxLayout*>(layout()))
        column->insertWidget(column->indexOf(panMenu) + 1, panFiltro);
    auto* panel = new FocusRegion(*panFiltro, this);
    panel->onEnter = [this] { panFiltroEnter(); };
    panel->onExit = [this] { panFiltroExit(); };
}

// Creation steps that come from the host: the user's branch (code first, then its name), whether
// it may be changed, and the hierarchical code mask on every field and edit that shows such codes.
void TfrmFotoMontManual::selectionFormCreate()
{
    selection_->takeHostBranch();

    const QString mask = DBPict(0);
    subGroups_->setCodeMask(mask);
    dates_->setCodeMask(mask);
    equipment_->setCodeMask(mask);
    cdsServManual->fieldByName(QStringLiteral("SERVICO")).setEditMask(mask);
    medCdServico->setInputMask(EditMask(mask).inputMask());
    lockPages();
    focusFirstSelectionField();
}

QString TfrmFotoMontManual::stCdCia() const
{
    return selection_->key().company;
}

QString TfrmFotoMontManual::stCdManCia() const
{
    return selection_->key().manual;
}

QString TfrmFotoMontManual::stCdServico() const
{
    return selection_->key().service;
}

QString TfrmFotoMontManual::stCdClasse() const
{
    return selection_->key().classCode;
}

QString TfrmFotoMontManual::stCdCiclo() const
{
    return selection_->key().cycle;
}

void TfrmFotoMontManual::Vd_Filial(bool required)
{
    selection_->checkBranch(required);
}

// Runs after the exit of the field left.
void TfrmFotoMontManual::panFiltroExit()
{
    selection_->checkAll(true);
    {
        BusyIndicator busy(hostMainWindow(), 6);
        subGroups_->load();
    }
    loaded_ = true;
    applyPanelLock(panelLock(loaded_, subGroups_->records().isEmpty()));
}

void TfrmFotoMontManual::panFiltroEnter()
{
    products_->records().close();
    subGroups_->records().close();
    equipment_->records().close();
    lockPages();
}

// Nothing below the panel works without a loaded selection: the first page only, no commands.
void TfrmFotoMontManual::lockPages()
{
    loaded_ = false;
    pages_->showFirst();
    applyPanelLock(panelLock(loaded_, subGroups_->records().isEmpty()));
}

// The screen opens ready for typing: the focus on the panel's first field that takes it by Tab.
void TfrmFotoMontManual::focusFirstSelectionField()
{
    selection_->focusFirstField();
}

}  // namespace qmv

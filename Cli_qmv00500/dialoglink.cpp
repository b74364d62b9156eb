// What the screen's dialogs see of it: the loaded key, the connection, the sub-group record and the
// few reloads they ask for.
#include <QLineEdit>

#include "Cli_qmv00500/enablingrules.h"
#include "Cli_qmv00500/equipmentlist.h"
#include "Cli_qmv00500/screenpages.h"
#include "Cli_qmv00500/subgroupsheet.h"
#include "Cli_qmv00500/tfrmfotomontmanual.h"
#include "lookup/selectionpanel.h"
#include "platform/dataset.h"

namespace qmv {

LoadedKey TfrmFotoMontManual::loadedKey() const
{
    const SelectionKey& key = selection_->key();
    return {medFilial->text(), key.company, key.manual, key.service, key.classCode, key.cycle};
}

ShownSelection TfrmFotoMontManual::shownSelection() const
{
    return {medFilial->text(),    edtNmFilial->text(), medCdCia->text(),     edtNmCia->text(),
            medCdManCia->text(), edtDsManCia->text(), medCdServico->text(), edtDsServico->text()};
}

TNetConnection& TfrmFotoMontManual::connection()
{
    return *netFotoMantMan;
}

void TfrmFotoMontManual::reloadSubGroups(const QString& photoFilter, const QString& instrFilter)
{
    subGroups_->load(photoFilter, instrFilter);
}

// Locked pages cannot stay in front: the sheet comes back first.
void TfrmFotoMontManual::setSubGroupPagesEnabled(bool enabled)
{
    if (!enabled && pages_->inView() != MainPage::SubGrupo)
        pages_->show(MainPage::SubGrupo);
    PanelLock lock;
    lock.dataSheets = enabled;
    applyPanelLock(lock);
}

void TfrmFotoMontManual::refreshSubGroup()
{
    pages_->reloadInView();
}

DataSet& TfrmFotoMontManual::subGroup()
{
    return subGroups_->records();
}

DataSource& TfrmFotoMontManual::subGroupSource()
{
    return subGroups_->source();
}

DataSet& TfrmFotoMontManual::equipment()
{
    return equipment_->records();
}

TfrmPadraoGrid& TfrmFotoMontManual::listing()
{
    return *this;
}

}  // namespace qmv

// What the screen's dialogs see of it: the loaded key, the connection, the sub-group record and the
// few reloads they ask for.
#include <QHash>
#include <QLineEdit>

#include "Cli_qmv00500/enablingrules.h"
#include "Cli_qmv00500/equipmentlist.h"
#include "Cli_qmv00500/productlist.h"
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

QString TfrmFotoMontManual::fieldCaption(const QString& table, const QString& column) const
{
    // A stored code the screen shows through another field of the record: that field's caption.
    static const QHash<QString, QString> shownAs = {{QStringLiteral("CDPRODUTOPRI"), QStringLiteral("CDSUBARVPRI")},
                                                    {QStringLiteral("CDPRODEQUIP"), QStringLiteral("CDARVPROD")},
                                                    {QStringLiteral("CDPRODINSUMO"), QStringLiteral("CODIGO")}};
    const DataSet* records = table == u"SUBGRUSEMA"    ? &subGroups_->records()
                             : table == u"EQUISUBSEMA" ? &equipment_->records()
                             : table == u"PRODRECSEMA" ? &products_->records()
                                                       : nullptr;
    const Field* field = records ? records->findField(shownAs.value(column, column)) : nullptr;
    return field && !field->def().label.isEmpty() ? field->def().label : column;
}

}  // namespace qmv

#include "Cli_qmv00500/equipmentlist.h"

#include "Cli_qmv00500/equipmentrules.h"
#include "Cli_qmv00500/sheetgrid.h"
#include "host/childhost.h"
#include "host/codestructure.h"
#include "host/controls.h"
#include "host/gridcolumns.h"
#include "host/menserro.h"
#include "host/tmessages.h"
#include "platform/dataset.h"
#include "platform/datasource.h"
#include "platform/dbgrid.h"
#include "server/catalogue.h"
#include "server/changesetprotocol.h"
#include "server/loadresult.h"

namespace qmv {

EquipmentList::EquipmentList(QWidget& sheet, Screen screen, QObject* parent)
    : QObject(parent), screen_(std::move(screen))
{
    buildDataSet();
    buildGrid(sheet);
    bind();
}

void EquipmentList::buildDataSet()
{
    cdsEquiSubSeMa_ = new DataSet(this);
    cdsEquiSubSeMa_->setObjectName(QStringLiteral("cdsEquiSubSeMa"));
    cdsEquiSubSeMa_->addField({QStringLiteral("CDFILIAL"), FieldKind::Text, 4, {}, false});
    cdsEquiSubSeMa_->addField({QStringLiteral("CDCIA"), FieldKind::Text, 4, {}, false});
    cdsEquiSubSeMa_->addField({QStringLiteral("NMPRODUTO"), FieldKind::Text, 50, QStringLiteral("Nome")});
    cdsEquiSubSeMa_->addField({QStringLiteral("NMCLASSIFICACAO"), FieldKind::Text, 50, QStringLiteral("Classificação")});
    cdsEquiSubSeMa_->addField({QStringLiteral("QTEQUISUMA"), FieldKind::Float, 0, QStringLiteral("Quantidade")});
    cdsEquiSubSeMa_->addField({QStringLiteral("CDARVPROD"), FieldKind::Text, 20, QStringLiteral("Código")});
    cdsEquiSubSeMa_->addField({QStringLiteral("CDPRODUTO"), FieldKind::Text, 10, QStringLiteral("Código"), false});
    cdsEquiSubSeMa_->addField({QStringLiteral("SGUNIDADE"), FieldKind::Text, 10, QStringLiteral("UN")});
    cdsEquiSubSeMa_->addField({QStringLiteral("CDESPEPROD"), FieldKind::Text, 10});
    cdsEquiSubSeMa_->addField({QStringLiteral("CDPRODEQUIP"), FieldKind::Text, 10});
    dtsEquiSubSeMa_ = new DataSource(this);
    dtsEquiSubSeMa_->setObjectName(QStringLiteral("dtsEquiSubSeMa"));
    dtsEquiSubSeMa_->setDataSet(cdsEquiSubSeMa_);
}

void EquipmentList::buildGrid(QWidget& sheet)
{
    dbgEquiSubSeMa_ = sheetGrid(sheet, QStringLiteral("dbgEquiSubSeMa"), *dtsEquiSubSeMa_, screen_.standardMessages);
    dbgEquiSubSeMa_->setColumns({
        {QStringLiteral("NMPRODUTO"), 230, true},
        {QStringLiteral("NMCLASSIFICACAO"), -1, true},
        {QStringLiteral("CDARVPROD"), -1, true},
        {QStringLiteral("QTEQUISUMA"), -1, false},
        {QStringLiteral("SGUNIDADE"), -1, true},
    });
    // The sheet shares its width with the photo: the name gives up room so that the quantity, the
    // one column edited here, is always in view.
    fitColumnsToContents(*dbgEquiSubSeMa_,
                         {QStringLiteral("CDARVPROD"), QStringLiteral("QTEQUISUMA"), QStringLiteral("SGUNIDADE")});
    stretchColumn(*dbgEquiSubSeMa_, QStringLiteral("NMPRODUTO"));
}

void EquipmentList::bind()
{
    DataSet& ds = *cdsEquiSubSeMa_;
    ds.beforeInsert = [this](DataSet& d) { cdsEquiSubSeMaBeforeInsert(d); };
    ds.beforePost = [this](DataSet& d) { cdsEquiSubSeMaBeforePost(d); };
    ds.afterPost = [this](DataSet& d) { cdsEquiSubSeMaAfterDelete(d); };
    ds.afterDelete = [this](DataSet& d) { cdsEquiSubSeMaAfterDelete(d); };
    ds.afterCancel = [this](DataSet& d) { cdsEquiSubSeMaAfterCancel(d); };
    dbgEquiSubSeMa_->onKeyDown = [this](DBGrid& g, int& key, Qt::KeyboardModifiers shift) {
        dbgEquiSubSeMaKeyDown(g, key, shift);
    };
}

void EquipmentList::cdsEquiSubSeMaBeforeInsert(DataSet&)
{
    Abortar();
}

void EquipmentList::cdsEquiSubSeMaBeforePost(DataSet& sender)
{
    takeSubGroupKeys(sender, screen_.subGroups);
    if (!quantityGiven(sender)) {
        dbgEquiSubSeMa_->setSelectedIndex(IndiceCol(*dbgEquiSubSeMa_, QStringLiteral("QTEQUISUMA")));
        dbgEquiSubSeMa_->setFocus();
        MensErro(screen_.messages.Msg(QStringLiteral("QTEQUI_DEVE")), true);
    }
}

void EquipmentList::cdsEquiSubSeMaAfterDelete(DataSet& sender)
{
    sendEquiSubSeMa(screen_.connection, sender, hostMainWindow(), screen_.reloadAfterRefusal);
}

void EquipmentList::cdsEquiSubSeMaAfterCancel(DataSet& sender)
{
    sender.cancelUpdates();
}

// Rows leave this list only through the delete command, never by the grid's own shortcut.
void EquipmentList::dbgEquiSubSeMaKeyDown(DBGrid&, int& key, Qt::KeyboardModifiers shift)
{
    if (key == Qt::Key_Delete && (shift & Qt::ControlModifier))
        key = 0;
}

void EquipmentList::load()
{
    const auto field = [&](const char* name) { return screen_.subGroups.fieldByName(QLatin1String(name)).asString(); };
    loadResult(*cdsEquiSubSeMa_, GetEquiSubSeMa(screen_.connection, field("CDSUBGRU"), field("CDESPEPRODSG"),
                                                QString::number(DBPictObj(0).GetTtNiveis())));
}

void EquipmentList::setCodeMask(const QString& mask)
{
    cdsEquiSubSeMa_->fieldByName(QStringLiteral("CDARVPROD")).setEditMask(mask);
}

}  // namespace qmv

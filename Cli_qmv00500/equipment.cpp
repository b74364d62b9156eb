// The sheet "Equipamentos": the equipment dataset of the current sub-group and its grid. Only
// quantities are changed here; every post and every deletion is sent at once. New equipment comes
// from the inclusion dialog.
#include <QVBoxLayout>

#include "Cli_qmv00500/equipmentrules.h"
#include "Cli_qmv00500/tfrmfotomontmanual.h"
#include "host/childhost.h"
#include "host/controls.h"
#include "host/gridcolumns.h"
#include "host/menserro.h"
#include "host/tmessages.h"
#include "platform/dataset.h"
#include "platform/datasource.h"
#include "platform/dbgrid.h"
#include "server/changesetprotocol.h"

namespace qmv {

void TfrmFotoMontManual::buildEquipment()
{
    cdsEquiSubSeMa = new DataSet(this);
    cdsEquiSubSeMa->setObjectName(QStringLiteral("cdsEquiSubSeMa"));
    cdsEquiSubSeMa->addField({QStringLiteral("CDFILIAL"), FieldKind::Text, 4, {}, false});
    cdsEquiSubSeMa->addField({QStringLiteral("CDCIA"), FieldKind::Text, 4, {}, false});
    cdsEquiSubSeMa->addField({QStringLiteral("NMPRODUTO"), FieldKind::Text, 50, QStringLiteral("Nome")});
    cdsEquiSubSeMa->addField({QStringLiteral("NMCLASSIFICACAO"), FieldKind::Text, 50, QStringLiteral("Classificação")});
    cdsEquiSubSeMa->addField({QStringLiteral("QTEQUISUMA"), FieldKind::Float, 0, QStringLiteral("Quantidade")});
    cdsEquiSubSeMa->addField({QStringLiteral("CDARVPROD"), FieldKind::Text, 20, QStringLiteral("Código")});
    cdsEquiSubSeMa->addField({QStringLiteral("CDPRODUTO"), FieldKind::Text, 10, QStringLiteral("Código"), false});
    cdsEquiSubSeMa->addField({QStringLiteral("SGUNIDADE"), FieldKind::Text, 10, QStringLiteral("UN")});
    cdsEquiSubSeMa->addField({QStringLiteral("CDESPEPROD"), FieldKind::Text, 10});
    cdsEquiSubSeMa->addField({QStringLiteral("CDPRODEQUIP"), FieldKind::Text, 10});
    dtsEquiSubSeMa = new DataSource(this);
    dtsEquiSubSeMa->setObjectName(QStringLiteral("dtsEquiSubSeMa"));
    dtsEquiSubSeMa->setDataSet(cdsEquiSubSeMa);

    dbgEquiSubSeMa = new DBGrid(tshEquipamento, QStringLiteral("dbgEquiSubSeMa"));
    dbgEquiSubSeMa->setFrameShape(QFrame::NoFrame);
    QPalette palette = dbgEquiSubSeMa->palette();
    palette.setColor(QPalette::Base, QColor(255, 255, 225));  // clInfoBk
    dbgEquiSubSeMa->setPalette(palette);
    dbgEquiSubSeMa->setDataSource(dtsEquiSubSeMa);
    dbgEquiSubSeMa->setColumns({
        {QStringLiteral("NMPRODUTO"), 230, true},
        {QStringLiteral("NMCLASSIFICACAO"), -1, true},
        {QStringLiteral("CDARVPROD"), -1, true},
        {QStringLiteral("QTEQUISUMA"), -1, false},
        {QStringLiteral("SGUNIDADE"), -1, true},
    });
    // The sheet shares its width with the photo: the name gives up room so that the quantity, the
    // one column edited here, is always in view.
    fitColumnsToContents(*dbgEquiSubSeMa,
                         {QStringLiteral("CDARVPROD"), QStringLiteral("QTEQUISUMA"), QStringLiteral("SGUNIDADE")});
    stretchColumn(*dbgEquiSubSeMa, QStringLiteral("NMPRODUTO"));
    auto* layout = new QVBoxLayout(tshEquipamento);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(dbgEquiSubSeMa);
    bindEquipment();
}

void TfrmFotoMontManual::bindEquipment()
{
    DataSet& ds = *cdsEquiSubSeMa;
    ds.beforeInsert = [this](DataSet& d) { cdsEquiSubSeMaBeforeInsert(d); };
    ds.beforePost = [this](DataSet& d) { cdsEquiSubSeMaBeforePost(d); };
    ds.afterPost = [this](DataSet& d) { cdsEquiSubSeMaAfterDelete(d); };
    ds.afterDelete = [this](DataSet& d) { cdsEquiSubSeMaAfterDelete(d); };
    ds.afterCancel = [this](DataSet& d) { cdsEquiSubSeMaAfterCancel(d); };
    dbgEquiSubSeMa->confirmDelete = [this](DBGrid&) {
        return msgMensagensPadroes->ShowMsg(QStringLiteral("Excl"), MsgType::Confirmation, mbYes | mbNo) == mrYes;
    };
    dbgEquiSubSeMa->onKeyDown = [this](DBGrid& g, int& key, Qt::KeyboardModifiers shift) {
        dbgEquiSubSeMaKeyDown(g, key, shift);
    };
}

void TfrmFotoMontManual::cdsEquiSubSeMaBeforeInsert(DataSet&)
{
    Abortar();
}

void TfrmFotoMontManual::cdsEquiSubSeMaBeforePost(DataSet& sender)
{
    takeSubGroupKeys(sender, *cdsSubGruSeMa);
    if (!quantityGiven(sender)) {
        dbgEquiSubSeMa->setSelectedIndex(IndiceCol(*dbgEquiSubSeMa, QStringLiteral("QTEQUISUMA")));
        dbgEquiSubSeMa->setFocus();
        MensErro(msgPadrao->Msg(QStringLiteral("QTEQUI_DEVE")), true);
    }
}

void TfrmFotoMontManual::cdsEquiSubSeMaAfterDelete(DataSet& sender)
{
    sendEquiSubSeMa(*netFotoMantMan, sender, hostMainWindow(), [this] { reloadAfterRefusal(*cdsEquiSubSeMa); });
}

void TfrmFotoMontManual::cdsEquiSubSeMaAfterCancel(DataSet& sender)
{
    sender.cancelUpdates();
}

// Rows leave this list only through the delete command, never by the grid's own shortcut.
void TfrmFotoMontManual::dbgEquiSubSeMaKeyDown(DBGrid&, int& key, Qt::KeyboardModifiers shift)
{
    if (key == Qt::Key_Delete && (shift & Qt::ControlModifier))
        key = 0;
}

}  // namespace qmv

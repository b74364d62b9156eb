// The page "Produto/Receita": the products and recipes of the current sub-group and their grid. The
// list comes from the service's composition; the person keeps each item's order and comment, and
// every post or deletion is sent at once.
#include <QVBoxLayout>

#include "Cli_qmv00500/productrules.h"
#include "Cli_qmv00500/tfrmfotomontmanual.h"
#include "host/childhost.h"
#include "host/codestructure.h"
#include "host/controls.h"
#include "host/gridcolumns.h"
#include "host/menserro.h"
#include "host/routines.h"
#include "host/tmessages.h"
#include "platform/dataset.h"
#include "platform/datasource.h"
#include "platform/dbgrid.h"
#include "server/changesetprotocol.h"

namespace qmv {

void TfrmFotoMontManual::buildProducts()
{
    cdsProRecSeMa = new DataSet(this);
    cdsProRecSeMa->setObjectName(QStringLiteral("cdsProRecSeMa"));
    const auto hiddenText = [](const char* name, int size) {
        return FieldDef{QString::fromLatin1(name), FieldKind::Text, size, {}, false};
    };
    cdsProRecSeMa->addField(hiddenText("CDFILIAL", 4));
    cdsProRecSeMa->addField(hiddenText("CDCIA", 4));
    cdsProRecSeMa->addField(hiddenText("CDSERVICO", 10));
    cdsProRecSeMa->addField(hiddenText("CDMANCIA", 4));
    cdsProRecSeMa->addField(hiddenText("CDSUBGRU", 10));
    cdsProRecSeMa->addField({QStringLiteral("ID"), FieldKind::FixedText, 1, QStringLiteral("Id.")});
    cdsProRecSeMa->addField({QStringLiteral("NRORDEM"), FieldKind::Text, 3, QStringLiteral("Clas."), true, false,
                             QStringLiteral("999;0; ")});
    cdsProRecSeMa->addField({QStringLiteral("CODIGO"), FieldKind::Text, 20, QStringLiteral("Código")});
    cdsProRecSeMa->addField(hiddenText("CDCODINT", 10));
    cdsProRecSeMa->addField({QStringLiteral("NOME"), FieldKind::Text, 50, QStringLiteral("Descrição")});
    cdsProRecSeMa->addField({QStringLiteral("QUANTIDADE"), FieldKind::Float, 0, QStringLiteral("Qtde."), true,
                             false, {}, QStringLiteral("0.000")});
    cdsProRecSeMa->addField({QStringLiteral("SGUNIDADE"), FieldKind::Text, 10, QStringLiteral("Un.")});
    cdsProRecSeMa->addField({QStringLiteral("TXCOMENT"), FieldKind::Text, 200, QStringLiteral("Observação")});
    cdsProRecSeMa->addField(hiddenText("IDPRODATIV", 1));
    cdsProRecSeMa->addField(hiddenText("CDESPEPROD", 10));
    cdsProRecSeMa->addField(hiddenText("CDTIPOCOMP", 3));
    cdsProRecSeMa->addField(hiddenText("CDPRODINSUMO", 10));
    dtsProRecSeMa = new DataSource(this);
    dtsProRecSeMa->setObjectName(QStringLiteral("dtsProRecSeMa"));
    dtsProRecSeMa->setDataSet(cdsProRecSeMa);

    dbgProRecSeMa = new DBGrid(tshProdRec, QStringLiteral("dbgProRecSeMa"));
    dbgProRecSeMa->setFrameShape(QFrame::NoFrame);
    QPalette palette = dbgProRecSeMa->palette();
    palette.setColor(QPalette::Base, QColor(255, 255, 225));  // clInfoBk
    dbgProRecSeMa->setPalette(palette);
    dbgProRecSeMa->setDataSource(dtsProRecSeMa);
    const Qt::Alignment left = Qt::AlignLeft | Qt::AlignVCenter;
    dbgProRecSeMa->setColumns({
        {QStringLiteral("NRORDEM"), 26, false, {}, left},
        {QStringLiteral("ID"), -1, true, {}, left},
        {QStringLiteral("CODIGO"), 96, true, {}, left},
        {QStringLiteral("NOME"), 230, true, {}, left},
        {QStringLiteral("QUANTIDADE"), 57, true, {}, Qt::AlignRight | Qt::AlignVCenter},
        {QStringLiteral("SGUNIDADE"), 30, true, {}, left},
        {QStringLiteral("TXCOMENT"), 185, false, {}, left},
    });
    fitColumnsToContents(*dbgProRecSeMa, {QStringLiteral("SGUNIDADE")});  // units longer than "KG"
    auto* layout = new QVBoxLayout(tshProdRec);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(dbgProRecSeMa);
    bindProducts();
}

// A deletion is sent at once as well: kept only in the change log, it would be lost on the next load.
void TfrmFotoMontManual::bindProducts()
{
    DataSet& ds = *cdsProRecSeMa;
    ds.beforeInsert = [this](DataSet& d) { cdsProRecSeMaBeforeInsert(d); };
    ds.beforePost = [this](DataSet& d) { cdsProRecSeMaBeforePost(d); };
    ds.afterPost = [this](DataSet& d) { cdsProRecSeMaAfterPost(d); };
    ds.afterDelete = [this](DataSet& d) { cdsProRecSeMaAfterPost(d); };
    ds.fieldByName(QStringLiteral("NRORDEM")).onSetText = [this](Field& f, const QString& text) {
        cdsProRecSeMaNRORDEMSetText(f, text);
    };
    ds.fieldByName(QStringLiteral("CODIGO")).onGetText = [this](Field& f, QString& text, bool display) {
        cdsProRecSeMaCODIGOGetText(f, text, display);
    };
    dbgProRecSeMa->confirmDelete = [this](DBGrid&) {
        return msgMensagensPadroes->ShowMsg(QStringLiteral("Excl"), MsgType::Confirmation, mbYes | mbNo) == mrYes;
    };
}

void TfrmFotoMontManual::cdsProRecSeMaBeforeInsert(DataSet&)
{
    Abortar();
}

void TfrmFotoMontManual::cdsProRecSeMaBeforePost(DataSet& sender)
{
    if (EmptyString(sender.fieldByName(QStringLiteral("NRORDEM")).asString())) {
        dbgProRecSeMa->setSelectedIndex(IndiceCol(*dbgProRecSeMa, QStringLiteral("NRORDEM")));
        dbgProRecSeMa->setFocus();
        MensErro(msgPadrao->Msg(QStringLiteral("Ordem_Vaz")), true);
    }
}

void TfrmFotoMontManual::cdsProRecSeMaAfterPost(DataSet& sender)
{
    sendProRecSeMa(*netFotoMantMan, sender, hostMainWindow(), [this] { reloadAfterRefusal(*cdsProRecSeMa); });
}

void TfrmFotoMontManual::cdsProRecSeMaNRORDEMSetText(Field& sender, const QString& text)
{
    sender.setAsString(productOrder(text));
}

void TfrmFotoMontManual::cdsProRecSeMaCODIGOGetText(Field& sender, QString& text, bool)
{
    text = productCodeText(sender.dataSet().fieldByName(QStringLiteral("ID")).asString(), sender.asString(), DBPict(0));
}

}  // namespace qmv

#include "Cli_qmv00500/productlist.h"

#include "Cli_qmv00500/productrules.h"
#include "Cli_qmv00500/sheetgrid.h"
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
#include "server/catalogue.h"
#include "server/changesetprotocol.h"
#include "server/loadresult.h"

namespace qmv {

ProductList::ProductList(QWidget& page, Screen screen, QObject* parent)
    : QObject(parent), screen_(std::move(screen))
{
    buildDataSet();
    buildGrid(page);
    bind();
}

void ProductList::buildDataSet()
{
    cdsProRecSeMa_ = new DataSet(this);
    cdsProRecSeMa_->setObjectName(QStringLiteral("cdsProRecSeMa"));
    const auto hiddenText = [](const char* name, int size) {
        return FieldDef{QString::fromLatin1(name), FieldKind::Text, size, {}, false};
    };
    cdsProRecSeMa_->addField(hiddenText("CDFILIAL", 4));
    cdsProRecSeMa_->addField(hiddenText("CDCIA", 4));
    cdsProRecSeMa_->addField(hiddenText("CDSERVICO", 10));
    cdsProRecSeMa_->addField(hiddenText("CDMANCIA", 4));
    cdsProRecSeMa_->addField(hiddenText("CDSUBGRU", 10));
    cdsProRecSeMa_->addField({QStringLiteral("ID"), FieldKind::FixedText, 1, QStringLiteral("Id.")});
    cdsProRecSeMa_->addField({QStringLiteral("NRORDEM"), FieldKind::Text, 3, QStringLiteral("Clas."), true, false,
                             QStringLiteral("999;0; ")});
    cdsProRecSeMa_->addField({QStringLiteral("CODIGO"), FieldKind::Text, 20, QStringLiteral("Código")});
    cdsProRecSeMa_->addField(hiddenText("CDCODINT", 10));
    cdsProRecSeMa_->addField({QStringLiteral("NOME"), FieldKind::Text, 50, QStringLiteral("Descrição")});
    cdsProRecSeMa_->addField({QStringLiteral("QUANTIDADE"), FieldKind::Float, 0, QStringLiteral("Qtde."), true,
                             false, {}, QStringLiteral("0.000")});
    cdsProRecSeMa_->addField({QStringLiteral("SGUNIDADE"), FieldKind::Text, 10, QStringLiteral("Un.")});
    cdsProRecSeMa_->addField({QStringLiteral("TXCOMENT"), FieldKind::Text, 200, QStringLiteral("Observação")});
    cdsProRecSeMa_->addField(hiddenText("IDPRODATIV", 1));
    cdsProRecSeMa_->addField(hiddenText("CDESPEPROD", 10));
    cdsProRecSeMa_->addField(hiddenText("CDTIPOCOMP", 3));
    cdsProRecSeMa_->addField(hiddenText("CDPRODINSUMO", 10));
    dtsProRecSeMa_ = new DataSource(this);
    dtsProRecSeMa_->setObjectName(QStringLiteral("dtsProRecSeMa"));
    dtsProRecSeMa_->setDataSet(cdsProRecSeMa_);
}

void ProductList::buildGrid(QWidget& page)
{
    dbgProRecSeMa_ = sheetGrid(page, QStringLiteral("dbgProRecSeMa"), *dtsProRecSeMa_, screen_.standardMessages);
    const Qt::Alignment left = Qt::AlignLeft | Qt::AlignVCenter;
    dbgProRecSeMa_->setColumns({
        {QStringLiteral("NRORDEM"), 26, false, {}, left},
        {QStringLiteral("ID"), -1, true, {}, left},
        {QStringLiteral("CODIGO"), 96, true, {}, left},
        {QStringLiteral("NOME"), 230, true, {}, left},
        {QStringLiteral("QUANTIDADE"), 57, true, {}, Qt::AlignRight | Qt::AlignVCenter},
        {QStringLiteral("SGUNIDADE"), 30, true, {}, left},
        {QStringLiteral("TXCOMENT"), 185, false, {}, left},
    });
    fitColumnsToContents(*dbgProRecSeMa_, {QStringLiteral("SGUNIDADE")});  // units longer than "KG"
}

// A deletion is sent at once as well: kept only in the change log, it would be lost on the next load.
void ProductList::bind()
{
    DataSet& ds = *cdsProRecSeMa_;
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
}

void ProductList::cdsProRecSeMaBeforeInsert(DataSet&)
{
    Abortar();
}

void ProductList::cdsProRecSeMaBeforePost(DataSet& sender)
{
    if (EmptyString(sender.fieldByName(QStringLiteral("NRORDEM")).asString())) {
        dbgProRecSeMa_->setSelectedIndex(IndiceCol(*dbgProRecSeMa_, QStringLiteral("NRORDEM")));
        dbgProRecSeMa_->setFocus();
        MensErro(screen_.messages.Msg(QStringLiteral("Ordem_Vaz")), true);
    }
}

void ProductList::cdsProRecSeMaAfterPost(DataSet& sender)
{
    sendProRecSeMa(screen_.connection, sender, hostMainWindow(), screen_.reloadAfterRefusal);
}

void ProductList::cdsProRecSeMaNRORDEMSetText(Field& sender, const QString& text)
{
    sender.setAsString(productOrder(text));
}

void ProductList::cdsProRecSeMaCODIGOGetText(Field& sender, QString& text, bool)
{
    text = productCodeText(sender.dataSet().fieldByName(QStringLiteral("ID")).asString(), sender.asString(), DBPict(0));
}

void ProductList::load(const QString& branch, const DataSet& subGroup)
{
    const auto field = [&](const char* name) { return subGroup.fieldByName(QLatin1String(name)).asString(); };
    loadResult(*cdsProRecSeMa_, GetProRecSeMa(screen_.connection, branch, field("CDCIA"), field("CDMANCIA"),
                                              field("CDSERVICO"), field("CDSUBGRU"), field("CDCLASSE"),
                                              field("CDCICLO")));
}

}  // namespace qmv

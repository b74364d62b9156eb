// The sub-group sheet: the dataset cdsSubGruSeMa with its fields in their fixed order (the order of
// the null-field list), its data source, the grid columns of dbgPadrao, and the record's handlers:
// the checks before a post, the sending after it, the loading value's text and the observation
// column.
#include <QApplication>

#include "Cli_qmv00500/cli_qmv00500.h"
#include "Cli_qmv00500/subgrouprules.h"
#include "Cli_qmv00500/datessheet.h"
#include "Cli_qmv00500/productlist.h"
#include "Cli_qmv00500/equipmentlist.h"
#include "Cli_qmv00500/instructionssheet.h"
#include "Cli_qmv00500/photopage.h"
#include "Cli_qmv00500/tfrmfotomontmanual.h"
#include "Cli_qmv00506/cli_qmv00506.h"
#include "host/abort.h"
#include "host/controls.h"
#include "host/menserro.h"
#include "host/routines.h"
#include "host/tbuttonflat.h"
#include "host/tcustompagecontrol98.h"
#include "host/tmessages.h"
#include "platform/dataset.h"
#include "platform/datasource.h"
#include "platform/dbgrid.h"
#include "platform/dbnavigator.h"
#include "platform/dbtext.h"
#include "server/changesetprotocol.h"

namespace qmv {

namespace {

FieldDef text(const char* name, int size, const QString& label = {}, bool visible = false)
{
    return {QString::fromLatin1(name), FieldKind::Text, size, label, visible};
}

FieldDef hidden(const char* name, FieldKind kind)
{
    return {QString::fromLatin1(name), kind, 0, {}, false};
}

}  // namespace

void TfrmFotoMontManual::buildSubGroups()
{
    cdsSubGruSeMa = new DataSet(this);
    cdsSubGruSeMa->setObjectName(QStringLiteral("cdsSubGruSeMa"));
    for (const FieldDef& def : {
             text("DSSUBGRUPO", 50, QStringLiteral("Sub-Grupo Impressão"), true),
             text("CDCIA", 4),
             text("SGCIA", 5),
             text("NMCIA", 50),
             text("CDMANCIA", 4),
             text("CDSERVICO", 10),
             text("CDSUBGRU", 10),
             text("CDSUBARV", 20, QStringLiteral("Código"), true),
             text("DSSUBGRU", 50, QStringLiteral("Descrição"), true),
             FieldDef{QStringLiteral("TempCiclo"), FieldKind::Calculated, 20, {}, false},
             text("NRORDSUMA", 3, QStringLiteral("Clas."), true),
             text("DSSUBGRUPROD", 50),
             text("NMFOTOSUMA", 30),
             hidden("FGLOGOCIA", FieldKind::Blob),
             text("VRPELOADSUMA", 20, QStringLiteral("Loading"), true),
             text("TXCOMSUMA", 200, QStringLiteral("Observação")),
             text("CDCLASSE", 4),
             text("CDCICLO", 4),
             text("CDFILIAL", 4),
             hidden("DTAPRESUMA", FieldKind::DateTime),
             text("DSSUBGRUPRI", 50),
             text("CDSUBARVPRI", 20),
             hidden("DTEFETSUMA", FieldKind::DateTime),
             hidden("DTREVISUMA", FieldKind::DateTime),
             text("CDESPEPROD", 10),
             text("CDTIPOCOMP", 3),
             text("CDSUBGRUPRI", 50),
             text("CDESPEPRODSG", 10),
             text("CDPRODUTOPRI", 10),
             FieldDef{QStringLiteral("OBS"), FieldKind::Calculated, 20, QStringLiteral("Obs.")},
         })
        cdsSubGruSeMa->addField(def);

    dtsSubGruSeMa = new DataSource(this);
    dtsSubGruSeMa->setObjectName(QStringLiteral("dtsSubGruSeMa"));
    dtsSubGruSeMa->setDataSet(cdsSubGruSeMa);
    dtsPadrao->setDataSet(cdsSubGruSeMa);

    dbgPadrao->setDataSource(dtsSubGruSeMa);
    dbgPadrao->setColumns({
        {QStringLiteral("NRORDSUMA"), 26, false},
        {QStringLiteral("CDSUBARV"), 99, true},
        {QStringLiteral("DSSUBGRU"), 246, true},
        {QStringLiteral("VRPELOADSUMA"), 44, false},
        {QStringLiteral("DSSUBGRUPO"), 272, false},
        {QStringLiteral("OBS"), 28, true},
    });
    dbtNome->setDataSource(dtsSubGruSeMa);
    dbtNome->setDataField(QStringLiteral("DSSUBGRU"));
    dbnPadrao->setDataSource(dtsSubGruSeMa);
}

void TfrmFotoMontManual::bindSubGroups()
{
    DataSet& ds = *cdsSubGruSeMa;
    ds.afterOpen = [this](DataSet& d) { cdsSubGruSeMaAfterOpen(d); };
    ds.afterScroll = [this](DataSet& d) { cdsSubGruSeMaAfterScroll(d); };
    ds.beforeInsert = [this](DataSet& d) { cdsSubGruSeMaBeforeInsert(d); };
    ds.beforeDelete = [this](DataSet& d) { cdsSubGruSeMaBeforeDelete(d); };
    ds.beforeScroll = [this](DataSet& d) { cdsSubGruSeMaBeforeScroll(d); };
    ds.beforePost = [this](DataSet& d) { cdsSubGruSeMaBeforePost(d); };
    ds.afterPost = [this](DataSet& d) { cdsSubGruSeMaAfterPost(d); };
    ds.onCalcFields = [this](DataSet& d) { cdsSubGruSeMaCalcFields(d); };
    ds.fieldByName(QStringLiteral("VRPELOADSUMA")).onGetText = [this](Field& f, QString& text, bool display) {
        cdsSubGruSeMaVRPELOADSUMAGetText(f, text, display);
    };
    dbgPadrao->onEditButtonClick = [this](DBGrid& g, int column) { dbgPadraoEditButtonClick(g, column); };
    dbgPadrao->onKeyDown = [this](DBGrid& g, int& key, Qt::KeyboardModifiers shift) {
        dbgPadraoKeyDown(g, key, shift);
    };
    dbgPadrao->onKeyPress = [this](DBGrid& g, QChar& key) { dbgPadraoKeyPress(g, key); };
}

void TfrmFotoMontManual::cdsSubGruSeMaAfterOpen(DataSet& sender)
{
    const int column = IndiceCol(*dbgPadrao, QStringLiteral("OBS"));
    dbgPadrao->setColumnButtonStyle(column, sender.isEmpty() ? ButtonStyle::Auto : ButtonStyle::Ellipsis);
}

void TfrmFotoMontManual::cdsSubGruSeMaAfterScroll(DataSet&)
{
    pgcPadraoChange();
}

void TfrmFotoMontManual::cdsSubGruSeMaBeforeInsert(DataSet&)
{
    throw Abort();
}

// The sub-groups come from the service definition and the server refuses to delete one: a deletion
// left in the change log would make the next post of another row fail.
void TfrmFotoMontManual::cdsSubGruSeMaBeforeDelete(DataSet&)
{
    MensErro(msgPadrao->Msg(QStringLiteral("SubGru_Excl")), true);
}

// While a record of another page is being edited, the current sub-group stays where it is, so the
// page never reloads over typed text; the message names the page where the edit waits.
void TfrmFotoMontManual::cdsSubGruSeMaBeforeScroll(DataSet&)
{
    const std::tuple<const DataSet*, const QTabWidget*, QWidget*> pages[] = {
        {&photo_->records(), pgcPadrao, tshFotoServ},
        {&instructions_->records(), pgcSubGrupo, tshInstMont},
        {&equipment_->records(), pgcSubGrupo, tshEquipamento},
        {&products_->records(), pgcPadrao, tshProdRec},
    };
    for (const auto& [ds, control, page] : pages) {
        if (ds->state() == DataSetState::Edit || ds->state() == DataSetState::Insert)
            MensErro(msgPadrao->Msg(QStringLiteral("SubGru_Mudar"))
                         .replace(QStringLiteral("%s"), control->tabText(control->indexOf(page))),
                     true);
    }
}

void TfrmFotoMontManual::cdsSubGruSeMaBeforePost(DataSet& sender)
{
    if (pgcPadrao->ActivePage() == tshPadrao && EmptyString(sender.fieldByName(QStringLiteral("NRORDSUMA")).asString())) {
        dbgPadrao->setSelectedIndex(IndiceCol(*dbgPadrao, QStringLiteral("NRORDSUMA")));
        dbgPadrao->setFocus();
        MensErro(msgPadrao->Msg(QStringLiteral("Ordem_Vaz")), true);
    }
    dates_->checkBeforePost(pgcPadrao->ActivePage() == tshFotoServ);
    if (!Cli_qmv00500::boControle && !applyRevisionRule(sender)) {
        dates_->focusRevisionDate();
        MensErro(msgPadrao->Msg(QStringLiteral("DTREVISUMA_NAO_MENOR")), true);
    }
}

void TfrmFotoMontManual::cdsSubGruSeMaAfterPost(DataSet& sender)
{
    sendSubGruSeMa(*netFotoMantMan, sender, [this] { reloadAfterRefusal(*cdsSubGruSeMa); });
}

void TfrmFotoMontManual::cdsSubGruSeMaCalcFields(DataSet& sender)
{
    sender.fieldByName(QStringLiteral("TempCiclo")).setAsString(cycleTime(cycleRate_));
}

void TfrmFotoMontManual::cdsSubGruSeMaVRPELOADSUMAGetText(Field& sender, QString& text, bool)
{
    text = loadingText(sender.asString());
}

namespace {

bool onObservation(const DBGrid& grid)
{
    const Field* field = grid.selectedField();
    return field && field->name() == QLatin1String("OBS");
}

}  // namespace

void TfrmFotoMontManual::dbgPadraoEditButtonClick(DBGrid& sender, int)
{
    if (onObservation(sender))
        Cli_qmv00506::CriaObsSubGrupo();
}

void TfrmFotoMontManual::dbgPadraoKeyDown(DBGrid& sender, int& key, Qt::KeyboardModifiers)
{
    if (sbtAutoExibe->isChecked()) {
        key = 0;
        return;
    }
    if (onObservation(sender) && (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_F9))
        Cli_qmv00506::CriaObsSubGrupo();
}

void TfrmFotoMontManual::dbgPadraoKeyPress(DBGrid& sender, QChar& key)
{
    if (sbtAutoExibe->isChecked() || onObservation(sender))
        key = QChar();
}

}  // namespace qmv

#include "Cli_qmv00500/subgroupsheet.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>

#include "Cli_qmv00500/cli_qmv00500.h"
#include "Cli_qmv00500/subgrouprules.h"
#include "Cli_qmv00506/cli_qmv00506.h"
#include "Cli_qmv00507/cli_qmv00507.h"
#include "host/abort.h"
#include "host/controls.h"
#include "host/guard.h"
#include "host/menserro.h"
#include "host/routines.h"
#include "host/tmessages.h"
#include "lookup/selectionpanel.h"
#include "platform/dataset.h"
#include "platform/datasource.h"
#include "platform/dbgrid.h"
#include "platform/dbnavigator.h"
#include "platform/dbtext.h"
#include "server/catalogue.h"
#include "server/changesetprotocol.h"
#include "server/loadresult.h"

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

SubGroupSheet::SubGroupSheet(Screen screen, QObject* parent) : QObject(parent), screen_(std::move(screen))
{
    buildDataSet();
    buildGrid();
    bind();
}

void SubGroupSheet::buildDataSet()
{
    cdsSubGruSeMa_ = new DataSet(this);
    cdsSubGruSeMa_->setObjectName(QStringLiteral("cdsSubGruSeMa"));
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
        cdsSubGruSeMa_->addField(def);

    dtsSubGruSeMa_ = new DataSource(this);
    dtsSubGruSeMa_->setObjectName(QStringLiteral("dtsSubGruSeMa"));
    dtsSubGruSeMa_->setDataSet(cdsSubGruSeMa_);
}

void SubGroupSheet::buildGrid()
{
    screen_.grid.setDataSource(dtsSubGruSeMa_);
    screen_.grid.setColumns({
        {QStringLiteral("NRORDSUMA"), 26, false},
        {QStringLiteral("CDSUBARV"), 99, true},
        {QStringLiteral("DSSUBGRU"), 246, true},
        {QStringLiteral("VRPELOADSUMA"), 44, false},
        {QStringLiteral("DSSUBGRUPO"), 272, false},
        {QStringLiteral("OBS"), 28, true},
    });
    screen_.nameLabel.setDataSource(dtsSubGruSeMa_);
    screen_.nameLabel.setDataField(QStringLiteral("DSSUBGRU"));
    screen_.navigator.setDataSource(dtsSubGruSeMa_);
}

void SubGroupSheet::bind()
{
    DataSet& ds = *cdsSubGruSeMa_;
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
    DBGrid& grid = screen_.grid;
    grid.onEditButtonClick = [this](DBGrid& g, int column) { dbgPadraoEditButtonClick(g, column); };
    grid.onKeyDown = [this](DBGrid& g, int& key, Qt::KeyboardModifiers shift) {
        dbgPadraoKeyDown(g, key, shift);
    };
    grid.onKeyPress = [this](DBGrid& g, QChar& key) { dbgPadraoKeyPress(g, key); };
}

void SubGroupSheet::cdsSubGruSeMaAfterOpen(DataSet& sender)
{
    const int column = IndiceCol(screen_.grid, QStringLiteral("OBS"));
    screen_.grid.setColumnButtonStyle(column, sender.isEmpty() ? ButtonStyle::Auto : ButtonStyle::Ellipsis);
}

void SubGroupSheet::cdsSubGruSeMaAfterScroll(DataSet&)
{
    screen_.currentChanged();
}

void SubGroupSheet::cdsSubGruSeMaBeforeInsert(DataSet&)
{
    throw Abort();
}

// The sub-groups come from the service definition and the server refuses to delete one: a deletion
// left in the change log would make the next post of another row fail.
void SubGroupSheet::cdsSubGruSeMaBeforeDelete(DataSet&)
{
    MensErro(screen_.messages.Msg(QStringLiteral("SubGru_Excl")), true);
}

// While a record of another page is being edited, the current sub-group stays where it is, so the
// page never reloads over typed text; the message names the page where the edit waits.
void SubGroupSheet::cdsSubGruSeMaBeforeScroll(DataSet&)
{
    const QString page = screen_.pendingPage();
    if (!page.isEmpty())
        MensErro(screen_.messages.Msg(QStringLiteral("SubGru_Mudar")).replace(QStringLiteral("%s"), page), true);
}

void SubGroupSheet::cdsSubGruSeMaBeforePost(DataSet& sender)
{
    if (screen_.sheetInView() && EmptyString(sender.fieldByName(QStringLiteral("NRORDSUMA")).asString())) {
        screen_.grid.setSelectedIndex(IndiceCol(screen_.grid, QStringLiteral("NRORDSUMA")));
        screen_.grid.setFocus();
        MensErro(screen_.messages.Msg(QStringLiteral("Ordem_Vaz")), true);
    }
    screen_.checkDates();
    if (!Cli_qmv00500::boControle && !applyRevisionRule(sender)) {
        screen_.focusRevisionDate();
        MensErro(screen_.messages.Msg(QStringLiteral("DTREVISUMA_NAO_MENOR")), true);
    }
}

void SubGroupSheet::cdsSubGruSeMaAfterPost(DataSet& sender)
{
    sendSubGruSeMa(screen_.connection, sender, [this] { reloadKeepingRow(); });
}

void SubGroupSheet::cdsSubGruSeMaCalcFields(DataSet& sender)
{
    sender.fieldByName(QStringLiteral("TempCiclo")).setAsString(cycleTime(cycleRate_));
}

void SubGroupSheet::cdsSubGruSeMaVRPELOADSUMAGetText(Field& sender, QString& text, bool)
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

void SubGroupSheet::dbgPadraoEditButtonClick(DBGrid& sender, int)
{
    if (onObservation(sender))
        Cli_qmv00506::CriaObsSubGrupo();
}

void SubGroupSheet::dbgPadraoKeyDown(DBGrid& sender, int& key, Qt::KeyboardModifiers)
{
    if (screen_.autoDisplayRunning()) {
        key = 0;
        return;
    }
    if (onObservation(sender) && (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_F9))
        Cli_qmv00506::CriaObsSubGrupo();
}

void SubGroupSheet::dbgPadraoKeyPress(DBGrid& sender, QChar& key)
{
    if (screen_.autoDisplayRunning() || onObservation(sender))
        key = QChar();
}

void SubGroupSheet::load(const QString& photoFilter, const QString& instrFilter)
{
    const SelectionKey& key = screen_.selection.key();
    loadResult(*cdsSubGruSeMa_, GetSubGruSeMa(screen_.connection, screen_.selection.rows().medFilial->text(),
                                              key.company, key.manual, key.service + key.classCode + key.cycle,
                                              photoFilter, instrFilter));
}

void SubGroupSheet::reloadKeepingRow()
{
    const auto field = [this](const char* name) { return cdsSubGruSeMa_->fieldByName(QLatin1String(name)).asString(); };
    const QVariantList row{field("CDSUBGRU"), field("CDESPEPRODSG")};
    load();
    cdsSubGruSeMa_->locate(QStringLiteral("CDSUBGRU;CDESPEPRODSG"), row);
}

void SubGroupSheet::addHistoryEntry(QMenu& maintenance, QMenu& context, QWidget& window)
{
    auto* action = new QAction(QStringLiteral("&Histórico..."), &window);
    action->setObjectName(QStringLiteral("mnuHistorico"));
    action->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_H));
    maintenance.addAction(action);
    context.addSeparator();
    context.addAction(action);
    window.addAction(action);
    connect(action, &QAction::triggered, this, [this] { guard([this] { mnuHistoricoClick(); }); });
}

void SubGroupSheet::mnuHistoricoClick()
{
    Cli_qmv00507::CriaHistSubGrupo();
}

void SubGroupSheet::setCodeMask(const QString& mask)
{
    cdsSubGruSeMa_->fieldByName(QStringLiteral("CDSUBARV")).setEditMask(mask);
    cdsSubGruSeMa_->fieldByName(QStringLiteral("CDSUBARVPRI")).setEditMask(mask);
}

}  // namespace qmv

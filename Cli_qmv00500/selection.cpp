// The selection panel: branch, company, manual and service, each a code edit, its lookup button and
// name boxes; the service lookup dataset; what the creation handler fills in from the host; the
// lookups of each row; and the panel's exit (load the service's sub-groups, unlock) and enter
// (close the data, lock again).
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

#include "Cli_qmv00500/tfrmfotomontmanual.h"
#include "host/busyindicator.h"
#include "host/childhost.h"
#include "host/codestructure.h"
#include "host/hostconfig.h"
#include "host/menserro.h"
#include "host/routines.h"
#include "host/tbtnpesquisa.h"
#include "host/tbuttonflat.h"
#include "host/tcustompagecontrol98.h"
#include "host/tmessages.h"
#include "lookup/codelookup.h"
#include "lookup/focusregion.h"
#include "lookup/lookupqueries.h"
#include "platform/dataset.h"
#include "platform/datasource.h"
#include "platform/editmask.h"
#include "server/catalogue.h"
#include "server/loadresult.h"
#include "server/servicelist.h"

namespace qmv {

namespace {

QLineEdit* lineEdit(QWidget* parent, const QString& name, int width)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setFixedWidth(width);
    return edit;
}

// A name box may give way down to its narrowest width, so that the panel fits a 640 by 480 screen.
QLineEdit* nameBox(QWidget* parent, const QString& name, int width, int narrowest = 0)
{
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setMinimumWidth(narrowest > 0 ? narrowest : width);
    box->setMaximumWidth(width);
    box->setReadOnly(true);
    box->setEnabled(false);
    box->setFocusPolicy(Qt::NoFocus);
    return box;
}

QLabel* boldLabel(QWidget* parent, const QString& name, const QString& text)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

TBtnPesquisa* lookupButton(QWidget* parent, const QString& name, const QString& title)
{
    auto* button = new TBtnPesquisa(parent, name);
    button->setTitle(title);
    return button;
}

}  // namespace

void TfrmFotoMontManual::buildSelection()
{
    panFiltro = new QFrame(this);
    panFiltro->setObjectName(QStringLiteral("panFiltro"));
    panFiltro->setFrameShape(QFrame::StyledPanel);
    auto* grid = new QGridLayout(panFiltro);
    grid->setContentsMargins(6, 4, 6, 4);
    grid->setVerticalSpacing(3);

    lblFilial = boldLabel(panFiltro, QStringLiteral("lblFilial"), QStringLiteral("Filial"));
    medFilial = lineEdit(panFiltro, QStringLiteral("medFilial"), 48);
    medFilial->setInputMask(EditMask(QStringLiteral(">aaaa;0; ")).inputMask());
    medFilial->setFocusPolicy(Qt::ClickFocus);
    btnFilial = lookupButton(panFiltro, QStringLiteral("btnFilial"), QStringLiteral("Filial"));
    edtNmFilial = nameBox(panFiltro, QStringLiteral("edtNmFilial"), 300, 150);

    lblCompanhia = boldLabel(panFiltro, QStringLiteral("lblCompanhia"), QStringLiteral("Companhia"));
    medCdCia = lineEdit(panFiltro, QStringLiteral("medCdCia"), 56);
    medCdCia->setMaxLength(5);
    btpCompanhia = lookupButton(panFiltro, QStringLiteral("btpCompanhia"), QStringLiteral("Companhia"));
    edtNmCia = nameBox(panFiltro, QStringLiteral("edtNmCia"), 300, 150);

    lblManual = boldLabel(panFiltro, QStringLiteral("lblManual"), QStringLiteral("Manual"));
    medCdManCia = lineEdit(panFiltro, QStringLiteral("medCdManCia"), 48);
    medCdManCia->setMaxLength(4);
    btpManualCia = lookupButton(panFiltro, QStringLiteral("btpManualCia"), QStringLiteral("Manual"));
    edtDsManCia = nameBox(panFiltro, QStringLiteral("edtDsManCia"), 300, 150);

    lblServico = boldLabel(panFiltro, QStringLiteral("lblServico"), QStringLiteral("Serviço"));
    medCdServico = lineEdit(panFiltro, QStringLiteral("medCdServico"), 100);
    medCdServico->setMaxLength(10);
    btpServManual = lookupButton(panFiltro, QStringLiteral("btpServManual"), QStringLiteral("Serviço"));
    edtDsServico = nameBox(panFiltro, QStringLiteral("edtDsServico"), 300, 150);
    edtClasse = nameBox(panFiltro, QStringLiteral("edtClasse"), 60, 45);
    edtCiclo = nameBox(panFiltro, QStringLiteral("edtCiclo"), 90, 70);

    const QList<std::tuple<QLabel*, QLineEdit*, QWidget*, QLineEdit*>> rows = {
        {lblFilial, medFilial, btnFilial, edtNmFilial},
        {lblCompanhia, medCdCia, btpCompanhia, edtNmCia},
        {lblManual, medCdManCia, btpManualCia, edtDsManCia},
        {lblServico, medCdServico, btpServManual, edtDsServico},
    };
    for (int row = 0; row < rows.size(); ++row) {
        const auto& [label, code, button, name] = rows[row];
        grid->addWidget(label, row, 0);
        grid->addWidget(code, row, 1);
        grid->addWidget(button, row, 2);
        grid->addWidget(name, row, 3);
    }
    auto* classCycle = new QHBoxLayout;
    classCycle->addWidget(new QLabel(QStringLiteral("-"), panFiltro));
    classCycle->addWidget(edtClasse);
    classCycle->addWidget(new QLabel(QStringLiteral("-"), panFiltro));
    classCycle->addWidget(edtCiclo);
    classCycle->addStretch(1);
    grid->addLayout(classCycle, 3, 4);
    grid->setColumnStretch(3, 1);
    grid->setColumnStretch(5, 1);
    setTabOrder(medCdCia, medCdManCia);
    setTabOrder(medCdManCia, medCdServico);
    // The panel sits between the command bar and the pages.
    if (auto* column = qobject_cast<QBoxLayout*>(layout()))
        column->insertWidget(column->indexOf(panMenu) + 1, panFiltro);

    cdsServManual = makeServiceList(this);
    dtsServManual = new DataSource(this);
    dtsServManual->setObjectName(QStringLiteral("dtsServManual"));
    dtsServManual->setDataSet(cdsServManual);
    btpServManual->setDataSource(dtsServManual);
    bindSelection();
}

// Creation steps that come from the host: the user's branch (code first, then its name), whether
// it may be changed, and the hierarchical code mask on every field and edit that shows such codes.
void TfrmFotoMontManual::selectionFormCreate()
{
    medFilial->setText(FiliProc());
    edtNmFilial->setText(NomeFiliProc());
    const bool branchFree = !ModuFili();
    medFilial->setEnabled(branchFree);
    lblFilial->setEnabled(branchFree);
    btnFilial->setEnabled(branchFree);

    const QString mask = DBPict(0);
    cdsSubGruSeMa->fieldByName(QStringLiteral("CDSUBARV")).setEditMask(mask);
    cdsSubGruSeMa->fieldByName(QStringLiteral("CDSUBARVPRI")).setEditMask(mask);
    cdsSubGruPrin->fieldByName(QStringLiteral("CDSUBARV")).setEditMask(mask);
    cdsEquiSubSeMa->fieldByName(QStringLiteral("CDARVPROD")).setEditMask(mask);
    cdsServManual->fieldByName(QStringLiteral("SERVICO")).setEditMask(mask);
    medCdServico->setInputMask(EditMask(mask).inputMask());
    lockPages();
    focusFirstSelectionField();
}

namespace {

TADOIBQuery* ownedQuery(std::unique_ptr<TADOIBQuery> query, QObject* owner)
{
    query->setParent(owner);
    return query.release();
}

void setParam(TADOIBQuery& query, const char* name, const QString& value)
{
    query.ParamByName(QLatin1String(name)).setAsString(value);
}

// Open again with the code's own parameter null (never an empty text), as the queries expect.
bool reopenWithNull(TADOIBQuery& query, const char* nullParam,
                    std::initializer_list<std::pair<const char*, QString>> params)
{
    query.Close();
    query.ParamByName(QLatin1String(nullParam)).clear();
    for (const auto& [name, value] : params)
        setParam(query, name, value);
    query.Open();
    return !query.IsEmpty();
}

// The company of the service lookups is the one last chosen or validated (stCdCia): the current
// row of qryCompanhia holds the same after a choice, but not after a list dismissed unchosen.
void loadServices(TfrmFotoMontManual& f, const QString& code)
{
    loadResult(*f.cdsServManual, GetServManual(*f.netFotoMantMan, f.stCdCia, f.medFilial->text(),
                                               f.medCdManCia->text(), code));
}

void bindBranch(TfrmFotoMontManual& f)
{
    CodeLookup& g = *f.lkpFilial;
    g.setSource(f.qryFilial, QStringLiteral("CDFILIAL"), QStringLiteral("NMFILIAL"));
    g.setDependent(f.medCdCia);
    g.bindButton(*f.btnFilial);
    f.btnFilial->setEmptyError(QStringLiteral("Não há filial cadastrada."));
    g.onBeforeList = [&f] { listBranches(*f.qryFilial); };
    g.onAfterCopy = [&f](DataSet&) {
        f.qryManualCia->Close();
        setParam(*f.qryManualCia, "P_CDFILIAL", f.medFilial->text());
    };
    g.findExact = [&f](const QString& code) { return findBranch(*f.qryFilial, code); };
    g.onExit = [&f] { f.Vd_Filial(false); };
}

void bindCompany(TfrmFotoMontManual& f)
{
    CodeLookup& g = *f.lkpCompanhia;
    g.setUpperCaseEntry(5);
    g.setSource(f.qryCompanhia, QStringLiteral("SGCIA"), QStringLiteral("NMCIA"));
    g.setDependent(f.medCdManCia);
    g.bindButton(*f.btpCompanhia);
    f.btpCompanhia->setEmptyError(QStringLiteral("Não há companhia cadastrada para a filial cadastrada."));
    g.onBeforeList = [&f] {
        f.qryCompanhia->Reopen({{"P_CDFILIAL", f.medFilial->text()}, {"P_TSGCIA", QStringLiteral("T")},
                                {"P_SGCIA", QString()}});
    };
    g.onAfterCopy = [&f](DataSet& row) {
        f.stCdCia = row.fieldByName(QStringLiteral("CDCIA")).asString();
        f.qryManualCia->Close();
        setParam(*f.qryManualCia, "P_CDCIA", f.stCdCia);
    };
    g.findExact = [&f](const QString& abbreviation) {
        return f.qryCompanhia->Reopen(
            {{"P_CDFILIAL", f.medFilial->text()}, {"P_SGCIA", abbreviation}, {"P_TSGCIA", QString()}});
    };
    g.onExit = [&f] { f.lkpCompanhia->validateTyped(f.msgPadrao->Msg(QStringLiteral("Cia_Inv"))); };
}

// P_CDCIA is not set here: it keeps the company of the last choice.
void bindManual(TfrmFotoMontManual& f)
{
    CodeLookup& g = *f.lkpManualCia;
    g.setUpperCaseEntry(4);
    g.setSource(f.qryManualCia, QStringLiteral("CDMANCIA"), QStringLiteral("DSMANUAL"));
    g.setDependent(f.medCdServico);
    g.bindButton(*f.btpManualCia);
    f.btpManualCia->setEmptyError(QStringLiteral("Não há manual cadastrado para a companhia informada."));
    g.onBeforeList = [&f] {
        reopenWithNull(*f.qryManualCia, "P_CDMANCIA",
                       {{"P_CDFILIAL", f.medFilial->text()}, {"P_TCDMANCIA", QStringLiteral("T")}});
    };
    g.onAfterCopy = [&f](DataSet& row) {
        f.stCdManCia = row.fieldByName(QStringLiteral("CDMANCIA")).asString();
    };
    g.findExact = [&f](const QString& code) {
        return reopenWithNull(*f.qryManualCia, "P_TCDMANCIA",
                              {{"P_CDFILIAL", f.medFilial->text()}, {"P_CDMANCIA", Ajusta(code, 4)}});
    };
    g.onExit = [&f] { f.lkpManualCia->validateTyped(f.msgPadrao->Msg(QStringLiteral("ManCia_Inv"))); };
}

// The typed code goes as the edit holds it; the first row returned is taken.
void bindService(TfrmFotoMontManual& f)
{
    CodeLookup& g = *f.lkpServManual;
    g.setSource(f.cdsServManual, QStringLiteral("SERVICO"), QStringLiteral("DSSERVICO"));
    g.addCopy(QStringLiteral("SGCLASSE"), *f.edtClasse);
    g.addCopy(QStringLiteral("IDCICLO"), *f.edtCiclo);
    g.bindButton(*f.btpServManual, f.dtsServManual);
    f.btpServManual->setEmptyError(QStringLiteral("Não há serviço cadastrado."));
    g.onBeforeList = [&f] {
        BusyIndicator busy(hostMainWindow(), 6);
        loadServices(f, QString());
    };
    g.onAfterCopy = [&f](DataSet& row) {
        f.stCdServico = row.fieldByName(QStringLiteral("CDSERVICO")).asString();
        f.stCdClasse = row.fieldByName(QStringLiteral("CDCLASSE")).asString();
        f.stCdCiclo = row.fieldByName(QStringLiteral("CDCICLO")).asString();
    };
    g.findExact = [&f](const QString&) {
        loadServices(f, f.medCdServico->text());
        return !f.cdsServManual->isEmpty();
    };
    g.onExit = [&f] { f.lkpServManual->validateTyped(f.msgPadrao->Msg(QStringLiteral("ServMan_Inv"))); };
}

void syncEntries(TfrmFotoMontManual& f)
{
    f.mnuFolhaDados->setEnabled(f.tshPadrao->isEnabled());
    f.mnuFormulario->setEnabled(f.tshFotoServ->isEnabled());
    f.mnuProdRec->setEnabled(f.tshProdRec->isEnabled());
    f.mnuFiltro->setEnabled(f.sbtFiltroD->isEnabled());
    f.mnuExibeAuto->setEnabled(f.sbtAutoExibe->isEnabled());
    f.mnuEmiteManual->setEnabled(f.sbtManualCia->isEnabled());
    f.mnuImpFoto->setEnabled(f.sbtImpFoto->isEnabled());
}

void setSheetsEnabled(TfrmFotoMontManual& f, bool enabled)
{
    f.tshFotoServ->setEnabled(enabled);
    f.tshInstMont->setEnabled(enabled);
    f.tshProdRec->setEnabled(enabled);
}

void setCommandsEnabled(TfrmFotoMontManual& f, bool enabled)
{
    for (TButtonFlat* command : {f.sbtFiltroD, f.sbtAutoExibe, f.sbtManualCia, f.sbtImpFoto})
        command->setEnabled(enabled);
}

}  // namespace

// The lookups of the four rows and the panel's enter and exit, taken as the focus moving into or
// out of the panel as a whole.
void TfrmFotoMontManual::bindSelection()
{
    dtmDBGeral& db = dtmDBGeral::shared();
    qryFilial = ownedQuery(makeQryFilial(db), this);
    qryCompanhia = ownedQuery(makeQryCompanhia(db), this);
    qryManualCia = ownedQuery(makeQryManualCia(db), this);
    lkpFilial = new CodeLookup(*medFilial, *edtNmFilial, this);
    lkpCompanhia = new CodeLookup(*medCdCia, *edtNmCia, this);
    lkpManualCia = new CodeLookup(*medCdManCia, *edtDsManCia, this);
    lkpServManual = new CodeLookup(*medCdServico, *edtDsServico, this);
    bindBranch(*this);
    bindCompany(*this);
    bindManual(*this);
    bindService(*this);
    auto* panel = new FocusRegion(*panFiltro, this);
    panel->onEnter = [this] { panFiltroEnter(); };
    panel->onExit = [this] { panFiltroExit(); };
}

void TfrmFotoMontManual::Vd_Filial(bool required)
{
    lkpFilial->validateRequired(required, {4, msgPadrao->Msg(QStringLiteral("FILIAL_NULL")),
                                           msgPadrao->Msg(QStringLiteral("FILIAL_INV")), true});
}

// Runs after the exit of the field left. A code typed and never validated (the user went on
// through a lookup button of another row) is validated here, so the load uses the codes shown.
void TfrmFotoMontManual::panFiltroExit()
{
    Vd_Filial(true);
    const std::tuple<CodeLookup*, const char*, const char*> required[] = {
        {lkpCompanhia, "Cia_Vaz", "Cia_Inv"},
        {lkpManualCia, "ManCia_Vaz", "ManCia_Inv"},
        {lkpServManual, "ServMan_Vaz", "ServMan_Inv"}};
    for (const auto& [group, emptyKey, invalidKey] : required) {
        if (group->code().isEmpty()) {
            group->codeEdit().setFocus(Qt::OtherFocusReason);
            MensErro(msgPadrao->Msg(QLatin1String(emptyKey)), true);
        }
        group->validateTyped(msgPadrao->Msg(QLatin1String(invalidKey)));
    }
    {
        BusyIndicator busy(hostMainWindow(), 6);
        loadSubGroups();
    }
    loaded_ = true;
    setSheetsEnabled(*this, !cdsSubGruSeMa->isEmpty());
    setCommandsEnabled(*this, true);
    syncEntries(*this);
}

void TfrmFotoMontManual::panFiltroEnter()
{
    cdsProRecSeMa->close();
    cdsSubGruSeMa->close();
    cdsEquiSubSeMa->close();
    lockPages();
}

// Nothing below the panel works without a loaded selection: the first page only, no commands.
void TfrmFotoMontManual::lockPages()
{
    loaded_ = false;
    pgcPadrao->SetActivePage(tshPadrao);
    pgcSubGrupo->SetActivePage(tshInstMont);
    setSheetsEnabled(*this, false);
    mnuFolhaDados->setChecked(true);
    mnuFormulario->setChecked(false);
    mnuProdRec->setChecked(false);
    setCommandsEnabled(*this, false);
    syncEntries(*this);
}

// The screen opens ready for typing: the focus on the panel's first field that takes it by Tab.
void TfrmFotoMontManual::focusFirstSelectionField()
{
    for (QLineEdit* field : {medFilial, medCdCia, medCdManCia, medCdServico}) {
        if (field->isEnabled() && (field->focusPolicy() & Qt::TabFocus) == Qt::TabFocus) {
            field->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
}

}  // namespace qmv

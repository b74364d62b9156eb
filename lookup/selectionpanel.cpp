#include "lookup/selectionpanel.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

#include "host/busyindicator.h"
#include "host/childhost.h"
#include "host/hostconfig.h"
#include "host/menserro.h"
#include "host/routines.h"
#include "host/tbtnpesquisa.h"
#include "lookup/codelookup.h"
#include "lookup/dtmdbgeral.h"
#include "lookup/lookupqueries.h"
#include "lookup/tadoibquery.h"
#include "platform/dataset.h"
#include "platform/datasource.h"
#include "platform/editmask.h"
#include "platform/maskedit.h"
#include "server/catalogue.h"
#include "server/loadresult.h"
#include "server/servicelist.h"

namespace qmv {

namespace {

// On the main screen a click into an empty masked code puts the cursor where typing starts.
QLineEdit* codeEdit(QWidget& parent, const char* name, int width, int maxLength, bool mainScreenLook = false)
{
    QLineEdit* edit = mainScreenLook ? new MaskEdit(&parent) : new QLineEdit(&parent);
    edit->setObjectName(QLatin1String(name));
    edit->setFixedWidth(width);
    edit->setMaxLength(maxLength);
    return edit;
}

// On the main screen a name box may give way down to its narrowest width, so that the panel fits a
// 640 by 480 screen.
QLineEdit* nameBox(QWidget& parent, const char* name, int width, int narrowest, bool mainScreenLook)
{
    if (!mainScreenLook) {
        QLineEdit* box = codeEdit(parent, name, width, 100);
        CodeLookup::makeNameBox(*box);
        return box;
    }
    auto* box = new QLineEdit(&parent);
    box->setObjectName(QLatin1String(name));
    box->setMinimumWidth(narrowest);
    box->setMaximumWidth(width);
    CodeLookup::makeNameBox(*box);
    return box;
}

QLabel* caption(QWidget& parent, const char* name, const QString& text, bool mainScreenLook)
{
    auto* label = new QLabel(text, &parent);
    if (!mainScreenLook)
        return label;
    label->setObjectName(QLatin1String(name));
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

TBtnPesquisa* lookupButton(QWidget& parent, const char* name, const QString& title, const QString& empty)
{
    auto* button = new TBtnPesquisa(&parent, QLatin1String(name));
    button->setTitle(title);
    button->setEmptyError(empty);
    return button;
}

TADOIBQuery* owned(std::unique_ptr<TADOIBQuery> query, QObject* owner)
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

}  // namespace

SelectionPanel::SelectionPanel(QWidget& container, QGridLayout& grid, TNetConnection& connection,
                               SelectionPanelOptions options, QObject* parent)
    : QObject(parent), connection_(connection), options_(std::move(options))
{
    setObjectName(QStringLiteral("selectionPanel"));
    buildRows(container, grid);
    cdsServManual_ = makeServiceList(this);
    dtsServManual_ = new DataSource(this);
    dtsServManual_->setObjectName(QStringLiteral("dtsServManual"));
    dtsServManual_->setDataSet(cdsServManual_);
    dtmDBGeral& db = dtmDBGeral::shared();
    qryFilial_ = owned(makeQryFilial(db), this);
    qryCompanhia_ = owned(makeQryCompanhia(db), this);
    qryManualCia_ = owned(makeQryManualCia(db), this);
    lkpFilial_ = new CodeLookup(*rows_.medFilial, *rows_.edtNmFilial, this);
    lkpCompanhia_ = new CodeLookup(*rows_.medCdCia, *rows_.edtNmCia, this);
    lkpManualCia_ = new CodeLookup(*rows_.medCdManCia, *rows_.edtDsManCia, this);
    lkpServManual_ = new CodeLookup(*rows_.medCdServico, *rows_.edtDsServico, this);
    bindBranch();
    bindCompany();
    bindManual();
    bindService();
}

SelectionPanel::~SelectionPanel() = default;

void SelectionPanel::buildRows(QWidget& c, QGridLayout& grid)
{
    const bool main = options_.mainScreenLook;
    Rows& r = rows_;
    r.medFilial = codeEdit(c, "medFilial", 48, 4, main);
    if (main) {
        r.medFilial->setInputMask(EditMask(QStringLiteral(">aaaa;0; ")).inputMask());
        r.medFilial->setFocusPolicy(Qt::ClickFocus);
    }
    r.btnFilial = lookupButton(c, "btnFilial", QStringLiteral("Filial"), QStringLiteral("Não há filial cadastrada."));
    r.edtNmFilial = nameBox(c, "edtNmFilial", 300, 150, main);
    r.medCdCia = codeEdit(c, "medCdCia", 56, 5, main);
    r.btpCompanhia = lookupButton(c, "btpCompanhia", QStringLiteral("Companhia"),
                                  QStringLiteral("Não há companhia cadastrada para a filial cadastrada."));
    r.edtNmCia = nameBox(c, "edtNmCia", 300, 150, main);
    r.medCdManCia = codeEdit(c, "medCdManCia", 48, 4, main);
    r.btpManualCia = lookupButton(c, "btpManualCia", QStringLiteral("Manual"),
                                  QStringLiteral("Não há manual cadastrado para a companhia informada."));
    r.edtDsManCia = nameBox(c, "edtDsManCia", 300, 150, main);
    r.medCdServico = codeEdit(c, "medCdServico", 100, options_.serviceMaxLength, main);
    r.btpServManual = lookupButton(c, "btpServManual", QStringLiteral("Serviço"), QStringLiteral("Não há serviço cadastrado."));
    r.edtDsServico = nameBox(c, "edtDsServico", 300, 150, main);
    r.edtClasse = nameBox(c, "edtClasse", 60, 45, main);
    r.edtCiclo = nameBox(c, "edtCiclo", 90, 70, main);
    r.lblFilial = caption(c, "lblFilial", QStringLiteral("Filial"), main);
    r.lblCompanhia = caption(c, "lblCompanhia", QStringLiteral("Companhia"), main);
    r.lblManual = caption(c, "lblManual", QStringLiteral("Manual"), main);
    r.lblServico = caption(c, "lblServico", QStringLiteral("Serviço"), main);

    const std::tuple<QLabel*, QLineEdit*, QWidget*, QLineEdit*> rows[] = {
        {r.lblFilial, r.medFilial, r.btnFilial, r.edtNmFilial},
        {r.lblCompanhia, r.medCdCia, r.btpCompanhia, r.edtNmCia},
        {r.lblManual, r.medCdManCia, r.btpManualCia, r.edtDsManCia},
        {r.lblServico, r.medCdServico, r.btpServManual, r.edtDsServico}};
    for (int row = 0; row < 4; ++row) {
        const auto& [label, code, button, name] = rows[row];
        grid.addWidget(label, row, 0);
        grid.addWidget(code, row, 1);
        grid.addWidget(button, row, 2);
        grid.addWidget(name, row, 3);
    }
    auto* classCycle = new QHBoxLayout;
    if (main)
        classCycle->addWidget(new QLabel(QStringLiteral("-"), &c));
    classCycle->addWidget(r.edtClasse);
    if (main)
        classCycle->addWidget(new QLabel(QStringLiteral("-"), &c));
    classCycle->addWidget(r.edtCiclo);
    classCycle->addStretch(1);
    if (main) {
        grid.addLayout(classCycle, 3, 4);
        grid.setColumnStretch(3, 1);
        grid.setColumnStretch(5, 1);
        QWidget::setTabOrder(r.medCdCia, r.medCdManCia);
        QWidget::setTabOrder(r.medCdManCia, r.medCdServico);
    } else {
        grid.addLayout(classCycle, 4, 3);
        grid.setColumnStretch(4, 1);
    }
}

// The company of the service lookups is the one last chosen or validated: the current row of the
// company query holds the same after a choice, but not after a list dismissed unchosen.
void SelectionPanel::loadServices(const QString& code)
{
    const QString manual = rows_.medCdManCia->text();
    loadResult(*cdsServManual_, GetServManual(connection_, key_.company, rows_.medFilial->text(),
                                              options_.servicesTrimmed ? Ajusta(manual, 4) : manual, code));
}

void SelectionPanel::bindBranch()
{
    CodeLookup& g = *lkpFilial_;
    if (!options_.mainScreenLook)
        g.setUpperCaseEntry(4);
    g.setSource(qryFilial_, QStringLiteral("CDFILIAL"), QStringLiteral("NMFILIAL"));
    g.setDependent(rows_.medCdCia);
    g.bindButton(*rows_.btnFilial);
    g.onBeforeList = [this] { listBranches(*qryFilial_); };
    if (options_.manualKeepsChoice)
        g.onAfterCopy = [this](DataSet&) {
            qryManualCia_->Close();
            setParam(*qryManualCia_, "P_CDFILIAL", rows_.medFilial->text());
        };
    g.findExact = [this](const QString& code) { return findBranch(*qryFilial_, code); };
    g.onExit = [this] { checkBranch(false); };
}

void SelectionPanel::bindCompany()
{
    CodeLookup& g = *lkpCompanhia_;
    g.setUpperCaseEntry(5);
    g.setSource(qryCompanhia_, QStringLiteral("SGCIA"), QStringLiteral("NMCIA"));
    g.setDependent(rows_.medCdManCia);
    g.bindButton(*rows_.btpCompanhia);
    g.onBeforeList = [this] {
        qryCompanhia_->Reopen({{"P_CDFILIAL", rows_.medFilial->text()}, {"P_TSGCIA", QStringLiteral("T")},
                               {"P_SGCIA", QString()}});
    };
    g.onAfterCopy = [this](DataSet& row) {
        key_.company = row.fieldByName(QStringLiteral("CDCIA")).asString();
        if (!options_.manualKeepsChoice)
            return;
        qryManualCia_->Close();
        setParam(*qryManualCia_, "P_CDCIA", key_.company);
    };
    g.findExact = [this](const QString& abbreviation) {
        return qryCompanhia_->Reopen(
            {{"P_CDFILIAL", rows_.medFilial->text()}, {"P_SGCIA", abbreviation}, {"P_TSGCIA", QString()}});
    };
    g.onExit = [this] { lkpCompanhia_->validateTyped(options_.company.invalid); };
}

void SelectionPanel::bindManual()
{
    CodeLookup& g = *lkpManualCia_;
    g.setUpperCaseEntry(4);
    g.setSource(qryManualCia_, QStringLiteral("CDMANCIA"), QStringLiteral("DSMANUAL"));
    g.setDependent(rows_.medCdServico);
    g.bindButton(*rows_.btpManualCia);
    g.onBeforeList = [this] { openManuals(QString(), true); };
    g.findExact = [this](const QString& code) { return openManuals(code, false); };
    g.onAfterCopy = [this](DataSet& row) { key_.manual = row.fieldByName(QStringLiteral("CDMANCIA")).asString(); };
    g.onExit = [this] { lkpManualCia_->validateTyped(options_.manual.invalid); };
}

// The manuals of the whole list, or of one code. Keeping the last choice, P_CDCIA is not set here:
// it holds the company of the last choice.
bool SelectionPanel::openManuals(const QString& code, bool all)
{
    const QString branch = rows_.medFilial->text();
    const QString allFlag = all ? QStringLiteral("T") : QString();
    const QString manual = all ? QString() : Ajusta(code, 4);
    if (!options_.manualKeepsChoice)
        return qryManualCia_->Reopen({{"P_CDFILIAL", branch}, {"P_CDCIA", key_.company}, {"P_CDMANCIA", manual},
                                      {"P_TCDMANCIA", allFlag}});
    if (all)
        return reopenWithNull(*qryManualCia_, "P_CDMANCIA", {{"P_CDFILIAL", branch}, {"P_TCDMANCIA", allFlag}});
    return reopenWithNull(*qryManualCia_, "P_TCDMANCIA", {{"P_CDFILIAL", branch}, {"P_CDMANCIA", manual}});
}

void SelectionPanel::bindService()
{
    CodeLookup& g = *lkpServManual_;
    g.setSource(cdsServManual_, QStringLiteral("SERVICO"), QStringLiteral("DSSERVICO"));
    g.addCopy(QStringLiteral("SGCLASSE"), *rows_.edtClasse);
    g.addCopy(QStringLiteral("IDCICLO"), *rows_.edtCiclo);
    g.bindButton(*rows_.btpServManual, dtsServManual_);
    g.onBeforeList = [this] {
        BusyIndicator busy(hostMainWindow(), 6);
        loadServices(QString());
    };
    g.onAfterCopy = [this](DataSet& row) {
        key_.service = row.fieldByName(QStringLiteral("CDSERVICO")).asString();
        key_.classCode = row.fieldByName(QStringLiteral("CDCLASSE")).asString();
        key_.cycle = row.fieldByName(QStringLiteral("CDCICLO")).asString();
    };
    // The main screen sends the typed code as the edit holds it; the first row returned is taken.
    g.findExact = [this](const QString& code) {
        loadServices(options_.servicesTrimmed ? code : rows_.medCdServico->text());
        return !cdsServManual_->isEmpty();
    };
    g.onExit = [this] { lkpServManual_->validateTyped(options_.service.invalid); };
}

void SelectionPanel::checkBranch(bool required)
{
    lkpFilial_->validateRequired(required, {4, options_.branch.missing, options_.branch.invalid, true});
}

// A code typed and never validated (the user went on through a lookup button of another row) is
// validated here, so that what follows uses the codes shown.
void SelectionPanel::checkAll(bool serviceRequired)
{
    checkBranch(true);
    const std::tuple<CodeLookup*, const SelectionPanelOptions::Messages&, bool> rows[] = {
        {lkpCompanhia_, options_.company, true},
        {lkpManualCia_, options_.manual, true},
        {lkpServManual_, options_.service, serviceRequired}};
    for (const auto& [group, messages, required] : rows) {
        if (group->code().isEmpty()) {
            if (!required)
                continue;
            group->refocus();
            MensErro(messages.missing, true);
        }
        group->validateTyped(messages.invalid);
    }
}

void SelectionPanel::takeHostBranch()
{
    rows_.medFilial->setText(FiliProc());
    rows_.edtNmFilial->setText(NomeFiliProc());
    const bool branchFree = !ModuFili();
    rows_.medFilial->setEnabled(branchFree);
    rows_.btnFilial->setEnabled(branchFree);
    if (options_.mainScreenLook)
        rows_.lblFilial->setEnabled(branchFree);
}

void SelectionPanel::focusFirstField()
{
    for (QLineEdit* field : {rows_.medFilial, rows_.medCdCia, rows_.medCdManCia, rows_.medCdServico}) {
        if (field->isEnabled() && (field->focusPolicy() & Qt::TabFocus) == Qt::TabFocus) {
            field->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
}

}  // namespace qmv

// The selection rows of the emission screen: branch, company, manual and service, each typed and
// validated on leaving it or picked from its list, as on the main screen; and the check of the whole
// selection before an emission.
#include <QLineEdit>
#include <QRadioButton>

#include "host/busyindicator.h"
#include "host/childhost.h"
#include "host/menserro.h"
#include "host/routines.h"
#include "host/tbtnpesquisa.h"
#include "lookup/codelookup.h"
#include "lookup/dtmdbgeral.h"
#include "lookup/lookupqueries.h"
#include "platform/dataset.h"
#include "platform/datasource.h"
#include "qmv01200/tfrmemissaomanual.h"
#include "server/catalogue.h"
#include "server/loadresult.h"
#include "server/servicelist.h"

namespace qmv {

namespace {

TADOIBQuery* owned(std::unique_ptr<TADOIBQuery> query, QObject* owner)
{
    query->setParent(owner);
    return query.release();
}

void loadServices(TfrmEmissaoManual& f, const QString& code)
{
    loadResult(*f.cdsServManual, GetServManual(*f.netEmissao, f.stCdCia, f.medFilial->text(),
                                               Ajusta(f.medCdManCia->text(), 4), code));
}

void bindBranch(TfrmEmissaoManual& f)
{
    CodeLookup& g = *f.lkpFilial;
    g.setUpperCaseEntry(4);
    g.setSource(f.qryFilial, QStringLiteral("CDFILIAL"), QStringLiteral("NMFILIAL"));
    g.setDependent(f.medCdCia);
    g.bindButton(*f.btnFilial);
    g.onBeforeList = [&f] { listBranches(*f.qryFilial); };
    g.findExact = [&f](const QString& code) { return findBranch(*f.qryFilial, code); };
    g.onExit = [&f] {
        f.lkpFilial->validateRequired(false, {4, QStringLiteral("Filial deve ser informada."),
                                              QStringLiteral("Filial não cadastrada."), true});
    };
}

void bindCompany(TfrmEmissaoManual& f)
{
    CodeLookup& g = *f.lkpCompanhia;
    g.setUpperCaseEntry(5);
    g.setSource(f.qryCompanhia, QStringLiteral("SGCIA"), QStringLiteral("NMCIA"));
    g.setDependent(f.medCdManCia);
    g.bindButton(*f.btpCompanhia);
    g.onBeforeList = [&f] {
        f.qryCompanhia->Reopen({{"P_CDFILIAL", f.medFilial->text()}, {"P_TSGCIA", QStringLiteral("T")},
                                {"P_SGCIA", QString()}});
    };
    g.onAfterCopy = [&f](DataSet& row) { f.stCdCia = row.fieldByName(QStringLiteral("CDCIA")).asString(); };
    g.findExact = [&f](const QString& abbreviation) {
        return f.qryCompanhia->Reopen(
            {{"P_CDFILIAL", f.medFilial->text()}, {"P_SGCIA", abbreviation}, {"P_TSGCIA", QString()}});
    };
    g.onExit = [&f] { f.lkpCompanhia->validateTyped(QStringLiteral("Companhia não cadastrada.")); };
}

void bindManual(TfrmEmissaoManual& f)
{
    CodeLookup& g = *f.lkpManualCia;
    g.setUpperCaseEntry(4);
    g.setSource(f.qryManualCia, QStringLiteral("CDMANCIA"), QStringLiteral("DSMANUAL"));
    g.setDependent(f.medCdServico);
    g.bindButton(*f.btpManualCia);
    g.onBeforeList = [&f] {
        f.qryManualCia->Reopen({{"P_CDFILIAL", f.medFilial->text()}, {"P_CDCIA", f.stCdCia},
                                {"P_CDMANCIA", QString()}, {"P_TCDMANCIA", QStringLiteral("T")}});
    };
    g.onAfterCopy = [&f](DataSet& row) { f.stCdManCia = row.fieldByName(QStringLiteral("CDMANCIA")).asString(); };
    g.findExact = [&f](const QString& code) {
        return f.qryManualCia->Reopen({{"P_CDFILIAL", f.medFilial->text()}, {"P_CDCIA", f.stCdCia},
                                        {"P_CDMANCIA", Ajusta(code, 4)}, {"P_TCDMANCIA", QString()}});
    };
    g.onExit = [&f] { f.lkpManualCia->validateTyped(QStringLiteral("Manual não cadastrado.")); };
}

void bindService(TfrmEmissaoManual& f)
{
    CodeLookup& g = *f.lkpServManual;
    g.setSource(f.cdsServManual, QStringLiteral("SERVICO"), QStringLiteral("DSSERVICO"));
    g.addCopy(QStringLiteral("SGCLASSE"), *f.edtClasse);
    g.addCopy(QStringLiteral("IDCICLO"), *f.edtCiclo);
    g.bindButton(*f.btpServManual, f.dtsServManual);
    g.onBeforeList = [&f] {
        BusyIndicator busy(hostMainWindow(), 6);
        loadServices(f, QString());
    };
    g.onAfterCopy = [&f](DataSet& row) {
        f.stCdServico = row.fieldByName(QStringLiteral("CDSERVICO")).asString();
        f.stCdClasse = row.fieldByName(QStringLiteral("CDCLASSE")).asString();
        f.stCdCiclo = row.fieldByName(QStringLiteral("CDCICLO")).asString();
    };
    g.findExact = [&f](const QString& code) {
        loadServices(f, code);
        return !f.cdsServManual->isEmpty();
    };
    g.onExit = [&f] { f.lkpServManual->validateTyped(QStringLiteral("Serviço não cadastrado.")); };
}

}  // namespace

void TfrmEmissaoManual::bindLookups()
{
    dtmDBGeral& db = dtmDBGeral::shared();
    qryFilial = owned(makeQryFilial(db), this);
    qryCompanhia = owned(makeQryCompanhia(db), this);
    qryManualCia = owned(makeQryManualCia(db), this);
    cdsServManual = makeServiceList(this);
    dtsServManual = new DataSource(this);
    dtsServManual->setObjectName(QStringLiteral("dtsServManual"));
    dtsServManual->setDataSet(cdsServManual);
    lkpFilial = new CodeLookup(*medFilial, *edtNmFilial, this);
    lkpCompanhia = new CodeLookup(*medCdCia, *edtNmCia, this);
    lkpManualCia = new CodeLookup(*medCdManCia, *edtDsManCia, this);
    lkpServManual = new CodeLookup(*medCdServico, *edtDsServico, this);
    bindBranch(*this);
    bindCompany(*this);
    bindManual(*this);
    bindService(*this);
}

// A code typed and not yet validated is validated now; a missing one is reported on its field.
ManualSelection TfrmEmissaoManual::selection()
{
    lkpFilial->validateRequired(true, {4, QStringLiteral("Filial deve ser informada."),
                                       QStringLiteral("Filial não cadastrada."), true});
    const bool service = rbtServico->isChecked();
    const std::tuple<CodeLookup*, const char*, const char*, bool> rows[] = {
        {lkpCompanhia, "Companhia deve ser informada.", "Companhia não cadastrada.", true},
        {lkpManualCia, "Manual deve ser informado.", "Manual não cadastrado.", true},
        {lkpServManual, "Serviço deve ser informado.", "Serviço não cadastrado.", service}};
    for (const auto& [group, missing, invalid, required] : rows) {
        if (group->code().isEmpty()) {
            if (!required)
                continue;
            group->refocus();
            MensErro(QString::fromUtf8(missing), true);
        }
        group->validateTyped(QString::fromUtf8(invalid));
    }
    return {medFilial->text().trimmed(), edtNmFilial->text(), stCdCia, medCdCia->text().trimmed(), edtNmCia->text(),
            stCdManCia, edtDsManCia->text(), stCdServico, medCdServico->text().trimmed(), edtDsServico->text(),
            stCdClasse, stCdCiclo, edtClasse->text(), edtCiclo->text()};
}

}  // namespace qmv

// The import dialog's origin rows (branch, manual and service lookups, each change clearing what
// follows), the sub-group choice and the confirmation that asks the server to copy the photos.
#include <QLineEdit>
#include <QRadioButton>

#include <QCborValue>

#include "Cli_qmv00503/cli_qmv00503.h"
#include "Cli_qmv00503/tfrmimpfotoman.h"
#include "host/busyindicator.h"
#include "host/checkresultserv.h"
#include "host/childhost.h"
#include "host/guard.h"
#include "host/menserro.h"
#include "host/pesquisa.h"
#include "host/routines.h"
#include "host/tbtnpesquisa.h"
#include "host/tmessages.h"
#include "host/ui.h"
#include "lookup/codelookup.h"
#include "lookup/lookupqueries.h"
#include "lookup/tadoibquery.h"
#include "platform/dataset.h"
#include "platform/datasource.h"
#include "screenlink/mainscreen.h"
#include "server/catalogue.h"
#include "server/loadresult.h"

namespace qmv {

namespace {

QString serviceKeyOf(const DataSet& services)
{
    return services.isActive() ? services.fieldByName(QStringLiteral("SERVICO")).asString() : QString();
}

}  // namespace

void TfrmImpFotoMan::bindOrigin()
{
    lkpFilialOri_ = new CodeLookup(*medFilialOri, *edtNmFilialOri, this);
    lkpManualOri_ = new CodeLookup(*medManualOri, *edtNmManualOri, this);
    lkpServOrig_ = new CodeLookup(*medServOrig, *edtNmServOrig, this);

    CodeLookup& branch = *lkpFilialOri_;
    branch.setSource(qryFilial, QStringLiteral("CDFILIAL"), QStringLiteral("NMFILIAL"));
    branch.setDependent(medManualOri);
    branch.bindButton(*btnFilialOri, dtsFilial);
    btnFilialOri->setEmptyError(QStringLiteral("Não há filial cadastrada."));
    branch.onBeforeList = [this] { listBranches(*qryFilial); };
    branch.findExact = [this](const QString& code) { return findBranch(*qryFilial, code); };
    branch.onExit = [this] { Vd_Filial(false); };

    CodeLookup& manual = *lkpManualOri_;
    manual.setSource(qryManualCia, QStringLiteral("CDMANCIA"), QStringLiteral("DSMANUAL"));
    manual.setDependent(medServOrig);
    manual.bindButton(*btnManualOri, dtsManualCia);
    btnManualOri->setEmptyError(QStringLiteral("Não há manual cadastrado para a filial informada."));
    const auto manualQuery = [this](const QString& code, const QString& all) {
        return qryManualCia->Reopen({{"P_CDFILIAL", medFilialOri->text()}, {"P_CDCIA", mainScreen().loadedKey().company},
                                     {"P_CDMANCIA", code}, {"P_TCDMANCIA", all}});
    };
    manual.onBeforeList = [manualQuery] { manualQuery(QString(), QStringLiteral("T")); };
    manual.findExact = [manualQuery](const QString& code) { return manualQuery(code, QString()); };
    manual.onExit = [this] { Vd_Manual(false); };

    CodeLookup& service = *lkpServOrig_;
    service.setSource(cdsServManual, QStringLiteral("CDARVSERV"), QStringLiteral("DSSERVICO"));
    service.bindButton(*btnServOrig, dtsServManual);
    btnServOrig->setEmptyError(QStringLiteral("Não há serviço cadastrado."));
    const auto services = [this](const QString& code, const QString& all) {
        busyLoadServices(code, all);
        return !cdsServManual->isEmpty();
    };
    service.onBeforeList = [services] { services(QString(), QStringLiteral("T")); };
    service.findExact = [services](const QString& code) { return services(code, QString()); };
    service.onExit = [this] { Vd_Servico(false); };

    for (QRadioButton* choice : {rbtTodos, rbtLista})
        connect(choice, &QRadioButton::toggled, this, [this] { btnSubGrupo->setEnabled(rbtLista->isChecked()); });
    btnSubGrupo->BeforePesq = [this](QObject*, bool& proceed) {
        proceed = false;  // the list is this dialog's own
        btnSubGrupoClick();
    };
}

void TfrmImpFotoMan::busyLoadServices(const QString& code, const QString& all)
{
    BusyIndicator busy(hostMainWindow(), 6);
    loadResult(*cdsServManual, GetPesqServManual(mainScreen().connection(), medFilialOri->text(),
                                                 mainScreen().loadedKey().company, medManualOri->text(), code, all));
}

void TfrmImpFotoMan::Vd_Filial(bool mandatory)
{
    lkpFilialOri_->validateRequired(mandatory, {4, msgPadrao->Msg(QStringLiteral("FILIAL_NULL")),
                                                msgPadrao->Msg(QStringLiteral("FILIAL_INV")), true});
}

void TfrmImpFotoMan::Vd_Manual(bool mandatory)
{
    lkpManualOri_->validateRequired(mandatory, {4, msgPadrao->Msg(QStringLiteral("MANUAL_NULL")),
                                                msgPadrao->Msg(QStringLiteral("MANUAL_INV")), true});
}

// The service code is typed through the hierarchical mask: zero-filling it to ten characters would
// shift its levels ("1.01.001" would read "0.01.010"), so it is looked up as typed.
void TfrmImpFotoMan::Vd_Servico(bool mandatory)
{
    lkpServOrig_->validateRequired(mandatory, {0, msgPadrao->Msg(QStringLiteral("SERV_NULL")),
                                               msgPadrao->Msg(QStringLiteral("SERV_INV")), true});
}

// The origin a list of sub-groups belongs to: branch, manual and service key.
QString TfrmImpFotoMan::originKey() const
{
    return medFilialOri->text() + u'|' + medManualOri->text() + u'|' + serviceKeyOf(*cdsServManual);
}

// A list chosen for another origin names other sub-groups: it is dropped, never sent.
void TfrmImpFotoMan::Vd_SubGru()
{
    if (!Cli_qmv00503::stLista.isEmpty() && Cli_qmv00503::stListaOrigem != originKey())
        Cli_qmv00503::stLista.clear();
    if (Cli_qmv00503::stLista.isEmpty() && rbtLista->isChecked()) {
        rbtLista->setFocus();
        MensErro(msgPadrao->Msg(QStringLiteral("SUBGRU_NULL")), true);
    }
}

// The list button takes no focus, so a service typed and not yet left is looked up here as its
// exit would have done; the list is then the one of that service.
void TfrmImpFotoMan::btnSubGrupoClick()
{
    Vd_Filial(true);
    Vd_Manual(true);
    if (edtNmServOrig->text().isEmpty())
        Vd_Servico(false);
    {
        BusyIndicator busy(hostMainWindow(), 6);
        loadResult(*cdsSubGrupo, GetPesqSubGrupos(mainScreen().connection(), medFilialOri->text(),
                                                  mainScreen().loadedKey().company, medManualOri->text(),
                                                  serviceKeyOf(*cdsServManual)));
    }
    const QString titles = msgPadrao->Msg(QStringLiteral("SUBGRUPO")) + u'|' + msgPadrao->Msg(QStringLiteral("NAO_HA_SUB"));
    if (PesquisaLista(*dtsSubGrupo, QStringLiteral("CDSUBARV"), titles, false, Cli_qmv00503::stLista))
        Cli_qmv00503::stListaOrigem = originKey();
}

// The destination is the key the main screen has loaded, never a lookup row left current by a
// list that was dismissed.
void TfrmImpFotoMan::sbtConfirmaClick()
{
    Vd_Filial(true);
    Vd_Manual(true);
    Vd_Servico(true);
    Vd_SubGru();
    MainScreen& main = mainScreen();
    const LoadedKey m = main.loadedKey();
    if (medFilialDes->text() == medFilialOri->text() && Ajusta(m.manual, 4) == medManualOri->text()
        && medServDest->text() == medServOrig->text())
        MensErro(msgPadrao->Msg(QStringLiteral("IMP_INV")), true);
    if (msgPadrao->ShowMsg(QStringLiteral("CONFIRMA"), MsgType::Confirmation, mbYes | mbNo) != mrYes)
        return;
    const bool all = rbtTodos->isChecked();
    const QString list = all ? QString() : Cli_qmv00503::stLista;
    const QString allFlag = all ? QStringLiteral("T") : QString();
    QCborValue status;
    {
        BusyIndicator busy(hostMainWindow(), 6);
        status = CheckResultServ(ImportaFoto(main.connection(), medFilialOri->text(), m.company, medManualOri->text(),
                                             cdsServManual->fieldByName(QStringLiteral("CDSERVICO")).asString(),
                                             m.branch, m.manual, m.service, list, allFlag),
                                 true, 0);
    }
    main.reloadSubGroups(QStringLiteral("2"), QStringLiteral("2"));
    offerUndo(status);
    close();
}

}  // namespace qmv

#include "server/changesetprotocol.h"

#include <optional>

#include "host/abort.h"
#include "host/busyindicator.h"
#include "host/checkresultserv.h"
#include "host/menserro.h"
#include "platform/dataset.h"
#include "server/catalogue.h"
#include "server/nullfieldlist.h"

namespace qmv {

namespace {
constexpr int kSendingKind = 1;
}

QString unsentChangeMessage(Delivery delivery, const QString& subject)
{
    if (delivery == Delivery::NotSent)
        return QStringLiteral("A alteração %1 não foi gravada: o servidor de aplicação não pôde ser alcançado. Ela "
                              "continua na tela e pode ser confirmada de novo assim que o servidor responder.")
            .arg(subject);
    return QStringLiteral("Não foi possível saber se a alteração %1 foi gravada: a resposta do servidor de aplicação "
                          "não chegou. Ela continua na tela e confirmá-la de novo é seguro: se já tiver sido "
                          "gravada, o servidor recusa a repetição e a tela mostra os valores gravados.")
        .arg(subject);
}

ChangeSetProtocol::ChangeSetProtocol(DataSet& dataSet, SetMethod setMethod, QString subject)
    : dataSet_(dataSet)
    , setMethod_(std::move(setMethod))
    , subject_(std::move(subject))
{
}

ChangeSetProtocol& ChangeSetProtocol::withBusyIndicator(QWidget* mainForm)
{
    busy_ = true;
    mainForm_ = mainForm;
    return *this;
}

ChangeSetProtocol& ChangeSetProtocol::withReloadOnRefusal(Reload reload)
{
    reload_ = std::move(reload);
    return *this;
}

void ChangeSetProtocol::send() const
{
    if (dataSet_.changeCount() <= 0)
        return;
    std::optional<BusyIndicator> busy;
    if (busy_)
        busy.emplace(mainForm_, kSendingKind);
    bool keptInEdit = false;
    try {
        const RemoteResult result = setMethod_(dataSet_.delta());
        if (!result.ok && result.unanswered()) {
            DeactiveShowAvi();
            dataSet_.returnToEdit();
            keptInEdit = true;
            MensErro(unsentChangeMessage(result.delivery, subject_), true);
        }
        CheckResultServ(result, true, 0);
    } catch (...) {
        if (keptInEdit)
            throw;
        busy.reset();
        refused();
        throw;
    }
    busy.reset();
    if (dataSet_.logChanges())
        dataSet_.mergeChangeLog();
}

// The server said no: what it holds is shown again (the reload reports its own failure).
void ChangeSetProtocol::refused() const
{
    DeactiveShowAvi();
    dataSet_.cancelUpdates();
    if (!reload_)
        return;
    try {
        reload_();
    } catch (const Abort&) {
    }
}

void sendSubGruSeMa(TNetConnection& conn, DataSet& cdsSubGruSeMa, const ChangeSetProtocol::Reload& reload)
{
    ChangeSetProtocol(
        cdsSubGruSeMa,
        [&](const ChangeSet& delta) { return SetSubGruSeMa(conn, delta, nullFieldList(cdsSubGruSeMa)); },
        QStringLiteral("do sub-grupo"))
        .withReloadOnRefusal(reload)
        .send();
}

void sendFotoSeMa(TNetConnection& conn, DataSet& cdsFotoSeMa, const ChangeSetProtocol::Reload& reload)
{
    ChangeSetProtocol(cdsFotoSeMa, [&](const ChangeSet& delta) { return SetFotoSeMa(conn, delta); },
                      QStringLiteral("da foto"))
        .withReloadOnRefusal(reload)
        .send();
}

void sendFotoSubMa(TNetConnection& conn, DataSet& cdsFotoSubMa, QWidget* mainForm,
                   const ChangeSetProtocol::Reload& reload)
{
    ChangeSetProtocol(cdsFotoSubMa, [&](const ChangeSet& delta) { return SetFotoSubMa(conn, delta); },
                      QStringLiteral("das instruções de montagem"))
        .withBusyIndicator(mainForm)
        .withReloadOnRefusal(reload)
        .send();
}

void sendEquiSubSeMa(TNetConnection& conn, DataSet& cdsEquiSubSeMa, QWidget* mainForm,
                     const ChangeSetProtocol::Reload& reload)
{
    ChangeSetProtocol(cdsEquiSubSeMa, [&](const ChangeSet& delta) { return SetEquiSubSeMa(conn, delta); },
                      QStringLiteral("dos equipamentos"))
        .withBusyIndicator(mainForm)
        .withReloadOnRefusal(reload)
        .send();
}

void sendProRecSeMa(TNetConnection& conn, DataSet& cdsProRecSeMa, QWidget* mainForm,
                    const ChangeSetProtocol::Reload& reload)
{
    ChangeSetProtocol(cdsProRecSeMa, [&](const ChangeSet& delta) { return SetProRecSeMa(conn, delta); },
                      QStringLiteral("dos produtos e receitas"))
        .withBusyIndicator(mainForm)
        .withReloadOnRefusal(reload)
        .send();
}

}  // namespace qmv

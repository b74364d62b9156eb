#include "server/changesetprotocol.h"

#include <optional>

#include "host/busyindicator.h"
#include "host/checkresultserv.h"
#include "platform/dataset.h"
#include "server/catalogue.h"
#include "server/nullfieldlist.h"

namespace qmv {

namespace {
constexpr int kSendingKind = 1;
}

ChangeSetProtocol::ChangeSetProtocol(DataSet& dataSet, SetMethod setMethod)
    : dataSet_(dataSet)
    , setMethod_(std::move(setMethod))
{
}

ChangeSetProtocol& ChangeSetProtocol::withBusyIndicator(QWidget* mainForm)
{
    busy_ = true;
    mainForm_ = mainForm;
    return *this;
}

void ChangeSetProtocol::send() const
{
    if (dataSet_.changeCount() <= 0)
        return;
    try {
        {
            std::optional<BusyIndicator> busy;
            if (busy_)
                busy.emplace(mainForm_, kSendingKind);
            CheckResultServ(setMethod_(dataSet_.delta()), true, 0);
        }
        if (dataSet_.logChanges())
            dataSet_.mergeChangeLog();
    } catch (...) {
        DeactiveShowAvi();
        dataSet_.cancelUpdates();
        throw;
    }
}

void sendSubGruSeMa(TNetConnection& conn, DataSet& cdsSubGruSeMa)
{
    ChangeSetProtocol(cdsSubGruSeMa, [&](const ChangeSet& delta) {
        return SetSubGruSeMa(conn, delta, nullFieldList(cdsSubGruSeMa));
    }).send();
}

void sendFotoSeMa(TNetConnection& conn, DataSet& cdsFotoSeMa)
{
    ChangeSetProtocol(cdsFotoSeMa, [&](const ChangeSet& delta) { return SetFotoSeMa(conn, delta); }).send();
}

void sendFotoSubMa(TNetConnection& conn, DataSet& cdsFotoSubMa, QWidget* mainForm)
{
    ChangeSetProtocol(cdsFotoSubMa, [&](const ChangeSet& delta) { return SetFotoSubMa(conn, delta); })
        .withBusyIndicator(mainForm)
        .send();
}

void sendEquiSubSeMa(TNetConnection& conn, DataSet& cdsEquiSubSeMa, QWidget* mainForm)
{
    ChangeSetProtocol(cdsEquiSubSeMa, [&](const ChangeSet& delta) { return SetEquiSubSeMa(conn, delta); })
        .withBusyIndicator(mainForm)
        .send();
}

void sendProRecSeMa(TNetConnection& conn, DataSet& cdsProRecSeMa, QWidget* mainForm)
{
    ChangeSetProtocol(cdsProRecSeMa, [&](const ChangeSet& delta) { return SetProRecSeMa(conn, delta); })
        .withBusyIndicator(mainForm)
        .send();
}

}  // namespace qmv

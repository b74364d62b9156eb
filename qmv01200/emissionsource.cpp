#include "qmv01200/emissionsource.h"

#include "host/abort.h"
#include "host/checkresultserv.h"
#include "host/ui.h"
#include "server/catalogue.h"
#include "server/loadresult.h"

namespace qmv {

ServerEmissionSource::ServerEmissionSource(TNetConnection& connection, int codeLevels)
    : connection_(connection), codeLevels_(QString::number(codeLevels))
{
}

ManualHeader ServerEmissionSource::manual(const ManualSelection& s, bool wholeManual)
{
    return manualFromPacket(checkedPacket(
        GetEmissaoManual(connection_, s.branch, s.company, s.manual, wholeManual ? QString() : s.serviceKey())));
}

ServiceContent ServerEmissionSource::service(const ManualSelection& s, const ServiceHeader& service)
{
    const QCborValue parts =
        CheckResultServ(GetEmissaoServico(connection_, s.branch, s.company, s.manual, service.key(), codeLevels_),
                        true, 0);
    try {
        return serviceFromParts(parts);
    } catch (const PacketError& error) {
        ui().showError(QStringLiteral("O servidor de aplicação enviou um pacote de dados inválido: %1")
                           .arg(QString::fromUtf8(error.what())));
        throw Abort();
    }
}

}  // namespace qmv

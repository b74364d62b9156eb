#include "server/loadresult.h"

#include "host/abort.h"
#include "host/checkresultserv.h"
#include "host/ui.h"
#include "platform/dataset.h"

namespace qmv {

namespace {

DataPacket decoded(const RemoteResult& result)
{
    if (!result.encodedPayload.isEmpty())
        return decodePacket(result.encodedPayload);
    return packetFromCbor(result.payload);
}

}  // namespace

DataPacket checkedPacket(const RemoteResult& result)
{
    if (!result.ok)
        CheckResultServ(result, true, 0);  // shows the failure and raises
    try {
        return decoded(result);
    } catch (const PacketError& error) {
        ui().showError(QStringLiteral("O servidor de aplicação enviou um pacote de dados inválido: %1")
                           .arg(QString::fromUtf8(error.what())));
        throw Abort();
    }
}

void loadResult(DataSet& target, const RemoteResult& result)
{
    target.loadPacket(checkedPacket(result));
}

}  // namespace qmv

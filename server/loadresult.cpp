#include "server/loadresult.h"

#include "host/abort.h"
#include "host/checkresultserv.h"
#include "host/ui.h"
#include "platform/dataset.h"

namespace qmv {

void loadResult(DataSet& target, const RemoteResult& result)
{
    const QCborValue payload = CheckResultServ(result, true, 0);
    DataPacket packet;
    try {
        packet = packetFromCbor(payload);
    } catch (const PacketError& error) {
        ui().showError(QStringLiteral("O servidor de aplicação enviou um pacote de dados inválido: %1")
                           .arg(QString::fromUtf8(error.what())));
        throw Abort();
    }
    target.loadPacket(packet);
}

}  // namespace qmv

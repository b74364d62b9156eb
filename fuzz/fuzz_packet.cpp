// Data packets from untrusted bytes: decodePacket (the client's streaming reader) and
// packetFromCbor (the tree reader) must both end in a packet or a PacketError, agree on which, and
// a packet they read must survive its own encoding unchanged.
#include "platform/packet.h"

#include <QCborValue>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    qmv::DataPacket packet;
    try {
        packet = qmv::decodePacket(bytes);
    } catch (const qmv::PacketError&) {
        return 0;
    }
    const QByteArray again = qmv::encodePacket(packet);
    const qmv::DataPacket reread = qmv::decodePacket(again);
    if (reread.rows.size() != packet.rows.size() || qmv::encodePacket(reread) != again)
        std::abort();
    return 0;
}

// Data packets from untrusted bytes, differentially: whenever the fast path (decodeCommonPacket)
// reads a packet, the reference reader (decodePacketInFull) must read the same packet from the
// same bytes; a packet the reference reads must survive its own encoding unchanged, and the fast
// path must read that encoding (the writers' layout is what it is for) to the same packet.
#include "platform/packet.h"
#include "platform/packetfastpath.h"

#include <cstdio>
#include <cstdlib>

namespace {

bool samePacket(const qmv::DataPacket& a, const qmv::DataPacket& b)
{
    if (a.fields.size() != b.fields.size() || a.rows.size() != b.rows.size())
        return false;
    for (qsizetype i = 0; i < a.fields.size(); ++i)
        if (a.fields[i].name != b.fields[i].name || a.fields[i].kind != b.fields[i].kind)
            return false;
    return qmv::encodePacket(a) == qmv::encodePacket(b);
}

[[noreturn]] void finding(const char* what)
{
    std::fprintf(stderr, "fuzz_packet: %s\n", what);
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    const std::optional<qmv::DataPacket> fast = size ? qmv::decodeCommonPacket(bytes) : std::nullopt;
    qmv::DataPacket full;
    try {
        full = qmv::decodePacketInFull(bytes);
    } catch (const qmv::PacketError&) {
        if (fast)
            finding("the fast path read a packet the reference reader refuses");
        return 0;
    }
    if (fast && !samePacket(*fast, full))
        finding("the fast path and the reference reader read different packets");
    const QByteArray again = qmv::encodePacket(full);
    const qmv::DataPacket reread = qmv::decodePacketInFull(again);
    if (!samePacket(reread, full) || qmv::encodePacket(reread) != again)
        finding("a packet changed through its own encoding");
    const std::optional<qmv::DataPacket> fastAgain = qmv::decodeCommonPacket(again);
    if (!fastAgain || !samePacket(*fastAgain, full))
        finding("the fast path does not read the writer's own layout back");
    return 0;
}

#pragma once
// Loading a packet reads every value of every row: this path reads the layout the packet writers
// produce (definite-length maps, fields, rows, texts and byte strings; the row list of definite or
// indefinite length) straight from the bytes, without a CBOR reader's per-item bookkeeping, and
// dates straight from their ASCII text. Anything else, and anything it would refuse, gives
// nothing: the full reader then decides and names the fault. Internal to qmv_packet; any thread.
#include "platform/packet.h"

#include <optional>

namespace qmv {

std::optional<DataPacket> decodeCommonPacket(QByteArrayView bytes);

// The reference reader alone (a CBOR stream reader, any layout the format allows), which
// decodePacket falls back to and the differential fuzz target compares the fast path with.
// Throws PacketError.
DataPacket decodePacketInFull(const QByteArray& bytes);

}  // namespace qmv

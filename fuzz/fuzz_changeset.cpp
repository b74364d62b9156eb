// Change sets from untrusted bytes, as the server receives them: decodeChangeSet ends in a change
// set or a PacketError, and a change set it read survives its own encoding and canonical text; the
// stream writer writes the bytes the value tree writes.
#include "platform/packet.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    qmv::ChangeSet changes;
    try {
        changes = qmv::decodeChangeSet(bytes);
    } catch (const qmv::PacketError&) {
        return 0;
    }
    QStringList keys;
    if (!changes.fields.isEmpty())
        keys << changes.fields.first().name;
    (void)qmv::canonicalText(changes, keys);
    const QByteArray again = qmv::encodeChangeSet(changes);
    if (again != qmv::toCbor(changes).toCbor())
        std::abort();
    if (qmv::encodeChangeSet(qmv::decodeChangeSet(again)) != again)
        std::abort();
    return 0;
}

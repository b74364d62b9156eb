// The client's reading of an answer envelope from untrusted bytes (the first byte picks the format:
// odd JSON, even CBOR): every input ends in a verdict, never a fault, and a result read out of a
// CBOR map, written again after the server's success head, reads back byte for byte.
#include "platform/answerenvelope.h"
#include "platform/wire.h"

#include <cstdlib>

using namespace qmv::wire;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    const bool json = data[0] & 1;
    const QByteArray body(reinterpret_cast<const char*>(data) + 1, qsizetype(size - 1));
    const AnswerEnvelope envelope =
        readAnswerEnvelope(json ? "application/json" : "application/cbor", QByteArray(body));
    if (json || !envelope.valid || envelope.resultBytes.isEmpty() || body.startsWith(successHead()))
        return 0;
    QByteArray again = successHead().toByteArray() + envelope.resultBytes;
    const AnswerEnvelope back = readAnswerEnvelope("application/cbor", std::move(again));
    if (!back.valid || !back.ok || back.resultBytes != envelope.resultBytes)
        std::abort();
    return 0;
}

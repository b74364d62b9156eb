// The JSON and CBOR wire mapping of a request body: decodeArguments either reads an argument array
// or refuses with a MethodError, and every array it reads maps to JSON and back and encodes as an
// answer in both formats.
#include "appserver/methods/methoderror.h"
#include "appserver/http/wirecodec.h"

using namespace qmv::appserver;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    const WireFormat format = data[0] & 1 ? WireFormat::Json : WireFormat::Cbor;
    const QByteArray body(reinterpret_cast<const char*>(data) + 1, qsizetype(size - 1));
    QCborArray args;
    try {
        args = decodeArguments(body, format);
    } catch (const MethodError&) {
        return 0;
    }
    const QCborValue asCbor = jsonToCbor(cborToJson(QCborValue(args)));
    (void)cborToJson(asCbor);
    for (const WireFormat answer : {WireFormat::Cbor, WireFormat::Json}) {
        (void)encodeSuccess(MethodResult{QCborValue(args), {}}, answer);
        (void)encodeFailure(QString::fromUtf8(body.left(200)), answer);
    }
    return 0;
}

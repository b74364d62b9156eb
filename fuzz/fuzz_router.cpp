// Method dispatch from a raw request: the first byte picks the format (odd JSON, even CBOR), the
// text up to the first line break names the method, the rest is the body. Every call runs against
// the demo database on SQLite and must end in a result or a refusal: a database or server failure
// (an input the server let through to SQL that SQL could not take) is a finding.
#include "appserver/methods/catalogue.h"
#include "fuzz/demodatabase.h"
#include "appserver/methods/methoderror.h"
#include "appserver/http/wirecodec.h"

#include <cstdio>
#include <cstdlib>

using namespace qmv::appserver;

namespace {

MethodContext* context = nullptr;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    const DbConfig config = qmv::fuzz::demoDatabase(argc, argv);
    static std::mutex writeLock;
    static MethodContext c{openDatabase(config, QStringLiteral("fuzz")), Driver::Sqlite, &writeLock};
    context = &c;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    const WireFormat format = data[0] & 1 ? WireFormat::Json : WireFormat::Cbor;
    const QByteArray rest(reinterpret_cast<const char*>(data) + 1, qsizetype(size - 1));
    const qsizetype newline = rest.indexOf('\n');
    if (newline < 0)
        return 0;
    const QString method = QString::fromUtf8(rest.left(newline));
    const QByteArray body = rest.mid(newline + 1);
    try {
        if (!Catalogue::standard().find(method))
            return 0;
        const QCborArray args = decodeArguments(body, format);
        (void)encodeSuccess(Catalogue::standard().dispatch(method, args, *context), format);
    } catch (const MethodError& error) {
        if (error.failure() == Failure::Internal) {
            std::fprintf(stderr, "internal failure: %s\n%s\n", qPrintable(error.message()), qPrintable(error.detail()));
            std::abort();
        }
        (void)encodeFailure(error.message(), format);
    }
    return 0;
}

#include "server/callarguments.h"

#include <QCborValue>

namespace qmv {

CallArguments::CallArguments() : cbor_(1, char(0x80)) {}

CallArguments::CallArguments(const QCborArray& args) : cbor_(QCborValue(args).toCbor()) {}

CallArguments::CallArguments(QByteArray cbor, bool) : cbor_(std::move(cbor)) {}

CallArguments CallArguments::encoded(QByteArray cbor)
{
    return CallArguments(std::move(cbor), true);
}

QCborArray CallArguments::decoded() const
{
    return QCborValue::fromCbor(cbor_).toArray();
}

}  // namespace qmv

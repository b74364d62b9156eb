#include "server/remotecall.h"

#include <QCborArray>

#include "server/tnetconnection.h"

namespace qmv {

RemoteArg::RemoteArg(ArgKind kind, QCborValue value)
    : kind_(kind)
    , value_(std::move(value))
{
}

RemoteArg RemoteArg::text(const QString& value)
{
    return RemoteArg(ArgKind::Text, QCborValue(value));
}

RemoteArg RemoteArg::textByRef(const QString& variable)
{
    return RemoteArg(ArgKind::TextByRef, QCborValue(variable));
}

RemoteArg RemoteArg::changeSet(const ChangeSet& delta)
{
    return RemoteArg(ArgKind::ChangeSet, toCbor(delta));
}

RemoteArg RemoteArg::integer(qint32 value)
{
    return RemoteArg(ArgKind::Integer, QCborValue(qint64(value)));
}

RemoteResult invoke(TNetConnection& connection, const QString& method,
                    std::initializer_list<RemoteArg> args)
{
    QCborArray array;
    for (const RemoteArg& arg : args)
        array.append(arg.value());
    return connection.call(method, array);
}

}  // namespace qmv

#include "server/remotecall.h"

#include <QCborStreamWriter>

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
    RemoteArg arg(ArgKind::ChangeSet, QCborValue());
    arg.changes_ = delta;
    return arg;
}

RemoteArg RemoteArg::integer(qint32 value)
{
    return RemoteArg(ArgKind::Integer, QCborValue(qint64(value)));
}

void RemoteArg::write(QCborStreamWriter& writer) const
{
    if (changes_)
        writeChangeSet(writer, *changes_);
    else
        value_.toCbor(writer);
}

RemoteResult invoke(TNetConnection& connection, const QString& method,
                    std::initializer_list<RemoteArg> args)
{
    QByteArray body;
    {
        QCborStreamWriter writer(&body);
        writer.startArray(quint64(args.size()));
        for (const RemoteArg& arg : args)
            arg.write(writer);
        writer.endArray();
    }
    return connection.call(method, CallArguments::encoded(std::move(body)));
}

}  // namespace qmv

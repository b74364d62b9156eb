#pragma once
// The remote-call path: a method of the connection's server object invoked by name with positional
// arguments of the four kinds the methods take, one RemoteResult back. A text by reference names one of
// the caller's own variables; the value travels like a text and the variable is never written back.
// UI thread only.
#include <QCborValue>
#include <QString>
#include <initializer_list>

#include "platform/packet.h"
#include "platform/remoteresult.h"

namespace qmv {

class TNetConnection;

enum class ArgKind { Text, TextByRef, ChangeSet, Integer };

class RemoteArg {
public:
    static RemoteArg text(const QString& value);
    static RemoteArg textByRef(const QString& variable);
    static RemoteArg changeSet(const ChangeSet& delta);
    static RemoteArg integer(qint32 value);

    ArgKind kind() const { return kind_; }
    const QCborValue& value() const { return value_; }

private:
    RemoteArg(ArgKind kind, QCborValue value);
    ArgKind kind_;
    QCborValue value_;
};

RemoteResult invoke(TNetConnection& connection, const QString& method,
                    std::initializer_list<RemoteArg> args);

}  // namespace qmv

#pragma once
// The remote-call path: a method of the connection's server object invoked by name with positional
// arguments of the four kinds the methods take, one RemoteResult back. A text by reference names one of
// the caller's own variables; the value travels like a text and the variable is never written back.
// UI thread only.
#include <QCborStreamWriter>
#include <QCborValue>
#include <QString>
#include <initializer_list>
#include <optional>

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
    // Appends the argument to a call's array.
    void write(QCborStreamWriter& writer) const;

private:
    RemoteArg(ArgKind kind, QCborValue value);
    ArgKind kind_;
    QCborValue value_;
    std::optional<ChangeSet> changes_;  // written straight into the request: a photo is large
};

RemoteResult invoke(TNetConnection& connection, const QString& method,
                    std::initializer_list<RemoteArg> args);

}  // namespace qmv

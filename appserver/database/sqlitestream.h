#pragma once
// Reads a SELECT on a SQLite connection straight into a packet's CBOR bytes through SQLite's own
// statements: stored text goes out as the UTF-8 it is, dates in the canonical form without being
// parsed, blobs without an intermediate copy. Use on the connection's own thread.
#include "platform/packet.h"

#include <QSqlDatabase>
#include <QVariantList>
#include <optional>

namespace qmv::appserver {

// The packet's bytes, or nothing when `db` is not SQLite or a parameter has a type this reader
// does not bind (the caller then reads through QtSql). Raises DatabaseError on a SQL failure.
std::optional<QByteArray> encodedPacketFromSqlite(const QSqlDatabase& db, const QString& sql,
                                                  const QVariantList& params, const QList<FieldDef>& fields);

// Statements of connection `name` are kept prepared for the calling thread from cacheSqliteStatements
// until forgetSqliteStatements (before the connection closes).
void cacheSqliteStatements(const QString& name);
void forgetSqliteStatements(const QString& name);

}  // namespace qmv::appserver

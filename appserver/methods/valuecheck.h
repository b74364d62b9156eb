#pragma once
// Values that neither database stores faithfully are refused before any database work, the same
// way on SQLite and PostgreSQL: numbers that are not finite (a stored Infinity could never be
// compared again), texts holding a NUL character, and dates outside the years 1 to 9999 (the range
// both databases hold and the wire's four-digit year writes). Plain functions, any thread.
#include "platform/packet.h"

#include <QString>
#include <functional>

namespace qmv::appserver {

// What is wrong with `value` for any column, in Portuguese ("não é um número finito"); empty when
// it can be stored.
QString valueProblem(const QVariant& value);

// `text` with control characters written as \uXXXX, so a message or a log line shows them.
QString printable(const QString& text, qsizetype maxLength = 60);

// Names the row of a change for messages, e.g. "CDSUBGRU=S1, CDESPEPRODSG=E1".
using RowName = std::function<QString(const Row& row)>;

// Refuses (MethodError naming the method, the field and the row) the first value of `changes`
// that no column holds: every value of each row written, and the key values of each row read.
void checkChangeSetValues(const QString& method, const ChangeSet& changes, const QStringList& keyFields,
                          const RowName& rowName);

}  // namespace qmv::appserver

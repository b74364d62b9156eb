#pragma once
// How much the database holds, read when asked (for the metrics). Runs on a worker thread, on
// that worker's connection.
#include <QSqlDatabase>

namespace qmv::appserver {

// Bytes of every stored photo (FOTOSEMA). Throws DatabaseError.
qint64 photoBytesStored(const QSqlDatabase& db);

}  // namespace qmv::appserver

#include "appserver/database/storage.h"

#include "appserver/database/sql.h"

namespace qmv::appserver {

qint64 photoBytesStored(const QSqlDatabase& db)
{
    // LENGTH counts a blob's bytes on SQLite and a bytea's on PostgreSQL.
    QSqlQuery query = runSql(db, QStringLiteral("SELECT COALESCE(SUM(LENGTH(FGESPEPROD)), 0) FROM FOTOSEMA"));
    return query.next() ? query.value(0).toLongLong() : 0;
}

}  // namespace qmv::appserver

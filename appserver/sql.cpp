#include "appserver/sql.h"

#include <QSqlError>

namespace qmv::appserver {

QSqlQuery runSql(const QSqlDatabase& db, const QString& sql, const QVariantList& params)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    // PostgreSQL cannot prepare DDL: a statement without parameters runs directly.
    if (params.isEmpty()) {
        if (!query.exec(sql))
            throw DatabaseError(query.lastError().text(), sql);
        return query;
    }
    if (!query.prepare(sql))
        throw DatabaseError(query.lastError().text(), sql);
    for (const QVariant& value : params)
        query.addBindValue(value);
    if (!query.exec())
        throw DatabaseError(query.lastError().text(), sql);
    return query;
}

QVariant nullText()
{
    return QVariant(QMetaType(QMetaType::QString));
}

}  // namespace qmv::appserver

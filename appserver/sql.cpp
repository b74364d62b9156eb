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
            throw DatabaseError(("query failed: " + query.lastError().text() + " [" + sql + "]").toStdString());
        return query;
    }
    if (!query.prepare(sql))
        throw DatabaseError(("prepare failed: " + query.lastError().text() + " [" + sql + "]").toStdString());
    for (const QVariant& value : params)
        query.addBindValue(value);
    if (!query.exec())
        throw DatabaseError(("query failed: " + query.lastError().text() + " [" + sql + "]").toStdString());
    return query;
}

QVariant nullText()
{
    return QVariant(QMetaType(QMetaType::QString));
}

}  // namespace qmv::appserver

#include "appserver/database/sql.h"

#include "appserver/database/sqlitestream.h"

#include <QHash>
#include <QSqlError>

namespace qmv::appserver {

namespace {

// Per thread: the connections whose statements are kept, and their prepared statements by SQL.
struct StatementCache {
    QHash<QString, QHash<QString, QSqlQuery>> byConnection;
};

thread_local StatementCache statementCache;

QSqlQuery prepared(const QSqlDatabase& db, const QString& sql)
{
    const auto connection = statementCache.byConnection.find(db.connectionName());
    if (connection != statementCache.byConnection.end()) {
        if (const auto found = connection->constFind(sql); found != connection->constEnd()) {
            // The caller's query shares the cached statement on purpose: that is the reuse.
            QT_WARNING_PUSH
            QT_WARNING_DISABLE_DEPRECATED
            return *found;
            QT_WARNING_POP
        }
    }
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.prepare(sql))
        throw DatabaseError(query.lastError().text(), sql);
    if (connection != statementCache.byConnection.end())
        connection->insert(sql, query);
    return query;
}

}  // namespace

void cacheStatements(const QString& name)
{
    statementCache.byConnection.insert(name, {});
    cacheSqliteStatements(name);
}

void forgetStatements(const QString& name)
{
    statementCache.byConnection.remove(name);
    forgetSqliteStatements(name);
}

void finishStatements(const QString& name)
{
    const auto connection = statementCache.byConnection.find(name);
    if (connection == statementCache.byConnection.end())
        return;
    for (QSqlQuery& query : *connection)
        query.finish();
}

QSqlQuery runSql(const QSqlDatabase& db, const QString& sql, const QVariantList& params)
{
    // PostgreSQL cannot prepare DDL: a statement without parameters runs directly.
    if (params.isEmpty()) {
        QSqlQuery query(db);
        query.setForwardOnly(true);
        if (!query.exec(sql))
            throw DatabaseError(query.lastError().text(), sql);
        return query;
    }
    QSqlQuery query = prepared(db, sql);
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

#include "appserver/database/sqlitestream.h"

#include "appserver/methods/packetbuilder.h"
#include "appserver/database/sql.h"

#include <QDateTime>
#include <QHash>
#include <QScopeGuard>
#include <QSqlDriver>
#include <sqlite3.h>

namespace qmv::appserver {

namespace {

// Per thread: the connections whose statements are kept, and their statements by SQL.
thread_local QHash<QString, QHash<QString, sqlite3_stmt*>> sqliteStatements;

sqlite3* handleOf(const QSqlDatabase& db)
{
    const QVariant handle = db.driver() ? db.driver()->handle() : QVariant();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3* const*>(handle.constData());
}

// A statement for the call: from the connection's cache, or prepared for this call only.
class Statement {
public:
    Statement(sqlite3* db, const QString& connection, const QString& sql)
    {
        const auto cache = sqliteStatements.find(connection);
        if (cache != sqliteStatements.end())
            stmt_ = cache->value(sql);
        if (!stmt_) {
            const QByteArray text = sql.toUtf8();
            if (sqlite3_prepare_v3(db, text.constData(), int(text.size()), SQLITE_PREPARE_PERSISTENT, &stmt_, nullptr)
                != SQLITE_OK)
                throw DatabaseError(QString::fromUtf8(sqlite3_errmsg(db)), sql);
            if (cache != sqliteStatements.end())
                cache->insert(sql, stmt_);
            else
                owned_ = true;
        }
    }
    ~Statement()
    {
        // Ends the read at once, so no snapshot stays open between calls.
        sqlite3_reset(stmt_);
        sqlite3_clear_bindings(stmt_);
        if (owned_)
            sqlite3_finalize(stmt_);
    }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    sqlite3_stmt* get() const { return stmt_; }

private:
    sqlite3_stmt* stmt_ = nullptr;
    bool owned_ = false;
};

// A parameter bound as QtSql binds it; false for a type left to QtSql.
bool bind(sqlite3_stmt* stmt, int index, const QVariant& value, QByteArray& keep)
{
    const int type = value.typeId();
    const bool null = value.isNull() || (type == QMetaType::QString && value.toString().isNull())
                      || (type == QMetaType::QByteArray && value.toByteArray().isNull());
    if (null)
        return sqlite3_bind_null(stmt, index) == SQLITE_OK;
    switch (type) {
    case QMetaType::QString:
        keep = value.toString().toUtf8();
        return sqlite3_bind_text(stmt, index, keep.constData(), int(keep.size()), SQLITE_STATIC) == SQLITE_OK;
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::Bool:
        return sqlite3_bind_int64(stmt, index, value.toLongLong()) == SQLITE_OK;
    case QMetaType::Double:
        return sqlite3_bind_double(stmt, index, value.toDouble()) == SQLITE_OK;
    case QMetaType::QByteArray:
        keep = value.toByteArray();
        return sqlite3_bind_blob(stmt, index, keep.constData(), int(keep.size()), SQLITE_STATIC) == SQLITE_OK;
    default:
        return false;
    }
}

QString columnText16(sqlite3_stmt* stmt, int column)
{
    const auto* text = static_cast<const QChar*>(sqlite3_column_text16(stmt, column));
    return QString(text, sqlite3_column_bytes16(stmt, column) / qsizetype(sizeof(QChar)));
}

// The value as QtSql's SQLite driver would have read it.
QVariant columnVariant(sqlite3_stmt* stmt, int column)
{
    switch (sqlite3_column_type(stmt, column)) {
    case SQLITE_INTEGER: return qint64(sqlite3_column_int64(stmt, column));
    case SQLITE_FLOAT: return sqlite3_column_double(stmt, column);
    case SQLITE_BLOB:
        return QByteArray(static_cast<const char*>(sqlite3_column_blob(stmt, column)),
                          sqlite3_column_bytes(stmt, column));
    case SQLITE_TEXT: return columnText16(stmt, column);
    default: return {};
    }
}

QByteArrayView valueBytes(sqlite3_value* value, const void* data)
{
    return QByteArrayView(static_cast<const char*>(data), sqlite3_value_bytes(value));
}

// The column's value is read once; the connection's mutex is held by the caller, so the value's
// own accessors are safe and spare a lock per call.
void writeColumn(PacketWriter& writer, sqlite3_stmt* stmt, int column, FieldKind kind)
{
    sqlite3_value* cell = sqlite3_column_value(stmt, column);
    const int type = sqlite3_value_type(cell);
    if (type == SQLITE_NULL)
        return writer.null();
    const bool text = kind == FieldKind::Text || kind == FieldKind::FixedText || kind == FieldKind::Calculated;
    if (type == SQLITE_TEXT && (text || kind == FieldKind::DateTime)) {
        const QByteArrayView utf8 = valueBytes(cell, sqlite3_value_text(cell));
        if (text && utf8.isValidUtf8())
            return writer.utf8Text(utf8);
        if (kind == FieldKind::DateTime && isCanonicalDateText(utf8))
            return writer.dateText(utf8);
    } else if (type == SQLITE_BLOB && kind == FieldKind::Blob) {
        return writer.bytes(valueBytes(cell, sqlite3_value_blob(cell)));
    } else if ((type == SQLITE_FLOAT || type == SQLITE_INTEGER) && kind == FieldKind::Float) {
        return writer.number(sqlite3_value_double(cell));
    }
    writePacketValue(writer, columnVariant(stmt, column), kind);
}

}  // namespace

std::optional<QByteArray> encodedPacketFromSqlite(const QSqlDatabase& db, const QString& sql,
                                                  const QVariantList& params, const QList<FieldDef>& fields)
{
    sqlite3* handle = handleOf(db);
    if (!handle)
        return std::nullopt;
    QList<QByteArray> kept(params.size());  // bound in place: outlives the statement's use
    Statement statement(handle, db.connectionName(), sql);
    sqlite3_stmt* stmt = statement.get();
    for (int i = 0; i < params.size(); ++i)
        if (!bind(stmt, i + 1, params[i], kept[i]))
            return std::nullopt;
    if (sqlite3_column_count(stmt) < fields.size())
        throw DatabaseError(QStringLiteral("a consulta devolve menos colunas que o pacote"), sql);
    PacketWriter writer(fields, 64 * 1024);
    // Held for the whole read: every column call below would otherwise lock and unlock it again.
    sqlite3_mutex* mutex = sqlite3_db_mutex(handle);
    sqlite3_mutex_enter(mutex);
    const auto leave = qScopeGuard([mutex] { sqlite3_mutex_leave(mutex); });
    for (;;) {
        const int step = sqlite3_step(stmt);
        if (step == SQLITE_DONE)
            break;
        if (step != SQLITE_ROW)
            throw DatabaseError(QString::fromUtf8(sqlite3_errmsg(handle)), sql);
        writer.beginRow();
        for (int i = 0; i < fields.size(); ++i)
            writeColumn(writer, stmt, i, fields[i].kind);
    }
    return writer.finish();
}

void cacheSqliteStatements(const QString& name)
{
    sqliteStatements.insert(name, {});
}

void forgetSqliteStatements(const QString& name)
{
    const auto cache = sqliteStatements.find(name);
    if (cache == sqliteStatements.end())
        return;
    for (sqlite3_stmt* stmt : std::as_const(*cache))
        sqlite3_finalize(stmt);
    sqliteStatements.erase(cache);
}

}  // namespace qmv::appserver

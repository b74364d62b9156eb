#pragma once
// Where the server's database lives (an SQLite file or a PostgreSQL conninfo) and how to open one
// named QtSql connection to it. A connection may only be used on the thread that opened it.
#include <QSqlDatabase>
#include <QString>

namespace qmv::appserver {

enum class Driver { Sqlite, Postgres };

struct DbConfig {
    Driver driver = Driver::Sqlite;
    QString sqliteFile;  // for Driver::Sqlite
    QString pgConnInfo;  // for Driver::Postgres: "host=... port=... dbname=... user=... [password=...]"
};

// Opens a connection registered under `name`; throws std::runtime_error with the driver's message.
QSqlDatabase openDatabase(const DbConfig& config, const QString& name);

// Closes and unregisters the connection `name` (no QSqlDatabase copies of it may remain).
void closeDatabase(const QString& name);

// Splits "key=value key='quoted value'" into pairs; throws std::invalid_argument when malformed.
QList<std::pair<QString, QString>> parseConnInfo(const QString& conninfo);

}  // namespace qmv::appserver

#pragma once
// Creates and migrates the server's schema: each migration runs once, in order, inside one
// transaction, and is recorded in SCHEMAVERSAO. The same SQL runs on SQLite and PostgreSQL.
// Each function uses its connection on the calling thread.
#include "appserver/database/dbconfig.h"

#include <QSqlDatabase>

namespace qmv::appserver {

int latestSchemaVersion();
int schemaVersion(const QSqlDatabase& db);  // 0 for an empty database

// Applies the missing migrations; returns the version reached. Throws DatabaseError.
int migrate(const QSqlDatabase& db);

// Opens a connection of its own on the calling thread, migrates, closes; returns the version.
int migrateDatabase(const DbConfig& config);

}  // namespace qmv::appserver

#pragma once
// Backups of a serving SQLite database and the check of a copy before it is put back. Both open a
// connection of their own through SQLite's C API; they may run in another process beside a server
// that keeps writing. Any thread.
#include "appserver/database/dbconfig.h"

#include <QString>

namespace qmv::appserver {

// Writes a consistent copy of the database into `target`, which must not exist yet: one read
// transaction copies the whole database at once (VACUUM INTO), so writers go on meanwhile and the
// copy holds every write committed before it began. The copy is written beside `target`, flushed to
// disk and renamed into place, so `target` never names half a copy. Throws std::runtime_error; on
// PostgreSQL it refuses with the pg_dump command to use instead.
void backupDatabase(const DbConfig& config, const QString& target);

// Checks an SQLite file before it is put back: SQLite's integrity and foreign-key checks, and a
// schema version this program knows. Returns a one-line summary; throws std::runtime_error saying
// what is wrong. Opens the file read-only.
QString checkDatabaseFile(const QString& file);

}  // namespace qmv::appserver

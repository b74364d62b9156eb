#include "appserver/database/backup.h"

#include "appserver/database/schema.h"
#include "appserver/database/sql.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlRecord>
#include <atomic>
#include <fcntl.h>
#include <stdexcept>
#include <unistd.h>

namespace qmv::appserver {

using namespace Qt::StringLiterals;

namespace {

[[noreturn]] void fail(const QString& message)
{
    throw std::runtime_error(message.toStdString());
}

// A QtSql connection of its own to an existing SQLite file, closed when it goes out of scope.
class FileConnection {
public:
    FileConnection(const QString& file, bool readOnly) : name_(u"qmv-appserver-file-%1"_s.arg(serial_++))
    {
        if (!QFileInfo(file).isFile())
            fail(u"%1: no such database file"_s.arg(file));
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, name_);
        db.setDatabaseName(file);
        db.setConnectOptions(readOnly ? u"QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=10000"_s
                                      : u"QSQLITE_BUSY_TIMEOUT=10000"_s);
        if (!db.open()) {
            const QString message = db.lastError().text();
            db = QSqlDatabase();
            closeDatabase(name_);
            fail(u"%1: cannot open the database: %2"_s.arg(file, message));
        }
    }
    ~FileConnection() { closeDatabase(name_); }
    FileConnection(const FileConnection&) = delete;
    FileConnection& operator=(const FileConnection&) = delete;

    QSqlDatabase db() const { return QSqlDatabase::database(name_, false); }

private:
    static inline std::atomic<int> serial_{0};
    QString name_;
};

// Flushes a file (or a folder's entries) to disk; the copy SQLite writes is not synced by SQLite.
void flushToDisk(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    const bool flushed = fd >= 0 && ::fsync(fd) == 0;
    if (fd >= 0)
        ::close(fd);
    if (!flushed)
        fail(u"%1: cannot flush to disk"_s.arg(path));
}

QStringList rows(const QSqlDatabase& db, const QString& sql)
{
    QStringList values;
    QSqlQuery q = runSql(db, sql);
    while (q.next()) {
        QStringList fields;
        for (int i = 0; i < q.record().count(); ++i)
            fields << q.value(i).toString();
        values << fields.join(u' ');
    }
    return values;
}

}  // namespace

void backupDatabase(const DbConfig& config, const QString& target)
{
    if (config.driver == Driver::Postgres)
        fail(u"--backup copies an SQLite database; back up PostgreSQL with its own tools: "
             "pg_dump -Fc -f qmv.dump \"<conninfo>\", and restore into an empty database with "
             "pg_restore -d \"<conninfo>\" qmv.dump (docs/operations.md)"_s);
    if (QFileInfo::exists(target))
        fail(u"%1 already exists; a backup never overwrites a file"_s.arg(target));
    const QString partial = target + u".part"_s;
    QFile::remove(partial);  // what an interrupted backup left
    try {
        FileConnection source(config.sqliteFile, false);
        runSql(source.db(), u"VACUUM INTO ?"_s, {partial});
    } catch (const DatabaseError& error) {
        QFile::remove(partial);
        fail(u"backup of %1 into %2 failed: %3"_s.arg(config.sqliteFile, target, QString::fromUtf8(error.what())));
    }
    flushToDisk(partial);
    if (!QFile::rename(partial, target)) {
        QFile::remove(partial);
        fail(u"cannot rename %1 to %2"_s.arg(partial, target));
    }
    flushToDisk(QFileInfo(target).absolutePath());
}

QString checkDatabaseFile(const QString& file)
{
    FileConnection connection(file, true);
    const QSqlDatabase db = connection.db();
    try {
        const QStringList integrity = rows(db, u"PRAGMA integrity_check"_s);
        if (integrity != QStringList{u"ok"_s})
            fail(u"%1 is damaged: %2"_s.arg(file, integrity.mid(0, 5).join(u"; "_s)));
        const QStringList references = rows(db, u"PRAGMA foreign_key_check"_s);
        if (!references.isEmpty())
            fail(u"%1 has %2 row(s) whose references are missing, first: %3"_s.arg(file).arg(references.size())
                     .arg(references.first()));
        const int version = schemaVersion(db);
        if (version == 0)
            fail(u"%1 is not a database of this server (no schema version)"_s.arg(file));
        if (version > latestSchemaVersion())
            fail(u"%1 has schema version %2, newer than this program's %3"_s.arg(file).arg(version)
                     .arg(latestSchemaVersion()));
        const QString pages = rows(db, u"PRAGMA page_count"_s).value(0);
        return u"%1: ok, schema version %2 (this program: %3), %4 pages"_s.arg(file).arg(version)
            .arg(latestSchemaVersion()).arg(pages);
    } catch (const DatabaseError& error) {
        fail(u"%1 cannot be read as a database: %2"_s.arg(file, QString::fromUtf8(error.what())));
    }
}

}  // namespace qmv::appserver

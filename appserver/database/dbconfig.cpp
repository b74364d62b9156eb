#include "appserver/database/dbconfig.h"

#include "appserver/database/sql.h"
#include "appserver/database/walwritebatch.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>
#include <stdexcept>

namespace qmv::appserver {

using namespace Qt::StringLiterals;

namespace {

QString quoted(const QString& value)
{
    if (!value.contains(u' ') && !value.contains(u'\'') && !value.contains(u'\\') && !value.isEmpty())
        return value;
    QString escaped = value;
    escaped.replace(u"\\"_s, u"\\\\"_s).replace(u"'"_s, u"\\'"_s);
    return u'\'' + escaped + u'\'';
}

void configurePostgres(QSqlDatabase& db, const QString& conninfo)
{
    QStringList options;
    for (const auto& [key, value] : parseConnInfo(conninfo)) {
        if (key == u"host")
            db.setHostName(value);
        else if (key == u"port")
            db.setPort(value.toInt());
        else if (key == u"dbname")
            db.setDatabaseName(value);
        else if (key == u"user")
            db.setUserName(value);
        else if (key == u"password")
            db.setPassword(value);
        else
            options << key + u'=' + quoted(value);
    }
    db.setConnectOptions(options.join(u';'));
}

void runSetting(QSqlDatabase& db, const QString& pragma)
{
    QSqlQuery q(db);
    if (!q.exec(pragma))
        throw std::runtime_error((pragma + u": "_s + q.lastError().text()).toStdString());
}

}  // namespace

QList<std::pair<QString, QString>> parseConnInfo(const QString& conninfo)
{
    QList<std::pair<QString, QString>> pairs;
    int i = 0;
    const int n = conninfo.size();
    auto skipBlanks = [&] { while (i < n && conninfo[i].isSpace()) ++i; };
    for (skipBlanks(); i < n; skipBlanks()) {
        const int eq = conninfo.indexOf(u'=', i);
        if (eq < 0)
            throw std::invalid_argument("conninfo: '=' expected after " + conninfo.mid(i).toStdString());
        const QString key = conninfo.mid(i, eq - i).trimmed();
        if (key.isEmpty() || key.contains(u' '))
            throw std::invalid_argument("conninfo: bad key near " + conninfo.mid(i).toStdString());
        i = eq + 1;
        skipBlanks();
        QString value;
        if (i < n && conninfo[i] == u'\'') {
            for (++i; i < n && conninfo[i] != u'\''; ++i) {
                if (conninfo[i] == u'\\' && i + 1 < n)
                    ++i;
                value += conninfo[i];
            }
            if (i >= n)
                throw std::invalid_argument("conninfo: unterminated quote for " + key.toStdString());
            ++i;
        } else {
            while (i < n && !conninfo[i].isSpace())
                value += conninfo[i++];
        }
        pairs.append({key, value});
    }
    return pairs;
}

QSqlDatabase openDatabase(const DbConfig& config, const QString& name)
{
    const bool sqlite = config.driver == Driver::Sqlite;
    QSqlDatabase db = QSqlDatabase::addDatabase(sqlite ? u"QSQLITE"_s : u"QPSQL"_s, name);
    if (sqlite) {
        // Opened as a URI to name the file system that writes each commit's log in one piece.
        db.setDatabaseName(u"file:"_s + QString::fromLatin1(QUrl::toPercentEncoding(config.sqliteFile, "/"))
                           + u"?vfs="_s + QLatin1String(walWriteBatchVfs()));
        db.setConnectOptions(u"QSQLITE_BUSY_TIMEOUT=10000;QSQLITE_OPEN_URI"_s);
    } else {
        configurePostgres(db, config.pgConnInfo);
    }
    if (!db.open()) {
        const QString message = db.lastError().text();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(name);
        throw std::runtime_error(("cannot open the database: " + message).toStdString());
    }
    if (!sqlite) {
        // Dates are sent as UTC readings of the wall clock; a UTC session stores that reading as is.
        runSetting(db, u"SET TIME ZONE 'UTC'"_s);
    }
    if (sqlite) {
        // Foreign keys are enforced per connection in SQLite; WAL lets readers run beside a writer.
        runSetting(db, u"PRAGMA foreign_keys = ON"_s);
        // Every commit syncs the log before others see it: a commit is on the disk when it returns, and
        // the batched log writes reach the file before then.
        runSetting(db, u"PRAGMA synchronous = FULL"_s);
        // Only a new, empty file takes it (before WAL is switched on): a photo then spans a few
        // dozen pages instead of some hundred, each one write to the log.
        runSetting(db, u"PRAGMA page_size = 16384"_s);
        runSetting(db, u"PRAGMA journal_mode = WAL"_s);
    }
    return db;
}

void closeDatabase(const QString& name)
{
    forgetStatements(name);
    {
        QSqlDatabase db = QSqlDatabase::database(name, false);
        if (db.isValid())
            db.close();
    }
    QSqlDatabase::removeDatabase(name);
}

}  // namespace qmv::appserver

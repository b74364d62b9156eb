#pragma once
// dtmDBGeral: the data module over the host's shared database, one read-only QtSql connection
// (adcGeral) opened on first use; SQLite file by default, PostgreSQL by configuration.
// UI thread only; queries over it (TADOIBQuery) run synchronously.
#include <QSqlDatabase>
#include <QString>
#include <stdexcept>

namespace qmv {

class DatabaseError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class dtmDBGeral {
public:
    // driver: a QtSql driver ("QSQLITE", "QPSQL"). name: the SQLite file, or for PostgreSQL a
    // database name or a libpq connection text ("host=... port=... dbname=... user=...").
    dtmDBGeral(const QString& driver, const QString& name);
    ~dtmDBGeral();
    dtmDBGeral(const dtmDBGeral&) = delete;
    dtmDBGeral& operator=(const dtmDBGeral&) = delete;

    // The host's data module, on the database of the host configuration in force (hostConfig());
    // when that configuration names another database, the module moves to it.
    static dtmDBGeral& shared();

    // Points the module at another database; the connection opens again on next use.
    void reconfigure(const QString& driver, const QString& name);

    // The open connection; opens it first when needed. Throws DatabaseError when it cannot.
    QSqlDatabase adcGeral();
    bool connected() const;
    void disconnect();

    const QString& driver() const { return driver_; }
    const QString& name() const { return name_; }
    const QString& connectionName() const { return connectionName_; }

private:
    void configure(QSqlDatabase& db) const;
    void makeReadOnly(QSqlDatabase& db) const;

    QString driver_;
    QString name_;
    QString connectionName_;
};

}  // namespace qmv

#include "lookup/dtmdbgeral.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>

#include "host/hostconfig.h"

namespace qmv {

namespace {

QString freeConnectionName()
{
    const QString base = QStringLiteral("adcGeral");
    QString candidate = base;
    for (int n = 2; QSqlDatabase::contains(candidate); ++n)
        candidate = base + QLatin1Char('#') + QString::number(n);
    return candidate;
}

bool isPostgres(const QString& driver)
{
    return driver.compare(QLatin1String("QPSQL"), Qt::CaseInsensitive) == 0;
}

bool isSqlite(const QString& driver)
{
    return driver.compare(QLatin1String("QSQLITE"), Qt::CaseInsensitive) == 0;
}

}  // namespace

dtmDBGeral::dtmDBGeral(const QString& driver, const QString& name)
    : driver_(driver), name_(name), connectionName_(freeConnectionName())
{
    QSqlDatabase::addDatabase(driver_, connectionName_);
}

dtmDBGeral::~dtmDBGeral()
{
    {
        QSqlDatabase db = QSqlDatabase::database(connectionName_, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(connectionName_);
}

namespace {

dtmDBGeral* sharedModule = nullptr;

// The connection must go while the application still holds its SQL driver plugins: a static
// destroyed after them would call into an unloaded driver at exit.
void releaseSharedModule()
{
    delete sharedModule;
    sharedModule = nullptr;
}

}  // namespace

dtmDBGeral& dtmDBGeral::shared()
{
    const HostConfig& config = hostConfig();
    if (!sharedModule) {
        sharedModule = new dtmDBGeral(config.dbDriver, config.dbName);
        qAddPostRoutine(releaseSharedModule);
    }
    if (sharedModule->driver() != config.dbDriver || sharedModule->name() != config.dbName)
        sharedModule->reconfigure(config.dbDriver, config.dbName);
    return *sharedModule;
}

void dtmDBGeral::reconfigure(const QString& driver, const QString& name)
{
    {
        QSqlDatabase db = QSqlDatabase::database(connectionName_, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(connectionName_);
    driver_ = driver;
    name_ = name;
    QSqlDatabase::addDatabase(driver_, connectionName_);
}

QSqlDatabase dtmDBGeral::adcGeral()
{
    QSqlDatabase db = QSqlDatabase::database(connectionName_, false);
    if (db.isOpen())
        return db;
    if (!db.isValid())
        throw DatabaseError("Driver de banco de dados indisponível: " + driver_.toStdString());
    configure(db);
    if (!db.open())
        throw DatabaseError("Não foi possível abrir o banco de dados " + name_.toStdString() + ": " +
                            db.lastError().text().toStdString());
    makeReadOnly(db);
    return db;
}

bool dtmDBGeral::connected() const
{
    return QSqlDatabase::database(connectionName_, false).isOpen();
}

void dtmDBGeral::disconnect()
{
    QSqlDatabase::database(connectionName_, false).close();
}

void dtmDBGeral::configure(QSqlDatabase& db) const
{
    if (isPostgres(driver_) && name_.contains(QLatin1Char('='))) {
        // A libpq connection text passes through the driver's options untouched.
        db.setConnectOptions(name_);
        return;
    }
    db.setDatabaseName(name_);
    if (isSqlite(driver_)) {
        // The read-only flag also keeps SQLite from creating a missing file silently.
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        if (!QFileInfo::exists(name_))
            throw DatabaseError("Banco de dados não encontrado: " + name_.toStdString());
    }
}

void dtmDBGeral::makeReadOnly(QSqlDatabase& db) const
{
    if (!isPostgres(driver_))
        return;
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("SET SESSION CHARACTERISTICS AS TRANSACTION READ ONLY"))) {
        const QString why = q.lastError().text();
        db.close();
        throw DatabaseError("Não foi possível abrir o banco de dados em modo leitura: " +
                            why.toStdString());
    }
}

}  // namespace qmv

#include "lookup/lookupdb.h"

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <gtest/gtest.h>

namespace qmv::test {

namespace {

int counter = 0;

const char* const kTables[] = {
    "CREATE TABLE FILIAL (CDFILIAL CHAR(4) NOT NULL PRIMARY KEY, NMFILIAL VARCHAR(30))",
    "CREATE TABLE COMPANHIA (CDCIA CHAR(4) NOT NULL PRIMARY KEY, SGCIA VARCHAR(5) NOT NULL,"
    " NMCIA VARCHAR(50))",
    "CREATE TABLE CIAFILI (CDFILIAL CHAR(4) NOT NULL, CDCIA CHAR(4) NOT NULL,"
    " PRIMARY KEY (CDFILIAL, CDCIA))",
    "CREATE TABLE MANUALCIA (CDFILIAL CHAR(4) NOT NULL, CDCIA CHAR(4) NOT NULL,"
    " CDMANCIA CHAR(4) NOT NULL, DSMANUAL VARCHAR(30), IDTPMANUAL CHAR(1) NOT NULL,"
    " PRIMARY KEY (CDFILIAL, CDCIA, CDMANCIA))",
};

// Branch 0001 serves AIR (0010) and BUS (0020); 0002 serves AIR only; 0003 serves nobody.
const char* const kRows[] = {
    "INSERT INTO FILIAL VALUES ('0002', 'Cozinha Galeão')",
    "INSERT INTO FILIAL VALUES ('0001', 'Cozinha Guarulhos')",
    "INSERT INTO FILIAL VALUES ('0003', 'Cozinha Confins')",
    "INSERT INTO COMPANHIA VALUES ('0020', 'BUS', 'Viação Rodoviária')",
    "INSERT INTO COMPANHIA VALUES ('0010', 'AIR', 'Linhas Aéreas do Sul')",
    "INSERT INTO COMPANHIA VALUES ('0030', 'CRUZ', 'Cruzeiros do Atlântico')",
    "INSERT INTO CIAFILI VALUES ('0001', '0010')",
    "INSERT INTO CIAFILI VALUES ('0001', '0020')",
    "INSERT INTO CIAFILI VALUES ('0002', '0010')",
    "INSERT INTO MANUALCIA VALUES ('0001', '0010', '0002', 'Manual de Bordo Verão', 'M')",
    "INSERT INTO MANUALCIA VALUES ('0001', '0010', '0001', 'Manual de Bordo', 'M')",
    "INSERT INTO MANUALCIA VALUES ('0001', '0010', '0003', 'Tabela de Preços', 'P')",
    "INSERT INTO MANUALCIA VALUES ('0001', '0020', '0001', 'Manual Rodoviário', 'M')",
    "INSERT INTO MANUALCIA VALUES ('0002', '0010', '0001', 'Manual Galeão', 'M')",
};

}  // namespace

LookupDb::LookupDb(const QString& driver) : driver_(driver)
{
    const int n = ++counter;
    writer_ = QStringLiteral("lookup-writer-%1").arg(n);
    QSqlDatabase db = QSqlDatabase::addDatabase(driver_, writer_);
    if (driver_ == QLatin1String("QPSQL")) {
        const QString conninfo = qEnvironmentVariable("QMV_TEST_PG");
        if (conninfo.isEmpty())
            return;
        schema_ = QStringLiteral("lookup_%1_%2").arg(QCoreApplication::applicationPid()).arg(n);
        db.setConnectOptions(conninfo);
        if (!db.open()) {
            ADD_FAILURE() << "PostgreSQL: " << db.lastError().text().toStdString();
            return;
        }
        exec(QStringLiteral("SET client_min_messages TO WARNING"));
        exec(QStringLiteral("CREATE SCHEMA ") + schema_);
        exec(QStringLiteral("SET search_path TO ") + schema_);
        name_ = conninfo + QStringLiteral(" options=-csearch_path=") + schema_;
    } else {
        dir_ = std::make_unique<QTemporaryDir>();
        name_ = dir_->filePath(QStringLiteral("geral.db"));
        db.setDatabaseName(name_);
        if (!db.open()) {
            ADD_FAILURE() << "SQLite: " << db.lastError().text().toStdString();
            return;
        }
        exec(QStringLiteral("PRAGMA synchronous = OFF"));
    }
    createTables();
    fillRows();
    available_ = true;
}

LookupDb::~LookupDb()
{
    {
        QSqlDatabase db = QSqlDatabase::database(writer_, false);
        if (db.isOpen() && !schema_.isEmpty())
            QSqlQuery(db).exec(QStringLiteral("DROP SCHEMA ") + schema_ + QStringLiteral(" CASCADE"));
        db.close();
    }
    QSqlDatabase::removeDatabase(writer_);
}

void LookupDb::exec(const QString& sql)
{
    QSqlQuery q(QSqlDatabase::database(writer_, false));
    if (!q.exec(sql))
        ADD_FAILURE() << sql.toStdString() << ": " << q.lastError().text().toStdString();
}

void LookupDb::createTables()
{
    for (const char* sql : kTables)
        exec(QString::fromUtf8(sql));
}

void LookupDb::fillRows()
{
    for (const char* sql : kRows)
        exec(QString::fromUtf8(sql));
}

}  // namespace qmv::test

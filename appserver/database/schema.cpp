#include "appserver/database/schema.h"

#include "appserver/database/sql.h"
#include "appserver/database/transactionguard.h"

#include <QDateTime>
#include <atomic>
#include <QStringList>

namespace qmv::appserver {

using namespace Qt::StringLiterals;

namespace {

// Codes are VARCHAR of the width the screens use; a column shown with two sizes takes the smaller,
// so every value fits every dataset that shows it.
const QStringList version1 = {
    uR"(CREATE TABLE FILIAL (
        CDFILIAL VARCHAR(4) NOT NULL PRIMARY KEY,
        NMFILIAL VARCHAR(30) NOT NULL))"_s,
    uR"(CREATE TABLE COMPANHIA (
        CDCIA VARCHAR(4) NOT NULL PRIMARY KEY,
        SGCIA VARCHAR(5) NOT NULL UNIQUE,
        NMCIA VARCHAR(50) NOT NULL,
        FGLOGOCIA BYTEA))"_s,
    uR"(CREATE TABLE CIAFILI (
        CDFILIAL VARCHAR(4) NOT NULL REFERENCES FILIAL (CDFILIAL),
        CDCIA VARCHAR(4) NOT NULL REFERENCES COMPANHIA (CDCIA),
        PRIMARY KEY (CDFILIAL, CDCIA)))"_s,
    uR"(CREATE TABLE MANUALCIA (
        CDFILIAL VARCHAR(4) NOT NULL,
        CDCIA VARCHAR(4) NOT NULL,
        CDMANCIA VARCHAR(4) NOT NULL,
        DSMANUAL VARCHAR(30) NOT NULL,
        IDTPMANUAL VARCHAR(1) NOT NULL,
        PRIMARY KEY (CDFILIAL, CDCIA, CDMANCIA),
        FOREIGN KEY (CDFILIAL, CDCIA) REFERENCES CIAFILI (CDFILIAL, CDCIA)))"_s,
    uR"(CREATE TABLE PARAMFILIAL (
        CDFILIAL VARCHAR(4) NOT NULL PRIMARY KEY REFERENCES FILIAL (CDFILIAL),
        CDTIPODOCU VARCHAR(3) NOT NULL))"_s,
    uR"(CREATE TABLE CLASSE (
        CDCLASSE VARCHAR(4) NOT NULL PRIMARY KEY,
        SGCLASSE VARCHAR(5) NOT NULL,
        DSCLASSE VARCHAR(30)))"_s,
    uR"(CREATE TABLE CICLO (
        CDCICLO VARCHAR(4) NOT NULL PRIMARY KEY,
        IDCICLO VARCHAR(10) NOT NULL,
        DSCICLO VARCHAR(30)))"_s,
    uR"(CREATE TABLE SERVICO (
        CDSERVICO VARCHAR(10) NOT NULL PRIMARY KEY,
        CDARVSERV VARCHAR(18) NOT NULL UNIQUE,
        DSSERVICO VARCHAR(35) NOT NULL))"_s,
    uR"(CREATE TABLE SERVMANUAL (
        CDFILIAL VARCHAR(4) NOT NULL,
        CDCIA VARCHAR(4) NOT NULL,
        CDMANCIA VARCHAR(4) NOT NULL,
        CDSERVICO VARCHAR(10) NOT NULL REFERENCES SERVICO (CDSERVICO),
        CDCLASSE VARCHAR(4) NOT NULL REFERENCES CLASSE (CDCLASSE),
        CDCICLO VARCHAR(4) NOT NULL REFERENCES CICLO (CDCICLO),
        PRIMARY KEY (CDFILIAL, CDCIA, CDMANCIA, CDSERVICO, CDCLASSE, CDCICLO),
        FOREIGN KEY (CDFILIAL, CDCIA, CDMANCIA) REFERENCES MANUALCIA (CDFILIAL, CDCIA, CDMANCIA)))"_s,
    uR"(CREATE TABLE CLASSIFICACAO (
        CDCLASSIFIC VARCHAR(4) NOT NULL PRIMARY KEY,
        NMCLASSIFICACAO VARCHAR(50) NOT NULL))"_s,
    uR"(CREATE TABLE PRODUTO (
        CDPRODUTO VARCHAR(10) NOT NULL PRIMARY KEY,
        CDARVPROD VARCHAR(20) NOT NULL UNIQUE,
        NMPRODUTO VARCHAR(50) NOT NULL,
        IDTPPRODUTO VARCHAR(1) NOT NULL CHECK (IDTPPRODUTO IN ('E', 'P', 'R')),
        NRNIVEL INTEGER NOT NULL CHECK (NRNIVEL > 0),
        SGUNIDADE VARCHAR(10),
        CDCLASSIFIC VARCHAR(4) REFERENCES CLASSIFICACAO (CDCLASSIFIC),
        IDPRODATIV VARCHAR(1) NOT NULL DEFAULT 'S'))"_s,
    uR"(CREATE TABLE EQUIPCIA (
        CDFILIAL VARCHAR(4) NOT NULL,
        CDCIA VARCHAR(4) NOT NULL,
        CDPRODUTO VARCHAR(10) NOT NULL REFERENCES PRODUTO (CDPRODUTO),
        PRIMARY KEY (CDFILIAL, CDCIA, CDPRODUTO),
        FOREIGN KEY (CDFILIAL, CDCIA) REFERENCES CIAFILI (CDFILIAL, CDCIA)))"_s,
    uR"(CREATE TABLE SUBGRUPO (
        CDSUBGRU VARCHAR(10) NOT NULL PRIMARY KEY,
        CDSUBARV VARCHAR(20) NOT NULL UNIQUE,
        DSSUBGRU VARCHAR(50) NOT NULL,
        DSSUBGRUPROD VARCHAR(50),
        CDTIPOCOMP VARCHAR(3)))"_s,
    uR"(CREATE TABLE SUBGRUSEMA (
        CDFILIAL VARCHAR(4) NOT NULL,
        CDCIA VARCHAR(4) NOT NULL,
        CDMANCIA VARCHAR(4) NOT NULL,
        CDSERVICO VARCHAR(10) NOT NULL,
        CDCLASSE VARCHAR(4) NOT NULL,
        CDCICLO VARCHAR(4) NOT NULL,
        CDSUBGRU VARCHAR(10) NOT NULL REFERENCES SUBGRUPO (CDSUBGRU),
        CDESPEPRODSG VARCHAR(10) NOT NULL UNIQUE,
        CDESPEPROD VARCHAR(10),
        NRORDSUMA VARCHAR(3),
        VRPELOADSUMA VARCHAR(20),
        DSSUBGRUPO VARCHAR(50),
        TXCOMSUMA VARCHAR(200),
        NMFOTOSUMA VARCHAR(30),
        DTAPRESUMA TIMESTAMP,
        DTEFETSUMA TIMESTAMP,
        DTREVISUMA TIMESTAMP,
        CDPRODUTOPRI VARCHAR(10) REFERENCES SUBGRUPO (CDSUBGRU),
        PRIMARY KEY (CDFILIAL, CDCIA, CDMANCIA, CDSERVICO, CDCLASSE, CDCICLO, CDSUBGRU),
        UNIQUE (CDSUBGRU, CDESPEPRODSG),
        FOREIGN KEY (CDFILIAL, CDCIA, CDMANCIA, CDSERVICO, CDCLASSE, CDCICLO)
            REFERENCES SERVMANUAL (CDFILIAL, CDCIA, CDMANCIA, CDSERVICO, CDCLASSE, CDCICLO)))"_s,
    uR"(CREATE TABLE FOTOSEMA (
        CDPRODUTO VARCHAR(10) NOT NULL,
        CDESPEPROD VARCHAR(10) NOT NULL,
        FGESPEPROD BYTEA,
        PRIMARY KEY (CDPRODUTO, CDESPEPROD),
        FOREIGN KEY (CDPRODUTO, CDESPEPROD) REFERENCES SUBGRUSEMA (CDSUBGRU, CDESPEPRODSG)))"_s,
    uR"(CREATE TABLE FOTOSUBMA (
        CDPRODUTO VARCHAR(10) NOT NULL,
        CDESPEPROD VARCHAR(10) NOT NULL,
        FGFOTOSUMA BYTEA,
        CDTIPODOCU VARCHAR(3),
        PRIMARY KEY (CDPRODUTO, CDESPEPROD),
        FOREIGN KEY (CDPRODUTO, CDESPEPROD) REFERENCES SUBGRUSEMA (CDSUBGRU, CDESPEPRODSG)))"_s,
    uR"(CREATE TABLE EQUISUBSEMA (
        CDESPEPROD VARCHAR(10) NOT NULL REFERENCES SUBGRUSEMA (CDESPEPRODSG),
        CDPRODEQUIP VARCHAR(10) NOT NULL REFERENCES PRODUTO (CDPRODUTO),
        QTEQUISUMA DOUBLE PRECISION NOT NULL,
        PRIMARY KEY (CDESPEPROD, CDPRODEQUIP)))"_s,
    uR"(CREATE TABLE PRODRECSEMA (
        CDESPEPROD VARCHAR(10) NOT NULL REFERENCES SUBGRUSEMA (CDESPEPRODSG),
        CDPRODINSUMO VARCHAR(10) NOT NULL REFERENCES PRODUTO (CDPRODUTO),
        NRORDEM VARCHAR(3),
        QUANTIDADE DOUBLE PRECISION NOT NULL,
        TXCOMENT VARCHAR(200),
        CDTIPOCOMP VARCHAR(3),
        PRIMARY KEY (CDESPEPROD, CDPRODINSUMO)))"_s,
    u"CREATE INDEX IXSUBGRUSEMA_CIA ON SUBGRUSEMA (CDCIA, CDMANCIA)"_s,
    u"CREATE INDEX IXEQUIPCIA_PRODUTO ON EQUIPCIA (CDPRODUTO)"_s,
};

// The history of changes: one batch per writing call, one entry per changed row with the row before
// and after, and each large value once per distinct content. Few indexes: each is one more page
// written by every recorded write (the row of an entry is found through its sub-group's index).
const QStringList version2 = {
    uR"(CREATE TABLE HISTLOTE (
        NRLOTE VARCHAR(36) NOT NULL PRIMARY KEY,
        DTLOTE TIMESTAMP NOT NULL,
        NMCHAVE VARCHAR(30) NOT NULL,
        NMUSUARIO VARCHAR(64),
        NMMETODO VARCHAR(40) NOT NULL,
        CDFILIAL VARCHAR(4),
        CDCIA VARCHAR(4),
        CDMANCIA VARCHAR(4),
        CDSERVICO VARCHAR(10),
        DSLOTE VARCHAR(200)))"_s,
    uR"(CREATE TABLE HISTALTERA (
        NRLOTE VARCHAR(36) NOT NULL,
        NRSEQ INTEGER NOT NULL,
        NMTABELA VARCHAR(30) NOT NULL,
        DSCHAVE VARCHAR(200) NOT NULL,
        IDTIPO VARCHAR(1) NOT NULL CHECK (IDTIPO IN ('I', 'U', 'D')),
        CDFILIAL VARCHAR(4),
        CDCIA VARCHAR(4),
        CDMANCIA VARCHAR(4),
        CDSERVICO VARCHAR(10),
        CDESPEPRODSG VARCHAR(10) NOT NULL,
        PKANTES BYTEA,
        PKDEPOIS BYTEA,
        CDCONTANTES VARCHAR(40),
        CDCONTDEPOIS VARCHAR(40),
        PRIMARY KEY (NRLOTE, NRSEQ)))"_s,
    uR"(CREATE TABLE HISTCONTEUDO (
        CDDIGEST VARCHAR(40) NOT NULL PRIMARY KEY,
        DTCONTEUDO TIMESTAMP NOT NULL,
        FGCONTEUDO BYTEA NOT NULL))"_s,
    u"CREATE INDEX IXHISTLOTE_DATA ON HISTLOTE (DTLOTE)"_s,
    u"CREATE INDEX IXHISTALTERA_SUBGRU ON HISTALTERA (CDESPEPRODSG)"_s,
    u"CREATE INDEX IXHISTALTERA_SERVICO ON HISTALTERA (CDFILIAL, CDCIA, CDMANCIA, CDSERVICO)"_s,
};

const QList<QStringList>& migrations()
{
    static const QList<QStringList> all = {version1, version2};
    return all;
}

// Asked of the database itself: a table list would name tables of other PostgreSQL schemas too.
bool hasVersionTable(const QSqlDatabase& db)
{
    QSqlQuery probe(db);
    return probe.exec(u"SELECT COUNT(*) FROM SCHEMAVERSAO"_s);
}

void createVersionTable(const QSqlDatabase& db)
{
    runSql(db, u"CREATE TABLE SCHEMAVERSAO (NRVERSAO INTEGER NOT NULL PRIMARY KEY, "
               "DTAPLICACAO VARCHAR(30) NOT NULL)"_s);
}

}  // namespace

int latestSchemaVersion()
{
    return int(migrations().size());
}

int schemaVersion(const QSqlDatabase& db)
{
    if (!hasVersionTable(db))
        return 0;
    QSqlQuery q = runSql(db, u"SELECT MAX(NRVERSAO) FROM SCHEMAVERSAO"_s);
    return q.next() && !q.value(0).isNull() ? q.value(0).toInt() : 0;
}

int migrate(const QSqlDatabase& db)
{
    int version = schemaVersion(db);
    for (int next = version + 1; next <= latestSchemaVersion(); ++next) {
        TransactionGuard transaction(db);
        if (next == 1)
            createVersionTable(db);
        for (const QString& statement : migrations()[next - 1])
            runSql(db, statement);
        runSql(db, u"INSERT INTO SCHEMAVERSAO (NRVERSAO, DTAPLICACAO) VALUES (?, ?)"_s,
               {next, QDateTime::currentDateTimeUtc().toString(Qt::ISODate)});
        transaction.commit();
        version = next;
    }
    return version;
}

int migrateDatabase(const DbConfig& config)
{
    static std::atomic<int> serial{0};
    const QString name = u"qmv-appserver-migration-%1"_s.arg(serial++);
    try {
        int version = 0;
        {
            QSqlDatabase db = openDatabase(config, name);
            version = migrate(db);
        }
        closeDatabase(name);
        return version;
    } catch (...) {
        closeDatabase(name);
        throw;
    }
}

}  // namespace qmv::appserver

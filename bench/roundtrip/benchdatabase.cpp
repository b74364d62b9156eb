#include "benchdatabase.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <numeric>
#include <stdexcept>

#include "appserver/database/schema.h"
#include "appserver/processsettings.h"
#include "appserver/methods/subgroupquery.h"

namespace qmv::bench {

namespace {

const QString kConnection = QStringLiteral("qmv-bench-seed");

void run(QSqlDatabase& db, const QString& sql, const QVariantList& params = {})
{
    QSqlQuery q(db);
    if (!q.prepare(sql))
        throw std::runtime_error(q.lastError().text().toStdString());
    for (const QVariant& p : params)
        q.addBindValue(p);
    if (!q.exec())
        throw std::runtime_error(q.lastError().text().toStdString());
}

QString serviceCode(int service)
{
    return QStringLiteral("000000100%1").arg(service);
}

void seedSelection(QSqlDatabase& db, int services)
{
    for (const char* sql : {
             "INSERT INTO FILIAL VALUES ('0001', 'Cozinha Central')",
             "INSERT INTO COMPANHIA (CDCIA, SGCIA, NMCIA) VALUES ('0001', 'AEREA', 'Linhas Aéreas Exemplo')",
             "INSERT INTO CIAFILI VALUES ('0001', '0001')",
             "INSERT INTO MANUALCIA VALUES ('0001', '0001', '0001', 'Manual de Bordo', 'M')",
             "INSERT INTO CLASSE VALUES ('0001', 'ECON', 'Econômica')",
             "INSERT INTO CICLO VALUES ('0001', 'Ciclo 1', NULL)"})
        run(db, QString::fromUtf8(sql));
    for (int n = 1; n <= services; ++n) {
        run(db, QStringLiteral("INSERT INTO SERVICO VALUES (?, ?, ?)"),
            {serviceCode(n), QStringLiteral("1.01.00%1").arg(n),
             n == 1 ? QStringLiteral("Almoço") : QStringLiteral("Serviço %1").arg(n)});
        run(db, QStringLiteral("INSERT INTO SERVMANUAL VALUES ('0001', '0001', '0001', ?, '0001', '0001')"),
            {serviceCode(n)});
    }
}

// Dates as the server stores them on SQLite (and as the demo holds them).
QString stored(const QDateTime& day)
{
    return QDateTime(day.date(), day.time(), Qt::UTC).toString(Qt::ISODateWithMs);
}

QString subGroupCode(int i)
{
    return QStringLiteral("B%1").arg(i, 4, 10, QLatin1Char('0'));
}

void seedSubGroupTable(QSqlDatabase& db, int count)
{
    for (int i = 1; i <= count; ++i) {
        const QString tree =
            QStringLiteral("3.%1.%2").arg(i / 100, 2, 10, QLatin1Char('0')).arg(i % 100, 3, 10, QLatin1Char('0'));
        run(db, QStringLiteral("INSERT INTO SUBGRUPO VALUES (?, ?, ?, ?, 'QTE')"),
            {subGroupCode(i), tree, QStringLiteral("Sub-grupo de montagem %1").arg(i),
             QStringLiteral("PRODUTO %1").arg(i)});
    }
}

// A sub-group belongs to one service (keyed by CDSUBGRU and CDESPEPRODSG): service n
// takes the codes from `first` on.
void seedSubGroups(QSqlDatabase& db, int service, int first, int count)
{
    const QDateTime day(QDate(2026, 3, 10), QTime(0, 0), Qt::UTC);
    for (int i = first; i < first + count; ++i) {
        run(db,
            QStringLiteral("INSERT INTO SUBGRUSEMA (CDFILIAL, CDCIA, CDMANCIA, CDSERVICO, CDCLASSE, CDCICLO, "
                           "CDSUBGRU, CDESPEPRODSG, NRORDSUMA, VRPELOADSUMA, DSSUBGRUPO, TXCOMSUMA, DTAPRESUMA, "
                           "DTEFETSUMA, DTREVISUMA) VALUES ('0001', '0001', '0001', ?, '0001', '0001', "
                           "?, ?, ?, ?, ?, ?, ?, ?, ?)"),
            {serviceCode(service), subGroupCode(i), QStringLiteral("E%1").arg(i, 4, 10, QLatin1Char('0')),
             QStringLiteral("%1").arg(i % 1000, 3, 10, QLatin1Char('0')), QString::number(i % 97 + 0.5),
             QStringLiteral("Descrição de impressão %1").arg(i),
             QStringLiteral("Observação da montagem do sub-grupo %1, com cuidado.").arg(i),
             stored(day), stored(day), stored(day.addDays(i % 30))});
    }
}

}  // namespace

BenchDatabase::BenchDatabase(const QList<int>& services, const QByteArray& photo)
{
    if (!dir_.isValid())
        throw std::runtime_error("no temporary directory");
    config_.driver = appserver::Driver::Sqlite;
    config_.sqliteFile = dir_.filePath(QStringLiteral("bench.sqlite"));
    appserver::migrateDatabase(config_);
    {
        QSqlDatabase db = appserver::openDatabase(config_, kConnection);
        db.transaction();
        seedSelection(db, int(services.size()));
        seedSubGroupTable(db, std::accumulate(services.begin(), services.end(), 0));
        for (int n = 1, first = 1; n <= services.size(); first += services[n - 1], ++n)
            seedSubGroups(db, n, first, services[n - 1]);
        run(db, QStringLiteral("INSERT INTO FOTOSEMA VALUES ('B0001', 'E0001', ?)"), {photo});
        db.commit();
    }
    appserver::closeDatabase(kConnection);
}

std::unique_ptr<appserver::AppServer> quietServer(const appserver::DbConfig& config)
{
    appserver::applyServingProcessSettings();  // as the server program does
    appserver::ServerOptions options;
    options.database = config;
    options.port = 0;
    options.threads = 2;
    options.log = [](const QString&) {};
    return std::make_unique<appserver::AppServer>(options);
}

QString subGroupQuery()
{
    return appserver::subGruSeMaQuery(QStringLiteral("2"), QStringLiteral("2"));
}

QByteArray benchPhoto(int seed)
{
    QByteArray bytes(kPhotoBytes, '\0');
    for (int i = 0; i < bytes.size(); ++i)
        bytes[i] = char((i * 31 + seed * 17 + i / 509) & 0xff);
    return bytes;
}

}  // namespace qmv::bench

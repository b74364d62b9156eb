// The schema: created and migrated by the server itself, recorded once, with its keys and
// constraints enforced, and answering the client's lookup SQL exactly as written.
#include "appserver/serverfixture.h"

#include "appserver/database/schema.h"
#include "appserver/database/sql.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <gtest/gtest.h>

namespace qmv::appserver::test {
namespace {

using namespace Qt::StringLiterals;

class Schema : public DriverTest {};

TEST_P(Schema, MigratesOnceAndRecordsTheVersion)
{
    EXPECT_EQ(schemaVersion(database_->db()), latestSchemaVersion());
    EXPECT_EQ(migrate(database_->db()), latestSchemaVersion());
    EXPECT_EQ(database_->scalar(u"SELECT COUNT(*) FROM SCHEMAVERSAO"_s).toInt(), latestSchemaVersion());
    EXPECT_EQ(database_->scalar(u"SELECT COUNT(*) FROM SUBGRUSEMA"_s).toInt(), 6);  // data kept
}

TEST_P(Schema, EnforcesKeysAndReferences)
{
    const QStringList refused = {
        u"INSERT INTO FILIAL VALUES ('0001', 'Repetida')"_s,
        u"INSERT INTO COMPANHIA (CDCIA, SGCIA, NMCIA) VALUES ('0009', 'CIA1', 'Sigla repetida')"_s,
        u"INSERT INTO MANUALCIA VALUES ('0002', '0002', '0001', 'Sem vínculo', 'M')"_s,
        u"INSERT INTO FOTOSEMA VALUES ('S9', 'E9', NULL)"_s,
        u"INSERT INTO EQUISUBSEMA VALUES ('E1', 'NADA', 1)"_s,
        u"INSERT INTO PRODUTO VALUES ('X1', '9.99.999', 'Tipo errado', 'Z', 3, NULL, NULL, 'S')"_s,
        u"INSERT INTO SUBGRUSEMA (CDFILIAL, CDCIA, CDMANCIA, CDSERVICO, CDCLASSE, CDCICLO, CDSUBGRU, CDESPEPRODSG) "
        "VALUES ('0001', '0001', '0001', '0000001002', '0001', '0002', 'S1', 'E1')"_s,  // espeProd reused
    };
    const QString before = database_->snapshot();
    for (const QString& sql : refused)
        EXPECT_THROW(database_->exec(sql), DatabaseError) << sql.toStdString();
    EXPECT_EQ(database_->snapshot(), before);
}

// The client's lookups run on the same database, with these texts, named parameters and all.
QList<QStringList> lookup(const QSqlDatabase& db, const QString& sql, const QList<std::pair<QString, QVariant>>& params)
{
    QSqlQuery q(db);
    EXPECT_TRUE(q.prepare(sql)) << q.lastError().text().toStdString();
    for (const auto& [name, value] : params)
        q.bindValue(name, value);
    EXPECT_TRUE(q.exec()) << q.lastError().text().toStdString();
    QList<QStringList> rows;
    while (q.next()) {
        QStringList row;
        for (int i = 0; i < q.record().count(); ++i)
            row << q.value(i).toString();
        rows << row;
    }
    return rows;
}

TEST_P(Schema, AnswersTheClientsLookupSqlAsWritten)
{
    const QString filial = u"SELECT CDFILIAL, NMFILIAL\nFROM FILIAL\n"
                           "WHERE ((CDFILIAL = :P_CDFILIAL) OR (:P_TCDFILIAL = 'T'))\nORDER BY CDFILIAL"_s;
    const QString companhia = u"SELECT CO.CDCIA, CO.SGCIA, CO.NMCIA\nFROM COMPANHIA CO, CIAFILI CF\n"
                              "WHERE (CO.CDCIA    = CF.CDCIA   ) AND\n      (CF.CDFILIAL = :P_CDFILIAL) AND\n"
                              "      ((SGCIA = :P_SGCIA) OR (:P_TSGCIA = 'T'))\nORDER BY SGCIA "_s;
    const QString manual = u"SELECT CDMANCIA,DSMANUAL\nFROM MANUALCIA\nWHERE (CDFILIAL   = :P_CDFILIAL) AND\n"
                           "      (CDCIA      = :P_CDCIA   ) AND\n      (IDTPMANUAL = 'M'       ) and\n"
                           "      ((CDMANCIA = :P_CDMANCIA) OR (:P_TCDMANCIA = 'T'))\nORDER BY CDMANCIA \n "_s;
    const QVariant none(QMetaType(QMetaType::QString));
    const QSqlDatabase db = database_->db();

    EXPECT_EQ(lookup(db, filial, {{u":P_CDFILIAL"_s, QString()}, {u":P_TCDFILIAL"_s, u"T"_s}}).size(), 2);
    EXPECT_EQ(lookup(db, filial, {{u":P_CDFILIAL"_s, u"0002"_s}, {u":P_TCDFILIAL"_s, QString()}}),
              (QList<QStringList>{{u"0002"_s, u"Filial Dois"_s}}));
    EXPECT_TRUE(lookup(db, filial, {{u":P_CDFILIAL"_s, u"0003"_s}, {u":P_TCDFILIAL"_s, none}}).isEmpty());

    EXPECT_EQ(lookup(db, companhia, {{u":P_CDFILIAL"_s, u"0001"_s}, {u":P_SGCIA"_s, QString()}, {u":P_TSGCIA"_s, u"T"_s}}),
              (QList<QStringList>{{u"0001"_s, u"CIA1"_s, u"Companhia Um"_s}, {u"0002"_s, u"CIA2"_s, u"Companhia Dois"_s}}));
    EXPECT_EQ(lookup(db, companhia, {{u":P_CDFILIAL"_s, u"0002"_s}, {u":P_SGCIA"_s, u"CIA2"_s}, {u":P_TSGCIA"_s, QString()}})
                  .size(),
              0);  // CIA2 does not serve branch 0002

    const auto manuals = lookup(db, manual, {{u":P_CDFILIAL"_s, u"0001"_s}, {u":P_CDCIA"_s, u"0001"_s},
                                             {u":P_CDMANCIA"_s, none}, {u":P_TCDMANCIA"_s, u"T"_s}});
    EXPECT_EQ(manuals, (QList<QStringList>{{u"0001"_s, u"Manual A"_s}, {u"0002"_s, u"Manual B"_s}}));  // not type C
    EXPECT_EQ(lookup(db, manual, {{u":P_CDFILIAL"_s, u"0001"_s}, {u":P_CDCIA"_s, u"0001"_s},
                                  {u":P_CDMANCIA"_s, u"0002"_s}, {u":P_TCDMANCIA"_s, none}})
                  .size(),
              1);
}

QMV_DRIVERS(Schema);

}  // namespace
}  // namespace qmv::appserver::test

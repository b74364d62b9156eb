// The lookup SQL on a real database, SQLite always and PostgreSQL when QMV_TEST_PG is set:
// list and exact lookup through the wildcard parameters, nulls, column matching, read-only.
#include <QSqlError>
#include <QSqlQuery>
#include <gtest/gtest.h>

#include "host/hostconfig.h"
#include "lookup/dtmdbgeral.h"
#include "lookup/lookupdb.h"
#include "lookup/lookupsql.h"
#include "lookup/sqlpacket.h"

namespace qmv {
namespace {

QStringList column(const DataPacket& p, const QString& field)
{
    QStringList out;
    const int i = p.indexOf(field);
    for (const Row& r : p.rows)
        out << (r[i].isNull() ? QStringLiteral("<null>") : r[i].toString());
    return out;
}

class LookupSql : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override
    {
        db_ = std::make_unique<test::LookupDb>(QString::fromLatin1(GetParam()));
        if (!db_->available())
            GTEST_SKIP() << "no " << GetParam() << " database offered";
        module_ = std::make_unique<dtmDBGeral>(db_->driver(), db_->name());
    }

    DataPacket run(const QStringList& sql, const QList<FieldDef>& fields,
                   const std::function<void(QueryParams&)>& set)
    {
        const QString text = sql.join(QLatin1Char('\n'));
        QueryParams params(text);
        set(params);
        return fetchPacket(module_->adcGeral(), text, params, fields);
    }

    std::unique_ptr<test::LookupDb> db_;
    std::unique_ptr<dtmDBGeral> module_;
};

TEST_P(LookupSql, BranchListGivesEveryBranchInCodeOrderWithANullOrEmptyValue)
{
    for (bool nullValue : {true, false}) {
        const DataPacket p = run(qryFilialSql(), qryFilialFields(), [&](QueryParams& q) {
            if (nullValue)
                q.byName("P_CDFILIAL").clear();
            else
                q.byName("P_CDFILIAL").setAsString("");
            q.byName("P_TCDFILIAL").setAsString("T");
        });
        EXPECT_EQ(column(p, "CDFILIAL"), QStringList({"0001", "0002", "0003"}));
        EXPECT_EQ(column(p, "NMFILIAL").first(), "Cozinha Guarulhos");
    }
}

TEST_P(LookupSql, BranchExactLookupFindsOneOrNone)
{
    auto lookup = [&](const QString& code, bool nullFlag) {
        return run(qryFilialSql(), qryFilialFields(), [&](QueryParams& q) {
            q.byName("P_CDFILIAL").setAsString(code);
            if (nullFlag)
                q.byName("P_TCDFILIAL").clear();
            else
                q.byName("P_TCDFILIAL").setAsString("");
        });
    };
    EXPECT_EQ(column(lookup("0002", true), "NMFILIAL"), QStringList({"Cozinha Galeão"}));
    EXPECT_EQ(column(lookup("0002", false), "NMFILIAL"), QStringList({"Cozinha Galeão"}));
    EXPECT_TRUE(lookup("2", true).rows.isEmpty());
    EXPECT_TRUE(lookup("9999", false).rows.isEmpty());
}

TEST_P(LookupSql, CompanyListShowsOnlyTheBranchsCompaniesByAbbreviation)
{
    auto list = [&](const QString& branch) {
        return run(qryCompanhiaSql(), qryCompanhiaFields(), [&](QueryParams& q) {
            q.byName("P_CDFILIAL").setAsString(branch);
            q.byName("P_TSGCIA").setAsString("T");
            q.byName("P_SGCIA").setAsString("");
        });
    };
    const DataPacket p = list("0001");
    EXPECT_EQ(column(p, "SGCIA"), QStringList({"AIR", "BUS"}));
    EXPECT_EQ(column(p, "CDCIA"), QStringList({"0010", "0020"}));
    EXPECT_EQ(column(p, "NMCIA"), QStringList({"Linhas Aéreas do Sul", "Viação Rodoviária"}));
    EXPECT_EQ(column(list("0002"), "SGCIA"), QStringList({"AIR"}));
    EXPECT_TRUE(list("0003").rows.isEmpty());
}

TEST_P(LookupSql, CompanyExactLookupRespectsTheBranch)
{
    auto find = [&](const QString& branch, const QString& abbreviation) {
        return run(qryCompanhiaSql(), qryCompanhiaFields(), [&](QueryParams& q) {
            q.byName("P_CDFILIAL").setAsString(branch);
            q.byName("P_SGCIA").setAsString(abbreviation);
            q.byName("P_TSGCIA").setAsString("");
        });
    };
    EXPECT_EQ(column(find("0001", "BUS"), "CDCIA"), QStringList({"0020"}));
    EXPECT_TRUE(find("0002", "BUS").rows.isEmpty());
    EXPECT_TRUE(find("0001", "CRUZ").rows.isEmpty());
    EXPECT_TRUE(find("0001", "bus").rows.isEmpty());
}

TEST_P(LookupSql, ManualListKeepsTypeMOfTheCompanyAtTheBranch)
{
    for (const QStringList& sql : {qryManualCiaSql(), qryManualCiaImportSql()}) {
        const DataPacket p = run(sql, qryManualCiaFields(), [](QueryParams& q) {
            q.byName("P_CDFILIAL").setAsString("0001");
            q.byName("P_CDCIA").setAsString("0010");
            q.byName("P_CDMANCIA").clear();
            q.byName("P_TCDMANCIA").setAsString("T");
        });
        EXPECT_EQ(column(p, "CDMANCIA"), QStringList({"0001", "0002"}));
        EXPECT_EQ(column(p, "DSMANUAL"), QStringList({"Manual de Bordo", "Manual de Bordo Verão"}));
    }
}

TEST_P(LookupSql, ManualExactLookupIgnoresOtherTypesAndCompanies)
{
    auto find = [&](const QString& cia, const QString& code) {
        return run(qryManualCiaSql(), qryManualCiaFields(), [&](QueryParams& q) {
            q.byName("P_CDFILIAL").setAsString("0001");
            q.byName("P_CDCIA").setAsString(cia);
            q.byName("P_CDMANCIA").setAsString(code);
            q.byName("P_TCDMANCIA").clear();
        });
    };
    EXPECT_EQ(column(find("0020", "0001"), "DSMANUAL"), QStringList({"Manual Rodoviário"}));
    EXPECT_TRUE(find("0010", "0003").rows.isEmpty());  // a price table, not a manual
    EXPECT_TRUE(find("0020", "0002").rows.isEmpty());
}

TEST_P(LookupSql, ManualListWithoutACompanyIsEmpty)
{
    const DataPacket p = run(qryManualCiaSql(), qryManualCiaFields(), [](QueryParams& q) {
        q.byName("P_CDFILIAL").setAsString("0001");
        q.byName("P_CDMANCIA").clear();
        q.byName("P_TCDMANCIA").setAsString("T");
    });
    EXPECT_TRUE(p.rows.isEmpty());
}

TEST_P(LookupSql, AParameterValueIsNeverReadAsSql)
{
    const DataPacket p = run(qryFilialSql(), qryFilialFields(), [](QueryParams& q) {
        q.byName("P_CDFILIAL").setAsString("x') OR ('1' = '1");
        q.byName("P_TCDFILIAL").clear();
    });
    EXPECT_TRUE(p.rows.isEmpty());
}

TEST_P(LookupSql, TheConnectionRefusesWrites)
{
    QSqlQuery q(module_->adcGeral());
    EXPECT_FALSE(q.exec("DELETE FROM FILIAL"));
    const DataPacket p = run(qryFilialSql(), qryFilialFields(), [](QueryParams& q) {
        q.byName("P_TCDFILIAL").setAsString("T");
    });
    EXPECT_EQ(p.rows.size(), 3);
}

TEST_P(LookupSql, AMissingTableIsReportedAsAQueryError)
{
    db_->exec("DROP TABLE MANUALCIA");
    EXPECT_THROW(run(qryManualCiaSql(), qryManualCiaFields(), [](QueryParams&) {}), QueryError);
}

TEST_P(LookupSql, ADeclaredColumnMissingFromTheResultIsAnError)
{
    QList<FieldDef> fields = qryFilialFields();
    fields[1].name = "DSFILIAL";
    EXPECT_THROW(run(qryFilialSql(), fields, [](QueryParams&) {}), QueryError);
}

INSTANTIATE_TEST_SUITE_P(Drivers, LookupSql, ::testing::Values("QSQLITE", "QPSQL"));

TEST(QueryParams, NamesComeInOrderOnceAndSkipQuotedTextAndCasts)
{
    EXPECT_EQ(parameterNames("WHERE ((A = :P_A) OR (:P_TA = 'T')) AND B = ':P_NOT' AND "
                             "C::text = :P_A AND D = :p_d"),
              QStringList({"P_A", "P_TA", "p_d"}));
}

TEST(QueryParams, AnUnknownNameIsRefusedAndAFreshParameterIsNull)
{
    QueryParams params(qryFilialSql().join('\n'));
    EXPECT_THROW(params.byName("P_CDFILAIL"), QueryError);
    QueryParam& p = params.byName("p_cdfilial");
    EXPECT_TRUE(p.isNull());
    EXPECT_TRUE(p.bindValue().isNull());
    EXPECT_EQ(p.bindValue().metaType(), QMetaType::fromType<QString>());
    p.setAsString("");
    EXPECT_FALSE(p.isNull());
    EXPECT_FALSE(p.bindValue().isNull());
    p.clear();
    EXPECT_TRUE(p.isNull());
}

TEST(DtmDBGeral, AMissingSqliteFileIsAnErrorAndIsNotCreated)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("nada.db");
    dtmDBGeral module("QSQLITE", path);
    EXPECT_THROW(module.adcGeral(), DatabaseError);
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_FALSE(module.connected());
}

TEST(DtmDBGeral, TwoModulesGetTheirOwnConnections)
{
    test::LookupDb db("QSQLITE");
    dtmDBGeral a(db.driver(), db.name());
    dtmDBGeral b(db.driver(), db.name());
    EXPECT_EQ(a.connectionName(), "adcGeral");
    EXPECT_NE(a.connectionName(), b.connectionName());
    a.adcGeral();
    EXPECT_TRUE(a.connected());
    EXPECT_FALSE(b.connected());
    a.disconnect();
    EXPECT_FALSE(a.connected());
}

}  // namespace
}  // namespace qmv

namespace qmv {
namespace {

TEST(DtmDBGeral, TheSharedModuleFollowsTheHostsDatabase)
{
    const HostConfig saved = hostConfig();
    test::LookupDb first("QSQLITE");
    test::LookupDb second("QSQLITE");
    second.exec("UPDATE FILIAL SET NMFILIAL = 'Outra' WHERE CDFILIAL = '0001'");
    auto nameOf0001 = [](dtmDBGeral& module) {
        QueryParams params(qryFilialSql().join('\n'));
        params.byName("P_CDFILIAL").setAsString("0001");
        return fetchPacket(module.adcGeral(), qryFilialSql().join('\n'), params, qryFilialFields())
            .rows.value(0).value(1).toString();
    };
    HostConfig config = saved;
    config.dbDriver = "QSQLITE";
    config.dbName = first.name();
    setHostConfig(config);
    dtmDBGeral& module = dtmDBGeral::shared();
    EXPECT_EQ(nameOf0001(module), "Cozinha Guarulhos");
    config.dbName = second.name();
    setHostConfig(config);
    EXPECT_EQ(&dtmDBGeral::shared(), &module);
    EXPECT_EQ(nameOf0001(module), "Outra");
    setHostConfig(saved);
    dtmDBGeral::shared();  // back on the saved configuration, closed
    EXPECT_FALSE(module.connected());
}

}  // namespace
}  // namespace qmv

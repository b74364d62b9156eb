// TADOIBQuery over the shared database: the named lookups as datasets, reopening with new
// parameters, read-only rows, failures leaving it closed.
#include <gtest/gtest.h>

#include "lookup/lookupdb.h"
#include "lookup/lookupqueries.h"
#include "platform/datasource.h"

namespace qmv {
namespace {

class Query : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(db_.available()); }
    test::LookupDb db_{"QSQLITE"};
    dtmDBGeral module_{db_.driver(), db_.name()};
};

QStringList values(TADOIBQuery& q, const QString& field)
{
    QStringList out;
    for (q.first(); !q.eof(); q.next())
        out << q.FieldByName(field).asString();
    return out;
}

TEST_F(Query, OpenReplacesTheRowsWithThoseOfTheCurrentParameters)
{
    auto cia = makeQryCompanhia(module_);
    cia->ParamByName("P_CDFILIAL").setAsString("0001");
    cia->ParamByName("P_TSGCIA").setAsString("T");
    cia->Open();
    EXPECT_TRUE(cia->Active());
    EXPECT_EQ(values(*cia, "SGCIA"), QStringList({"AIR", "BUS"}));
    cia->first();
    EXPECT_EQ(cia->FieldByName("CDCIA").asString(), "0010");

    cia->Close();
    cia->ParamByName("P_CDFILIAL").setAsString("0002");
    cia->Open();
    EXPECT_EQ(values(*cia, "SGCIA"), QStringList({"AIR"}));

    cia->ParamByName("P_CDFILIAL").setAsString("0003");
    cia->Open();  // reopening an open query runs it again
    EXPECT_TRUE(cia->IsEmpty());
    EXPECT_TRUE(cia->Active());
}

TEST_F(Query, ADataSourceSeesTheRowsAndTheirState)
{
    auto filial = makeQryFilial(module_);
    DataSource source;
    source.setDataSet(filial.get());
    EXPECT_EQ(source.state(), DataSetState::Inactive);
    filial->ParamByName("P_TCDFILIAL").setAsString("T");
    filial->Open();
    EXPECT_EQ(source.state(), DataSetState::Browse);
    EXPECT_EQ(filial->recordCount(), 3);
    filial->Close();
    EXPECT_EQ(source.state(), DataSetState::Inactive);
    EXPECT_TRUE(filial->IsEmpty());
}

TEST_F(Query, RowsCannotBeEditedInsertedOrDeleted)
{
    auto filial = makeQryFilial(module_);
    filial->ParamByName("P_TCDFILIAL").setAsString("T");
    filial->Open();
    EXPECT_ANY_THROW(filial->edit());
    EXPECT_ANY_THROW(filial->insert());
    EXPECT_ANY_THROW(filial->remove());
    EXPECT_EQ(filial->state(), DataSetState::Browse);
    EXPECT_EQ(filial->recordCount(), 3);
    EXPECT_EQ(filial->changeCount(), 0);
}

TEST_F(Query, AFailedOpenLeavesTheQueryClosedAndThrows)
{
    auto manual = makeQryManualCia(module_);
    manual->ParamByName("P_TCDMANCIA").setAsString("T");
    manual->ParamByName("P_CDFILIAL").setAsString("0001");
    manual->ParamByName("P_CDCIA").setAsString("0010");
    manual->Open();
    ASSERT_EQ(manual->recordCount(), 2);
    db_.exec("DROP TABLE MANUALCIA");
    EXPECT_THROW(manual->Open(), QueryError);
    EXPECT_FALSE(manual->Active());
}

TEST_F(Query, AnUnreachableDatabaseIsADatabaseError)
{
    dtmDBGeral nowhere("QSQLITE", db_.name() + ".missing");
    auto filial = makeQryFilial(nowhere);
    EXPECT_THROW(filial->Open(), DatabaseError);
    EXPECT_FALSE(filial->Active());
}

TEST_F(Query, ParametersKeepTheirValuesAcrossCloseAndOpen)
{
    auto manual = makeQryManualCia(module_);
    manual->ParamByName("P_CDCIA").setAsString("0020");
    manual->Close();
    manual->ParamByName("P_CDFILIAL").setAsString("0001");
    manual->ParamByName("P_CDMANCIA").setAsString("0001");
    manual->Open();
    EXPECT_EQ(values(*manual, "DSMANUAL"), QStringList({"Manual Rodoviário"}));
    EXPECT_THROW(manual->ParamByName("P_SGCIA"), QueryError);
}

}  // namespace
}  // namespace qmv

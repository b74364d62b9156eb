// The lookups on the application server's own schema and demo database, read through the
// read-only data module after the server has closed its write-ahead-logged file.
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "appserver/demo/demodata.h"
#include "lookup/lookupqueries.h"

namespace qmv {
namespace {

class DemoDatabase : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        dir_ = new QTemporaryDir;
        appserver::DbConfig config;
        config.sqliteFile = dir_->filePath("demo.db");
        appserver::createDemoDatabase(config);
    }
    static void TearDownTestSuite()
    {
        delete dir_;
        dir_ = nullptr;
    }

    static QTemporaryDir* dir_;
    dtmDBGeral module_{"QSQLITE", dir_->filePath("demo.db")};
};

QTemporaryDir* DemoDatabase::dir_ = nullptr;

TEST_F(DemoDatabase, BranchesListAndLookUp)
{
    auto q = makeQryFilial(module_);
    q->ParamByName("P_TCDFILIAL").setAsString("T");
    q->Open();
    EXPECT_EQ(q->recordCount(), 3);
    EXPECT_EQ(q->FieldByName("CDFILIAL").asString(), "0001");
    q->ParamByName("P_TCDFILIAL").clear();
    q->ParamByName("P_CDFILIAL").setAsString("0001");
    q->Open();
    EXPECT_EQ(q->recordCount(), 1);
    EXPECT_EQ(q->FieldByName("NMFILIAL").asString(), "Cozinha Central Guarulhos");
}

TEST_F(DemoDatabase, CompaniesOfABranchAndTheirManuals)
{
    auto cia = makeQryCompanhia(module_);
    cia->ParamByName("P_CDFILIAL").setAsString("0001");
    cia->ParamByName("P_TSGCIA").setAsString("T");
    cia->Open();
    ASSERT_EQ(cia->recordCount(), 4);
    ASSERT_TRUE(cia->locate("SGCIA", {"CAZUL"}));
    const QString cdcia = cia->FieldByName("CDCIA").asString();
    EXPECT_EQ(cdcia, "0001");

    auto manual = makeQryManualCia(module_);
    manual->ParamByName("P_CDFILIAL").setAsString("0001");
    manual->ParamByName("P_CDCIA").setAsString(cdcia);
    manual->ParamByName("P_TCDMANCIA").setAsString("T");
    manual->Open();
    EXPECT_GT(manual->recordCount(), 0);
    for (manual->first(); !manual->eof(); manual->next())
        EXPECT_NE(manual->FieldByName("CDMANCIA").asString(), "0099");  // not of type 'M'
}

}  // namespace
}  // namespace qmv

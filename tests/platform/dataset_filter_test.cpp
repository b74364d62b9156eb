// Filters, locate and the disabling of bound controls.
#include "datasetfixture.h"
#include "platform/filterexpr.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

namespace qmv {
namespace {

using test::column;



class Filter : public ::testing::Test {
protected:
    void SetUp() override
    {
        ds.addField(test::def("IDCHECK", FieldKind::FixedText, 1));
        ds.addField(test::def("CDPRODUTO", FieldKind::Text, 10));
        ds.addField(test::def("QTEQUIP", FieldKind::Float));
        DataPacket packet;
        packet.fields = {test::def("IDCHECK", FieldKind::FixedText, 1), test::def("CDPRODUTO", FieldKind::Text, 10),
                         test::def("QTEQUIP", FieldKind::Float)};
        packet.rows = {Row{QString("N"), QString("P1"), 1.0}, Row{QString("S"), QString("P2"), 2.0},
                       Row{QString("N"), QString("P3"), 3.0}, Row{QString("S"), QString("O'B"), 4.0}};
        ds.loadPacket(packet);
        ds.afterScroll = [this](DataSet&) { ++scrolls; };
    }
    DataSet ds;
    int scrolls = 0;
};

TEST_F(Filter, OnShowsOnlyMatchingRowsFromTheFirstAndOffShowsAllAgain)
{
    ds.last();
    ds.setFilter("(IDCHECK = 'S')");
    EXPECT_EQ(ds.rowCount(), 4) << "a filter waits until it is switched on";
    ds.setFiltered(true);
    EXPECT_EQ(column(ds, "CDPRODUTO"), QStringList({"P2", "O'B"}));
    EXPECT_EQ(ds.recNo(), 1);
    EXPECT_EQ(ds.fieldByName("CDPRODUTO").asString(), "P2");
    ds.setFiltered(false);
    EXPECT_EQ(ds.recordCount(), 4);
}

TEST_F(Filter, CombinesTermsWithAndOrAndParentheses)
{
    ds.setFiltered(true);
    ds.setFilter("(IDCHECK = 'S') AND (QTEQUIP > 2)");
    EXPECT_EQ(column(ds, "CDPRODUTO"), QStringList({"O'B"}));
    ds.setFilter("(CDPRODUTO = 'P1') or (CDPRODUTO = 'O''B')");
    EXPECT_EQ(column(ds, "CDPRODUTO"), QStringList({"P1", "O'B"}));
    ds.setFilter("NOT (IDCHECK = 'S') AND ((QTEQUIP <= 1) OR (QTEQUIP >= 3))");
    EXPECT_EQ(column(ds, "CDPRODUTO"), QStringList({"P1", "P3"}));
    ds.setFilter("IDCHECK <> 'N'");
    EXPECT_EQ(column(ds, "CDPRODUTO"), QStringList({"P2", "O'B"}));
}

TEST_F(Filter, AMalformedExpressionIsRefusedAndTheOldOneStays)
{
    ds.setFilter("(IDCHECK = 'S')");
    ds.setFiltered(true);
    for (const char* bad : {"(IDCHECK = 'S'", "(NOPE = 'S')", "(IDCHECK = S)", "(IDCHECK = 'S') AND", "IDCHECK >> 1",
                            "(IDCHECK = 'S)"})
        EXPECT_THROW(ds.setFilter(bad), DataSetError) << bad;
    EXPECT_EQ(ds.filter(), "(IDCHECK = 'S')");
    EXPECT_EQ(ds.rowCount(), 2);
}

TEST_F(Filter, ARowEditedOutOfTheFilterLeavesTheView)
{
    ds.setFilter("(IDCHECK = 'S')");
    ds.setFiltered(true);
    ds.edit();
    ds.fieldByName("IDCHECK").setAsString("N");
    ds.post();
    EXPECT_EQ(column(ds, "CDPRODUTO"), QStringList({"O'B"}));
    ds.setFiltered(false);
    EXPECT_EQ(ds.changeCount(), 1);
}

TEST_F(Filter, LocateFindsByOneOrSeveralKeysAndMovesOnlyWhenFound)
{
    EXPECT_TRUE(ds.locate("CDPRODUTO", {"P3"}));
    EXPECT_EQ(ds.recNo(), 3);
    EXPECT_TRUE(ds.locate("IDCHECK;QTEQUIP", {"S", 4}));
    EXPECT_EQ(ds.recNo(), 4);
    EXPECT_FALSE(ds.locate("CDPRODUTO", {"P9"}));
    EXPECT_EQ(ds.recNo(), 4);
    EXPECT_FALSE(ds.locate("CDPRODUTO", {"p1"}));
    EXPECT_TRUE(ds.locate("CDPRODUTO", {"p1"}, LocateOption::CaseInsensitive));
    EXPECT_TRUE(ds.locate("CDPRODUTO", {"O"}, LocateOption::PartialKey));
    EXPECT_EQ(ds.recNo(), 4);
    EXPECT_THROW(ds.locate("CDPRODUTO;IDCHECK", {"P1"}), DataSetError);
    EXPECT_THROW(ds.locate("NOPE", {"P1"}), DataSetError);
}

TEST_F(Filter, LocateSearchesOnlyTheRowsTheFilterLetsThrough)
{
    ds.setFilter("(IDCHECK = 'S')");
    ds.setFiltered(true);
    EXPECT_FALSE(ds.locate("CDPRODUTO", {"P1"}));
    EXPECT_TRUE(ds.locate("CDPRODUTO", {"O'B"}));
    EXPECT_EQ(ds.recNo(), 2);
}

TEST(FilterExpression, NullComparesAsEmptyText)
{
    const auto resolve = [](const QString& name) { return name == "A" ? 0 : -1; };
    const FilterExpr expr = FilterExpr::parse("(A = '')", resolve);
    EXPECT_TRUE(expr.matches(Row{QVariant()}));
    EXPECT_FALSE(expr.matches(Row{QString("x")}));
    EXPECT_TRUE(FilterExpr::parse("", resolve).matches(Row{QString("x")}));
}

class Controls : public Filter {};

TEST_F(Controls, WhileDisabledBoundControlsHearNothingAndEnablingTellsThemOnce)
{
    QSignalSpy resets(&ds, &DataSet::rowsReset);
    QSignalSpy moves(&ds, &DataSet::currentRowChanged);
    QSignalSpy states(&ds, &DataSet::stateChanged);
    ds.disableControls();
    ds.disableControls();
    while (!ds.eof()) {
        ds.edit();
        ds.fieldByName("IDCHECK").setAsString("S");
        ds.post();
        ds.next();
    }
    ds.enableControls();
    EXPECT_TRUE(ds.controlsDisabled());
    EXPECT_EQ(resets.count() + moves.count() + states.count(), 0);
    EXPECT_EQ(scrolls, 3) << "events still run";
    ds.enableControls();
    EXPECT_FALSE(ds.controlsDisabled());
    EXPECT_EQ(resets.count(), 1);
    EXPECT_EQ(moves.count(), 1);
    EXPECT_EQ(states.count(), 0) << "the state is the one they last heard";
}

TEST_F(Controls, EnablingReportsAStateChangedWhileDisabled)
{
    QSignalSpy states(&ds, &DataSet::stateChanged);
    ds.disableControls();
    ds.edit();
    ds.enableControls();
    ASSERT_EQ(states.count(), 1);
    EXPECT_EQ(states[0][0].value<DataSetState>(), DataSetState::Edit);
}

}  // namespace
}  // namespace qmv

namespace qmv {
namespace {

using test::column;

TEST(FilterOnLoad, AFilterNamingAMissingFieldFailsTheLoadWithoutHalfLoading)
{
    DataSet ds;
    ds.setFilter("(DSEXTRA = 'x')");
    ds.setFiltered(true);
    DataPacket packet = test::subGroups();
    EXPECT_THROW(ds.loadPacket(packet), DataSetError);
    EXPECT_FALSE(ds.isActive());
    EXPECT_EQ(ds.fieldCount(), 0);
    packet.fields.append(test::def("DSEXTRA", FieldKind::Text, 5));
    for (int i = 0; i < packet.rows.size(); ++i)
        packet.rows[i].append(i == 1 ? QString("x") : QString("y"));
    ds.loadPacket(packet);
    EXPECT_EQ(column(ds, "CDSUBGRU"), QStringList({"0002"}));
}

}  // namespace
}  // namespace qmv

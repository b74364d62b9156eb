// States, events and the end/beginning marks of the in-memory dataset.
#include "datasetfixture.h"
#include "host/abort.h"

#include <gtest/gtest.h>

namespace qmv {
namespace {

using test::column;

class DataSetStates : public ::testing::Test {
protected:
    void SetUp() override
    {
        test::declare(ds, log);
        ds.loadPacket(test::subGroups());
        log.clear();
    }
    DataSet ds;
    QStringList log;
};

TEST_F(DataSetStates, LoadingOpensOnTheFirstRowAndRunsOpenThenScroll)
{
    DataSet fresh;
    QStringList events;
    test::declare(fresh, events);
    EXPECT_EQ(fresh.state(), DataSetState::Inactive);
    fresh.loadPacket(test::subGroups());
    EXPECT_EQ(fresh.state(), DataSetState::Browse);
    EXPECT_EQ(fresh.recNo(), 1);
    EXPECT_EQ(fresh.recordCount(), 3);
    EXPECT_EQ(events, QStringList({"beforeOpen", "afterOpen", "afterScroll"}));
}

TEST_F(DataSetStates, LoadingAnEmptyPacketRunsNoScroll)
{
    DataPacket empty = test::subGroups();
    empty.rows.clear();
    ds.loadPacket(empty);
    EXPECT_TRUE(ds.isEmpty());
    EXPECT_EQ(ds.recNo(), 0);
    EXPECT_EQ(log, QStringList({"beforeOpen", "afterOpen"}));
}

TEST_F(DataSetStates, EditPostReturnsToBrowse)
{
    ds.edit();
    EXPECT_EQ(ds.state(), DataSetState::Edit);
    ds.fieldByName("NRORDSUMA").setAsString("9");
    ds.post();
    EXPECT_EQ(ds.state(), DataSetState::Browse);
    EXPECT_EQ(ds.fieldByName("NRORDSUMA").asString(), "9");
    EXPECT_EQ(log, QStringList({"beforePost", "afterPost"}));
}

TEST_F(DataSetStates, CancelRestoresTheRowBeingEdited)
{
    ds.edit();
    ds.fieldByName("NRORDSUMA").setAsString("9");
    ds.cancel();
    EXPECT_EQ(ds.state(), DataSetState::Browse);
    EXPECT_EQ(ds.fieldByName("NRORDSUMA").asString(), "1");
    EXPECT_EQ(ds.changeCount(), 0);
}

TEST_F(DataSetStates, EditOfAnEmptyDatasetStartsAnInsert)
{
    DataPacket empty = test::subGroups();
    empty.rows.clear();
    ds.loadPacket(empty);
    log.clear();
    ds.edit();
    EXPECT_EQ(ds.state(), DataSetState::Insert);
    EXPECT_EQ(log, QStringList({"beforeInsert", "beforeScroll", "afterInsert", "afterScroll"}));
}

TEST_F(DataSetStates, ABeforeInsertThatAbortsAddsNoRowEvenFromEdit)
{
    ds.beforeInsert = [](DataSet&) { throw Abort(); };
    EXPECT_THROW(ds.append(), Abort);
    EXPECT_EQ(ds.state(), DataSetState::Browse);
    EXPECT_EQ(ds.rowCount(), 3);
    DataPacket empty = test::subGroups();
    empty.rows.clear();
    ds.loadPacket(empty);
    EXPECT_THROW(ds.edit(), Abort);
    EXPECT_EQ(ds.state(), DataSetState::Browse);
    EXPECT_EQ(ds.rowCount(), 0);
}

TEST_F(DataSetStates, ABeforePostThatAbortsKeepsTheRowInEdit)
{
    ds.beforePost = [](DataSet&) { throw Abort(); };
    ds.edit();
    ds.fieldByName("NRORDSUMA").setAsString("9");
    EXPECT_THROW(ds.post(), Abort);
    EXPECT_EQ(ds.state(), DataSetState::Edit);
    EXPECT_EQ(ds.fieldByName("NRORDSUMA").asString(), "9");
    EXPECT_EQ(ds.changeCount(), 0);
}

TEST_F(DataSetStates, InsertPlacesTheRowBeforeTheCurrentAndAppendAtTheEnd)
{
    ds.next();
    ds.insert();
    EXPECT_EQ(ds.recNo(), 2);
    ds.fieldByName("CDSUBGRU").setAsString("0009");
    ds.post();
    ds.append();
    ds.fieldByName("CDSUBGRU").setAsString("0010");
    ds.post();
    EXPECT_EQ(column(ds, "CDSUBGRU"), QStringList({"0001", "0009", "0002", "0003", "0010"}));
    EXPECT_EQ(ds.recNo(), 5);
}

TEST_F(DataSetStates, CancelledInsertLeavesNoRowAndReturnsToThePreviousRecord)
{
    ds.next();
    ds.insert();
    ds.fieldByName("CDSUBGRU").setAsString("0009");
    ds.cancel();
    EXPECT_EQ(ds.rowCount(), 3);
    EXPECT_EQ(ds.fieldByName("CDSUBGRU").asString(), "0002");
    EXPECT_EQ(ds.changeCount(), 0);
}

TEST_F(DataSetStates, MovingWhileEditingPostsAModifiedRowAndCancelsAnUntouchedOne)
{
    ds.edit();
    ds.next();
    EXPECT_EQ(log, QStringList({"beforeCancel", "afterCancel", "beforeScroll", "afterScroll"}));
    log.clear();
    ds.edit();
    ds.fieldByName("NRORDSUMA").setAsString("7");
    ds.next();
    EXPECT_EQ(log, QStringList({"beforePost", "afterPost", "beforeScroll", "afterScroll"}));
    EXPECT_EQ(ds.changeCount(), 1);
}

TEST_F(DataSetStates, APostThatFailsWhileMovingKeepsTheCursorInEdit)
{
    ds.beforePost = [](DataSet&) { throw Abort(); };
    ds.edit();
    ds.fieldByName("NRORDSUMA").setAsString("7");
    EXPECT_THROW(ds.next(), Abort);
    EXPECT_EQ(ds.recNo(), 1);
    EXPECT_EQ(ds.state(), DataSetState::Edit);
}

TEST_F(DataSetStates, DeleteMovesToTheNextRowAndRunsItsEvents)
{
    ds.remove();
    EXPECT_EQ(ds.fieldByName("CDSUBGRU").asString(), "0002");
    EXPECT_EQ(log, QStringList({"beforeDelete", "beforeScroll", "afterDelete", "afterScroll"}));
    ds.last();
    ds.remove();
    EXPECT_EQ(ds.fieldByName("CDSUBGRU").asString(), "0002");
    ds.remove();
    EXPECT_TRUE(ds.isEmpty());
    EXPECT_THROW(ds.remove(), DataSetError);
}

TEST_F(DataSetStates, ABeforeDeleteThatAbortsKeepsTheRow)
{
    ds.beforeDelete = [](DataSet&) { throw Abort(); };
    EXPECT_THROW(ds.remove(), Abort);
    EXPECT_EQ(ds.rowCount(), 3);
    EXPECT_EQ(ds.changeCount(), 0);
}

TEST_F(DataSetStates, OperationsOnAClosedDatasetFailLoudly)
{
    ds.close();
    EXPECT_EQ(ds.state(), DataSetState::Inactive);
    EXPECT_FALSE(ds.isActive());
    EXPECT_THROW(ds.edit(), DataSetError);
    EXPECT_THROW(ds.append(), DataSetError);
    EXPECT_THROW(ds.next(), DataSetError);
    EXPECT_THROW(ds.fieldByName("NRORDSUMA").setAsString("1"), DataSetError);
    EXPECT_TRUE(ds.fieldByName("NRORDSUMA").isNull());
}

TEST_F(DataSetStates, WritingOutsideEditIsRefused)
{
    EXPECT_THROW(ds.fieldByName("NRORDSUMA").setAsString("5"), DataSetError);
    EXPECT_EQ(ds.fieldByName("NRORDSUMA").asString(), "1");
}

TEST_F(DataSetStates, CalculatedFieldsFollowTheRowAndAreNeverPosted)
{
    ds.close();
    ds.onCalcFields = [](DataSet& d) {
        d.fieldByName("OBS").setAsString("#" + d.fieldByName("NRORDSUMA").asString());
    };
    ds.loadPacket(test::subGroups());
    EXPECT_EQ(column(ds, "OBS"), QStringList({"#1", "#2", "#3"}));
    ds.edit();
    ds.fieldByName("NRORDSUMA").setAsString("8");
    EXPECT_EQ(ds.fieldByName("OBS").asString(), "#8");
    EXPECT_THROW(ds.fieldByName("OBS").setAsString("x"), DataSetError);
    ds.post();
    EXPECT_EQ(ds.delta().indexOf("OBS"), -1);
    EXPECT_EQ(ds.toPacket().indexOf("OBS"), -1);
}

TEST_F(DataSetStates, RequiredFieldsAreCheckedAfterBeforePost)
{
    ds.fieldByName("NRORDSUMA").setRequired(true);
    ds.edit();
    ds.fieldByName("NRORDSUMA").clear();
    EXPECT_THROW(ds.post(), DataSetError);
    EXPECT_EQ(log, QStringList({"beforePost"}));
    EXPECT_EQ(ds.state(), DataSetState::Edit);
}

class DataSetMarks : public DataSetStates {};

TEST_F(DataSetMarks, BothHoldWhileClosedOrEmpty)
{
    DataSet closed;
    EXPECT_TRUE(closed.eof());
    EXPECT_TRUE(closed.bof());
    DataPacket empty = test::subGroups();
    empty.rows.clear();
    ds.loadPacket(empty);
    EXPECT_TRUE(ds.eof());
    EXPECT_TRUE(ds.bof());
    ds.first();
    EXPECT_TRUE(ds.eof());
}

TEST_F(DataSetMarks, AreSetOnlyByAnAttemptToMovePastTheEnds)
{
    EXPECT_FALSE(ds.bof());
    EXPECT_FALSE(ds.eof());
    ds.last();
    EXPECT_FALSE(ds.eof()) << "reaching the last row is not yet the end";
    log.clear();
    ds.next();
    EXPECT_TRUE(ds.eof());
    EXPECT_EQ(ds.recNo(), 3);
    EXPECT_TRUE(log.isEmpty()) << "no scroll when nothing moved";
    ds.prior();
    EXPECT_FALSE(ds.eof());
    ds.first();
    EXPECT_FALSE(ds.bof());
    ds.prior();
    EXPECT_TRUE(ds.bof());
    EXPECT_EQ(ds.recNo(), 1);
}

TEST_F(DataSetMarks, TheUsualWhileNotEofLoopVisitsEveryRowOnce)
{
    QStringList seen;
    ds.first();
    while (!ds.eof()) {
        seen << ds.fieldByName("CDSUBGRU").asString();
        ds.next();
    }
    EXPECT_EQ(seen, QStringList({"0001", "0002", "0003"}));
}

TEST_F(DataSetMarks, RecNoMovesTheCursor)
{
    ds.setRecNo(3);
    EXPECT_EQ(ds.fieldByName("CDSUBGRU").asString(), "0003");
    EXPECT_THROW(ds.setRecNo(4), DataSetError);
    EXPECT_EQ(ds.recNo(), 3);
}

}  // namespace
}  // namespace qmv

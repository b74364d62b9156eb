// The change log: what a change set holds after edits, inserts and deletes, merging and cancelling.
#include "datasetfixture.h"
#include "host/abort.h"

#include <gtest/gtest.h>

#include <functional>

namespace qmv {
namespace {

using test::column;

class ChangeLog : public ::testing::Test {
protected:
    void SetUp() override
    {
        test::declare(ds, log);
        ds.loadPacket(test::subGroups());
    }
    QString text() const { return canonicalText(ds.delta(), {"CDSUBGRU"}); }
    void setOrder(const QString& order)
    {
        ds.edit();
        ds.fieldByName("NRORDSUMA").setAsString(order);
        ds.post();
    }
    DataSet ds;
    QStringList log;
};

TEST_F(ChangeLog, AnUpdateCarriesTheOriginalAndTheNewValues)
{
    setOrder("5");
    EXPECT_EQ(ds.changeCount(), 1);
    EXPECT_EQ(text(), "U(CDSUBGRU=0001: NRORDSUMA 1->5)");
    const ChangeSet delta = ds.delta();
    ASSERT_EQ(delta.changes.size(), 1);
    EXPECT_EQ(delta.changes[0].original.size(), 4);
    EXPECT_EQ(delta.changes[0].current.size(), 4);
}

TEST_F(ChangeLog, APostWithoutAChangeLogsNothing)
{
    ds.edit();
    ds.fieldByName("NRORDSUMA").setAsString("1");
    ds.post();
    EXPECT_EQ(ds.changeCount(), 0);
    EXPECT_EQ(log.last(), "afterPost");
}

TEST_F(ChangeLog, EditingTheSameRowTwiceKeepsOneEntryWithTheFirstOriginal)
{
    setOrder("5");
    setOrder("6");
    EXPECT_EQ(ds.changeCount(), 1);
    EXPECT_EQ(text(), "U(CDSUBGRU=0001: NRORDSUMA 1->6)");
    setOrder("1");
    EXPECT_EQ(ds.changeCount(), 0) << "back to the original value is no change";
}

TEST_F(ChangeLog, OldValueIsTheValueBeforeThePendingChanges)
{
    ds.edit();
    ds.fieldByName("NRORDSUMA").setAsString("5");
    EXPECT_EQ(ds.fieldByName("NRORDSUMA").oldValue().toString(), "1");
    ds.post();
    EXPECT_EQ(ds.fieldByName("NRORDSUMA").oldValue().toString(), "1");
    ds.mergeChangeLog();
    EXPECT_EQ(ds.fieldByName("NRORDSUMA").oldValue().toString(), "5");
    ds.append();
    EXPECT_TRUE(ds.fieldByName("NRORDSUMA").oldValue().isNull());
}

TEST_F(ChangeLog, InsertsAndDeletesAreLoggedInTheOrderMade)
{
    ds.remove();
    ds.append();
    ds.fieldByName("CDSUBGRU").setAsString("0009");
    ds.fieldByName("NRORDSUMA").setAsString("4");
    ds.post();
    setOrder("7");
    EXPECT_EQ(ds.changeCount(), 2) << "editing an inserted row keeps it one insert";
    EXPECT_EQ(text(), "D(CDSUBGRU=0001)I(CDSUBGRU=0009: NRORDSUMA=7)");
}

TEST_F(ChangeLog, ADeletedRowKeepsItsOriginalValuesAndStaysLoggedUntilMerged)
{
    setOrder("5");
    ds.remove();
    EXPECT_EQ(ds.changeCount(), 1);
    const ChangeSet delta = ds.delta();
    ASSERT_EQ(delta.changes.size(), 1);
    EXPECT_EQ(delta.changes[0].kind, ChangeKind::Delete);
    EXPECT_EQ(delta.changes[0].original[1].toString(), "1");
    // The next post of another row sends the deletion with it.
    setOrder("8");
    EXPECT_EQ(text(), "D(CDSUBGRU=0001)U(CDSUBGRU=0002: NRORDSUMA 2->8)");
    ds.mergeChangeLog();
    EXPECT_EQ(ds.changeCount(), 0);
    EXPECT_EQ(column(ds, "CDSUBGRU"), QStringList({"0002", "0003"}));
}

TEST_F(ChangeLog, DeletingAnInsertedRowLeavesNothingToSend)
{
    ds.append();
    ds.fieldByName("CDSUBGRU").setAsString("0009");
    ds.post();
    ds.remove();
    EXPECT_EQ(ds.changeCount(), 0);
    EXPECT_EQ(ds.delta().changes.size(), 0);
}

TEST_F(ChangeLog, CancelUpdatesBringsEveryRowBackAndRestoresDeletedOnesInPlace)
{
    setOrder("5");
    ds.next();
    ds.remove();
    ds.append();
    ds.fieldByName("CDSUBGRU").setAsString("0009");
    ds.post();
    ds.cancelUpdates();
    EXPECT_EQ(ds.changeCount(), 0);
    EXPECT_EQ(column(ds, "CDSUBGRU"), QStringList({"0001", "0002", "0003"}));
    EXPECT_EQ(column(ds, "NRORDSUMA"), QStringList({"1", "2", "3"}));
    EXPECT_EQ(ds.state(), DataSetState::Browse);
}

TEST_F(ChangeLog, CancelUpdatesAlsoAbandonsARowBeingInserted)
{
    ds.append();
    ds.cancelUpdates();
    EXPECT_EQ(ds.state(), DataSetState::Browse);
    EXPECT_EQ(ds.rowCount(), 3);
}

TEST_F(ChangeLog, AFailedSendCancelsTheUpdatesFromAfterPost)
{
    // The screens send from afterPost and cancel the pending updates when the server refuses.
    ds.afterPost = [](DataSet& d) {
        try {
            throw std::runtime_error("server refused");
        } catch (...) {
            d.cancelUpdates();
            throw;
        }
    };
    ds.edit();
    ds.fieldByName("NRORDSUMA").setAsString("5");
    EXPECT_THROW(ds.post(), std::runtime_error);
    EXPECT_EQ(ds.changeCount(), 0);
    EXPECT_EQ(ds.state(), DataSetState::Browse);
    EXPECT_EQ(ds.fieldByName("NRORDSUMA").asString(), "1");
}

TEST_F(ChangeLog, WithLoggingOffPostsChangeTheBaseState)
{
    ds.setLogChanges(false);
    setOrder("5");
    ds.remove();
    ds.append();
    ds.fieldByName("CDSUBGRU").setAsString("0009");
    ds.post();
    EXPECT_EQ(ds.changeCount(), 0);
    ds.cancelUpdates();
    EXPECT_EQ(column(ds, "CDSUBGRU"), QStringList({"0002", "0003", "0009"}));
}

TEST_F(ChangeLog, LoadingReplacesRowsAndLog)
{
    setOrder("5");
    ds.loadPacket(test::subGroups());
    EXPECT_EQ(ds.changeCount(), 0);
    EXPECT_EQ(ds.fieldByName("NRORDSUMA").asString(), "1");
}

TEST_F(ChangeLog, ABadPacketLeavesTheDatasetAsItWas)
{
    setOrder("5");
    EXPECT_THROW(ds.loadPacket(QByteArray("\xa1\x61", 2)), PacketError);
    EXPECT_EQ(ds.state(), DataSetState::Browse);
    EXPECT_EQ(ds.changeCount(), 1);
    EXPECT_EQ(ds.fieldByName("NRORDSUMA").asString(), "5");
}

TEST_F(ChangeLog, ChangeSetSurvivesTheWireWithAPhoto)
{
    DataSet photos;
    photos.addField(test::def("CDSUBGRU", FieldKind::Text, 10));
    photos.addField(test::def("FGESPEPROD", FieldKind::Blob));
    photos.open();
    QByteArray photo(549'999, Qt::Uninitialized);
    for (int i = 0; i < photo.size(); ++i)
        photo[i] = char((i * 7919) & 0xff);
    photos.append();
    photos.fieldByName("CDSUBGRU").setAsString("0001");
    photos.fieldByName("FGESPEPROD").setAsBytes(photo);
    photos.post();
    const ChangeSet back = decodeChangeSet(encodeChangeSet(photos.delta()));
    ASSERT_EQ(back.changes.size(), 1);
    EXPECT_EQ(back.changes[0].current[1].toByteArray(), photo);
}

TEST_F(ChangeLog, PacketColumnsWithoutADeclaredFieldAreLoadedAsDynamicFields)
{
    DataPacket packet = test::subGroups();
    packet.fields.append(test::def("DSEXTRA", FieldKind::Text, 20));
    for (Row& row : packet.rows)
        row.append(QString("extra"));
    ds.loadPacket(packet);
    ASSERT_NE(ds.findField("DSEXTRA"), nullptr);
    EXPECT_FALSE(ds.fieldByName("DSEXTRA").isDeclared());
    EXPECT_EQ(ds.fieldByName("DSEXTRA").asString(), "extra");
    EXPECT_EQ(ds.toPacket().indexOf("DSEXTRA"), 4);
    ds.close();
    EXPECT_EQ(ds.findField("DSEXTRA"), nullptr);
}

TEST_F(ChangeLog, DeclaredFieldsKeepTheirOrderWhateverThePacketOrder)
{
    DataPacket packet = test::subGroups();
    std::swap(packet.fields[0], packet.fields[3]);
    for (Row& row : packet.rows)
        std::swap(row[0], row[3]);
    ds.loadPacket(packet);
    EXPECT_EQ(ds.field(0).name(), "CDSUBGRU");
    EXPECT_EQ(column(ds, "CDSUBGRU"), QStringList({"0001", "0002", "0003"}));
    EXPECT_EQ(ds.fieldByName("DTEFETSUMA").asDateTime().date(), QDate(2026, 3, 10));
}

}  // namespace
}  // namespace qmv

namespace qmv {
namespace {

TEST(DataSetLoad, ValuesTakeTheKindOfTheDeclaredField)
{
    DataSet ds;
    ds.addField(test::def("VR", FieldKind::Float));
    DataPacket packet;
    packet.fields = {test::def("VR", FieldKind::Integer)};
    packet.rows = {Row{QVariant::fromValue<qint64>(3)}};
    ds.loadPacket(packet);
    EXPECT_EQ(ds.fieldByName("VR").value().typeId(), QMetaType::Double);
    ds.edit();
    ds.fieldByName("VR").setAsFloat(3.0);
    ds.post();
    EXPECT_EQ(ds.changeCount(), 0) << "3 written back over 3 is no change";
}

TEST(DataSetLoad, AFailingCalculationLeavesTheDatasetClosedAndEmpty)
{
    DataSet ds;
    QStringList log;
    test::declare(ds, log);
    ds.onCalcFields = [](DataSet& d) {
        if (d.fieldByName("CDSUBGRU").asString() == "0002")
            throw std::runtime_error("bad row");
    };
    EXPECT_THROW(ds.loadPacket(test::subGroups()), std::runtime_error);
    EXPECT_FALSE(ds.isActive());
    ds.onCalcFields = nullptr;
    ds.open();
    EXPECT_TRUE(ds.isEmpty());
}

// After a send without a verdict the posted values go back into an edit, outside the log, and
// posting again logs them once more; a deletion has no edit to go back to and simply returns.
TEST_F(ChangeLog, ReturnToEditTakesThePostedValuesBackIntoTheEditOutsideTheLog)
{
    struct Case {
        const char* name;
        std::function<void(DataSet&)> change;
        DataSetState state;
        QStringList orders;  // the rows as shown after returnToEdit
        const char* logged;  // the log after posting again
    } cases[] = {
        {"update", [](DataSet& d) { d.setRecNo(2); d.edit(); d.fieldByName("NRORDSUMA").setAsString("7"); d.post(); },
         DataSetState::Edit, {"1", "7", "3"}, "U(CDSUBGRU=0002: NRORDSUMA 2->7)"},
        {"insert", [](DataSet& d) { d.setRecNo(2); d.insert(); d.fieldByName("CDSUBGRU").setAsString("0009");
                                    d.fieldByName("NRORDSUMA").setAsString("9"); d.post(); },
         DataSetState::Insert, {"1", "9", "2", "3"}, "I(CDSUBGRU=0009: NRORDSUMA=9)"},
        {"delete", [](DataSet& d) { d.setRecNo(2); d.remove(); }, DataSetState::Browse, {"1", "2", "3"}, ""},
    };
    for (const Case& c : cases) {
        ds.loadPacket(test::subGroups());
        c.change(ds);
        log.clear();
        ds.returnToEdit();
        EXPECT_EQ(ds.state(), c.state) << c.name;
        EXPECT_EQ(ds.changeCount(), 0) << c.name;
        EXPECT_EQ(column(ds, "NRORDSUMA"), c.orders) << c.name;
        EXPECT_TRUE(log.isEmpty()) << c.name << ": " << log.join(' ').toStdString();
        if (c.state == DataSetState::Browse)
            continue;
        EXPECT_TRUE(ds.modified()) << c.name;
        ds.post();
        EXPECT_EQ(text().toStdString(), c.logged) << c.name;
    }
}

// Whatever a bound control holds unwritten goes into the record before the post is checked.
TEST_F(ChangeLog, APostAsksTheRecordUpdatersFirstAndStopsWhenOneRefuses)
{
    QObject owner;
    bool refuse = false;
    ds.addRecordUpdater(&owner, [&] {
        if (refuse)
            throw Abort();
        ds.fieldByName("NRORDSUMA").setAsString("8");
    });
    ds.edit();
    ds.post();
    EXPECT_EQ(text(), "U(CDSUBGRU=0001: NRORDSUMA 1->8)");
    refuse = true;
    ds.edit();
    EXPECT_THROW(ds.post(), Abort);
    EXPECT_EQ(ds.state(), DataSetState::Edit);
    ds.removeRecordUpdaters(&owner);
    EXPECT_NO_THROW(ds.checkBrowseMode());
    EXPECT_EQ(ds.state(), DataSetState::Browse);
}

}  // namespace
}  // namespace qmv

// Typed field access, size cut, display and set-text hooks, and the data source.
#include "datasetfixture.h"
#include "platform/datasource.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

namespace qmv {
namespace {

class Fields : public ::testing::Test {
protected:
    void SetUp() override
    {
        test::declare(ds, log);
        ds.loadPacket(test::subGroups());
        ds.edit();
    }
    Field& f(const char* name) { return ds.fieldByName(name); }
    DataSet ds;
    QStringList log;
};

TEST_F(Fields, TextLongerThanTheSizeIsCutAndEmptyTextIsNull)
{
    f("NRORDSUMA").setAsString("12345");
    EXPECT_EQ(f("NRORDSUMA").asString(), "123");
    f("NRORDSUMA").setAsString("");
    EXPECT_TRUE(f("NRORDSUMA").isNull());
    f("CDSUBGRU").setValue(42);
    EXPECT_EQ(f("CDSUBGRU").value().typeId(), QMetaType::QString);
}

TEST_F(Fields, NumbersAcceptTextAndRefuseWhatIsNotANumber)
{
    f("VRPELOADSUMA").setAsString("7.5");
    EXPECT_DOUBLE_EQ(f("VRPELOADSUMA").asFloat(), 7.5);
    EXPECT_EQ(f("VRPELOADSUMA").asInteger(), 8);
    f("VRPELOADSUMA").setLabel("Loading");
    try {
        f("VRPELOADSUMA").setAsString("12%");
        ADD_FAILURE() << "a percent sign is no number";
    } catch (const DataSetError& e) {
        EXPECT_STREQ(e.what(), "'12%' não é um número válido para o campo 'Loading'") << "named by its label";
    }
    EXPECT_DOUBLE_EQ(f("VRPELOADSUMA").asFloat(), 7.5);
    f("VRPELOADSUMA").clear();
    EXPECT_EQ(f("VRPELOADSUMA").asFloat(), 0.0);
    EXPECT_FALSE(f("VRPELOADSUMA").floatValue().has_value());
}

TEST_F(Fields, TextFieldsReadAsNumbersOnlyWhenTheyHoldOne)
{
    f("NRORDSUMA").setAsString("12");
    EXPECT_EQ(f("NRORDSUMA").asInteger(), 12);
    f("NRORDSUMA").setAsString("1%");
    EXPECT_FALSE(f("NRORDSUMA").floatValue().has_value());
    EXPECT_THROW(f("NRORDSUMA").asFloat(), DataSetError);
}

TEST_F(Fields, DatesReadAndWriteAsDateTimesAndTexts)
{
    EXPECT_EQ(f("DTEFETSUMA").asDateTime(), QDateTime(QDate(2026, 3, 10), QTime(0, 0)));
    EXPECT_EQ(f("DTEFETSUMA").asString(), "10/03/2026");
    f("DTEFETSUMA").setAsString("15/03/2026");
    EXPECT_EQ(f("DTEFETSUMA").asDateTime().date(), QDate(2026, 3, 15));
    f("DTEFETSUMA").setAsDateTime(QDateTime(QDate(2026, 3, 16), QTime(8, 30)));
    EXPECT_EQ(f("DTEFETSUMA").asString(), "16/03/2026 08:30:00");
    EXPECT_THROW(f("DTEFETSUMA").setAsString("31/02/2026"), DataSetError);
    f("DTEFETSUMA").setAsDateTime(QDateTime());
    EXPECT_TRUE(f("DTEFETSUMA").isNull());
}

TEST_F(Fields, DatesReadAsDayNumbersSoThatABlankDateIsZero)
{
    EXPECT_DOUBLE_EQ(f("DTEFETSUMA").asFloat(), 46091.0);
    f("DTEFETSUMA").setAsFloat(46096.5);
    EXPECT_EQ(f("DTEFETSUMA").asDateTime(), QDateTime(QDate(2026, 3, 15), QTime(12, 0)));
    f("DTEFETSUMA").clear();
    EXPECT_EQ(f("DTEFETSUMA").asFloat(), 0.0);
    EXPECT_LT(f("DTEFETSUMA").asFloat(), f("VRPELOADSUMA").asFloat());
}

TEST_F(Fields, UnknownFieldsFailWithTheirName)
{
    try {
        ds.fieldByName("NOPE");
        FAIL();
    } catch (const DataSetError& e) {
        EXPECT_NE(std::string(e.what()).find("NOPE"), std::string::npos);
    }
    EXPECT_EQ(ds.findField("nrordsuma"), &f("NRORDSUMA"));
}

TEST_F(Fields, DisplayTextUsesTheFormatAndTheGetTextHook)
{
    f("VRPELOADSUMA").setDisplayFormat("#####0%");
    EXPECT_EQ(f("VRPELOADSUMA").displayText(), "13%");
    f("VRPELOADSUMA").onGetText = [](Field& sender, QString& text, bool display) {
        text = (display ? "show " : "edit ") + sender.asString();
    };
    EXPECT_EQ(f("VRPELOADSUMA").displayText(), "show 12.6");
    EXPECT_EQ(f("VRPELOADSUMA").editText(), "edit 12.6");
}

TEST_F(Fields, DisplayTextAtReadsOtherRowsWithoutMovingAndHooksSeeThatRow)
{
    ds.cancel();
    log.clear();
    f("NRORDSUMA").onGetText = [](Field& sender, QString& text, bool) {
        text = sender.dataSet().fieldByName("CDSUBGRU").asString() + ":" + text;
    };
    EXPECT_EQ(f("NRORDSUMA").displayTextAt(2), "0003:3");
    EXPECT_EQ(f("NRORDSUMA").displayText(), "0001:1");
    EXPECT_EQ(ds.recNo(), 1);
    EXPECT_TRUE(log.filter("Scroll").isEmpty());
}

TEST_F(Fields, SetTextGoesThroughTheHook)
{
    f("NRORDSUMA").onSetText = [](Field& sender, const QString& text) { sender.setAsString(text.trimmed()); };
    f("NRORDSUMA").setText("  7 ");
    EXPECT_EQ(f("NRORDSUMA").asString(), "7");
}

TEST_F(Fields, AnEditMaskShapesTheDisplayedText)
{
    ds.cancel();
    f("CDSUBGRU").setEditMask("9.99.9;0; ");
    EXPECT_EQ(f("CDSUBGRU").displayText(), "0.00.1");
    EXPECT_EQ(f("CDSUBGRU").asString(), "0001");
}

TEST_F(Fields, ReadOnlyFieldsRefuseWrites)
{
    f("CDSUBGRU").setReadOnly(true);
    EXPECT_THROW(f("CDSUBGRU").setAsString("9"), DataSetError);
    EXPECT_EQ(f("CDSUBGRU").asString(), "0001");
}

TEST(DataSourceBinding, ReportsStateAndPassesThroughInactiveWhenRebound)
{
    DataSet a;
    DataSet b;
    for (DataSet* d : {&a, &b}) {
        d->addField(test::def("CD", FieldKind::Text, 4));
        d->open();
    }
    DataSource source;
    QList<DataSetState> seen;
    QObject::connect(&source, &DataSource::stateChanged, [&](DataSetState s) { seen << s; });
    source.setDataSet(&a);
    a.append();
    a.cancel();
    source.setDataSet(&b);
    source.setDataSet(&b);
    EXPECT_EQ(seen, QList<DataSetState>({DataSetState::Browse, DataSetState::Insert, DataSetState::Browse,
                                         DataSetState::Inactive, DataSetState::Browse, DataSetState::Inactive,
                                         DataSetState::Browse}));
    seen.clear();
    a.append();
    EXPECT_TRUE(seen.isEmpty()) << "no longer bound to a";
}

TEST(DataSourceBinding, ReportsFieldAndRowChanges)
{
    DataSet ds;
    QStringList log;
    test::declare(ds, log);
    ds.loadPacket(test::subGroups());
    DataSource source;
    source.setDataSet(&ds);
    QList<Field*> changed;
    QObject::connect(&source, &DataSource::dataChanged, [&](Field* field) { changed << field; });
    ds.edit();
    ds.fieldByName("NRORDSUMA").setAsString("4");
    ASSERT_EQ(changed.size(), 1);
    EXPECT_EQ(changed[0], &ds.fieldByName("NRORDSUMA"));
    ds.post();
    ds.next();
    EXPECT_GE(changed.size(), 3);
    EXPECT_EQ(changed.last(), nullptr);
}

TEST(DataSourceBinding, ADestroyedDatasetLeavesTheSourceInactive)
{
    DataSource source;
    auto ds = std::make_unique<DataSet>();
    ds->addField(test::def("CD", FieldKind::Text, 4));
    ds->open();
    source.setDataSet(ds.get());
    ds.reset();
    EXPECT_EQ(source.dataSet(), nullptr);
    EXPECT_EQ(source.state(), DataSetState::Inactive);
}

}  // namespace
}  // namespace qmv

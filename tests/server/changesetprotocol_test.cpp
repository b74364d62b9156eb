// The change-set protocol as the after-post handlers run it: nothing for no change, the null-field list
// of SetSubGruSeMa, merge on success, cancelled updates on failure, the busy indicator where shown.
#include <gtest/gtest.h>

#include "host/abort.h"
#include "platform/dataset.h"
#include "server/changesetprotocol.h"
#include "server/nullfieldlist.h"
#include "server/tnetconnection.h"
#include "support/recordingtransport.h"
#include "support/scriptedui.h"

namespace qmv {
namespace {

const QString kOtherUser = QStringLiteral("Outro usuário alterou o sub-grupo 0002; recarregue os dados.");

DataPacket subGroups()
{
    DataPacket packet;
    packet.fields = {FieldDef{QStringLiteral("CDSUBGRU"), FieldKind::Text, 4},
                     FieldDef{QStringLiteral("NRORDSUMA"), FieldKind::Integer},
                     FieldDef{QStringLiteral("DTAPRESUMA"), FieldKind::DateTime},
                     FieldDef{QStringLiteral("DTREVISUMA"), FieldKind::DateTime}};
    const QDateTime day(QDate(2026, 3, 2), QTime(0, 0));
    packet.rows = {Row{QStringLiteral("0001"), 1, QVariant(), QVariant()},
                   Row{QStringLiteral("0002"), 2, day, day}};
    return packet;
}

struct Protocol : ::testing::Test {
    ScriptedUi ui;
    test::RecordingTransport* recorder = new test::RecordingTransport;
    TNetConnection conn{nullptr, std::unique_ptr<Transport>(recorder)};
    DataSet cdsSubGruSeMa;

    void SetUp() override
    {
        conn.connect();
        cdsSubGruSeMa.addField({QStringLiteral("CDSUBGRU"), FieldKind::Text, 4});
        cdsSubGruSeMa.addField({QStringLiteral("NRORDSUMA"), FieldKind::Integer});
        cdsSubGruSeMa.addField({QStringLiteral("DTAPRESUMA"), FieldKind::DateTime});
        cdsSubGruSeMa.addField({QStringLiteral("DTREVISUMA"), FieldKind::DateTime});
        cdsSubGruSeMa.addField({QStringLiteral("OBS"), FieldKind::Calculated, 1});
        cdsSubGruSeMa.loadPacket(subGroups());
    }
    Field& order() { return cdsSubGruSeMa.fieldByName(QStringLiteral("NRORDSUMA")); }
    void editOrder(int row, int value)
    {
        cdsSubGruSeMa.setRecNo(row);
        cdsSubGruSeMa.edit();
        order().setAsInteger(value);
        cdsSubGruSeMa.post();
    }
};

TEST_F(Protocol, NothingIsSentWithoutAPendingChange)
{
    cdsSubGruSeMa.afterPost = [&](DataSet& ds) { sendSubGruSeMa(conn, ds); };
    sendSubGruSeMa(conn, cdsSubGruSeMa);
    cdsSubGruSeMa.edit();
    cdsSubGruSeMa.post();
    EXPECT_EQ(cdsSubGruSeMa.changeCount(), 0);
    EXPECT_TRUE(recorder->calls().isEmpty());
}

TEST_F(Protocol, ThePostedRowIsSentWithItsNullFieldListAndMerged)
{
    cdsSubGruSeMa.afterPost = [&](DataSet& ds) { sendSubGruSeMa(conn, ds); };
    editOrder(2, 7);
    editOrder(1, 5);
    EXPECT_EQ(recorder->calls(),
              QStringList({R"(SetSubGruSeMa(<delta:U>,"_OBS"))",
                           R"(SetSubGruSeMa(<delta:U>,"_DTAPRESUMA_DTREVISUMA_OBS"))"}));
    const ChangeSet sent = changeSetFromCbor(recorder->log().first().args.at(0));
    EXPECT_EQ(canonicalText(sent, {QStringLiteral("CDSUBGRU")}),
              QStringLiteral("U(CDSUBGRU=0002: NRORDSUMA 2->7)"));
    EXPECT_EQ(cdsSubGruSeMa.changeCount(), 0);
    EXPECT_EQ(order().asInteger(), 5);
    EXPECT_TRUE(ui.errors.isEmpty());
}

TEST_F(Protocol, AFailedSendCancelsTheUpdatesAndShowsTheOldValues)
{
    cdsSubGruSeMa.afterPost = [&](DataSet& ds) { sendSubGruSeMa(conn, ds); };
    recorder->fail(QStringLiteral("SetSubGruSeMa"), kOtherUser);
    EXPECT_THROW(editOrder(2, 7), Abort);
    EXPECT_EQ(ui.errors, QStringList{kOtherUser});
    EXPECT_EQ(cdsSubGruSeMa.changeCount(), 0);
    cdsSubGruSeMa.setRecNo(2);
    EXPECT_EQ(order().asInteger(), 2);
    EXPECT_EQ(cdsSubGruSeMa.state(), DataSetState::Browse);
    EXPECT_TRUE(ui.log.filter(QStringLiteral("busy")).isEmpty());
}

// No verdict from the server: the typed values stay in edit, out of the log, and the user is told
// whether anything reached the server; confirming again sends them once more.
TEST_F(Protocol, AChangeWithoutAVerdictStaysInEditAndSaysWhetherItReachedTheServer)
{
    cdsSubGruSeMa.afterPost = [&](DataSet& ds) { sendSubGruSeMa(conn, ds); };
    const QString lost = QStringLiteral("A conexão caiu.");
    for (const Delivery delivery : {Delivery::NotSent, Delivery::MayHaveReached}) {
        ui.errors.clear();
        const qsizetype calls = recorder->calls().size();
        recorder->answer(QStringLiteral("SetSubGruSeMa"), RemoteResult{false, lost, {}, {}, delivery});
        if (delivery == Delivery::NotSent)  // sent once more over a fresh connection, and lost again
            recorder->answer(QStringLiteral("SetSubGruSeMa"), RemoteResult{false, lost, {}, {}, delivery});
        EXPECT_THROW(editOrder(2, 7), Abort);
        EXPECT_EQ(ui.errors, QStringList{unsentChangeMessage(delivery, QStringLiteral("do sub-grupo"))});
        EXPECT_EQ(cdsSubGruSeMa.state(), DataSetState::Edit);
        EXPECT_EQ(cdsSubGruSeMa.changeCount(), 0);
        EXPECT_EQ(order().asInteger(), 7);
        cdsSubGruSeMa.post();
        EXPECT_EQ(cdsSubGruSeMa.state(), DataSetState::Browse);
        EXPECT_EQ(order().asInteger(), 7);
        EXPECT_EQ(recorder->calls().size(), calls + (delivery == Delivery::NotSent ? 3 : 2));
        editOrder(2, 2);
    }
}

TEST_F(Protocol, ADeletionThatFailsComesBack)
{
    cdsSubGruSeMa.afterDelete = [&](DataSet& ds) { sendFotoSeMa(conn, ds); };
    recorder->fail(QStringLiteral("SetFotoSeMa"), kOtherUser);
    cdsSubGruSeMa.setRecNo(1);
    EXPECT_THROW(cdsSubGruSeMa.remove(), Abort);
    EXPECT_EQ(recorder->calls(), QStringList{"SetFotoSeMa(<delta:D>)"});
    EXPECT_EQ(cdsSubGruSeMa.recordCount(), 2);
    EXPECT_EQ(cdsSubGruSeMa.changeCount(), 0);
}

TEST_F(Protocol, KindOneSitesShowTheIndicatorAndHideItOnSuccessAndFailure)
{
    cdsSubGruSeMa.afterPost = [&](DataSet& ds) { sendEquiSubSeMa(conn, ds, nullptr); };
    editOrder(1, 3);
    EXPECT_EQ(ui.log, QStringList({"busy+1", "busy-"}));
    EXPECT_EQ(cdsSubGruSeMa.changeCount(), 0);

    recorder->fail(QStringLiteral("SetEquiSubSeMa"), kOtherUser);
    EXPECT_THROW(editOrder(1, 4), Abort);
    EXPECT_EQ(ui.log, QStringList({"busy+1", "busy-", "busy+1", "error:" + kOtherUser, "busy-"}));
    EXPECT_FALSE(ui.busyVisible());
    EXPECT_EQ(order().asInteger(), 3);
    EXPECT_EQ(recorder->calls(), QStringList({"SetEquiSubSeMa(<delta:U>)", "SetEquiSubSeMa(<delta:U>)"}));
}

TEST_F(Protocol, EachKindOneSiteUsesItsOwnMethod)
{
    editOrder(1, 3);
    sendProRecSeMa(conn, cdsSubGruSeMa, nullptr);
    editOrder(1, 4);
    sendFotoSubMa(conn, cdsSubGruSeMa, nullptr);
    EXPECT_EQ(recorder->calls(), QStringList({"SetProRecSeMa(<delta:U>)", "SetFotoSubMa(<delta:U>)"}));
    EXPECT_EQ(ui.busyShows, 2);
    EXPECT_EQ(ui.busyHides, 2);
}

TEST_F(Protocol, AFailureOtherThanTheCheckAlsoCancelsAndPropagates)
{
    cdsSubGruSeMa.afterPost = [&](DataSet& ds) {
        ChangeSetProtocol(
            ds, [](const ChangeSet&) -> RemoteResult { throw std::runtime_error("socket closed"); }, {})
            .withBusyIndicator(nullptr)
            .send();
    };
    EXPECT_THROW(editOrder(1, 8), std::runtime_error);
    EXPECT_EQ(cdsSubGruSeMa.changeCount(), 0);
    EXPECT_EQ(order().asInteger(), 1);
    EXPECT_FALSE(ui.busyVisible());
}

TEST(NullFieldList, NamesEveryNullFieldInFieldOrderWithoutTrailingSeparator)
{
    DataSet ds;
    ds.addField({QStringLiteral("DSSUBGRUPO"), FieldKind::Text, 40});
    ds.addField({QStringLiteral("NRORDSUMA"), FieldKind::Integer});
    ds.addField({QStringLiteral("TXCOMSUMA"), FieldKind::Text, 200});
    ds.addField({QStringLiteral("OBS"), FieldKind::Calculated, 1});
    ds.open();
    ds.append();
    ds.fieldByName(QStringLiteral("NRORDSUMA")).setAsInteger(1);
    EXPECT_EQ(nullFieldList(ds), QStringLiteral("_DSSUBGRUPO_TXCOMSUMA_OBS"));
    ds.fieldByName(QStringLiteral("DSSUBGRUPO")).setAsString(QStringLiteral("Arroz"));
    ds.fieldByName(QStringLiteral("TXCOMSUMA")).setAsString(QStringLiteral("x"));
    EXPECT_EQ(nullFieldList(ds), QStringLiteral("_OBS"));
}

}  // namespace
}  // namespace qmv

// The result check, the busy indicator and the load of a Get... result into its dataset.
#include <gtest/gtest.h>

#include <QCborMap>

#include "host/abort.h"
#include "host/busyindicator.h"
#include "host/checkresultserv.h"
#include "platform/dataset.h"
#include "server/catalogue.h"
#include "server/loadresult.h"
#include "server/tnetconnection.h"
#include "support/recordingtransport.h"
#include "support/scriptedui.h"

namespace qmv {
namespace {

DataPacket parameters(const QStringList& codes)
{
    DataPacket packet;
    packet.fields = {FieldDef{QStringLiteral("CDTIPODOCU"), FieldKind::Text, 4}};
    for (const QString& code : codes)
        packet.rows.append(Row{code});
    return packet;
}

QStringList column(DataSet& dataSet, const QString& name)
{
    QStringList values;
    for (dataSet.first(); !dataSet.eof(); dataSet.next())
        values << dataSet.fieldByName(name).asString();
    return values;
}

TEST(CheckResultServ, ReturnsThePayloadOfASuccessAndShowsNothing)
{
    ScriptedUi ui;
    const QCborValue payload = CheckResultServ({true, {}, QCborMap{{QStringLiteral("rows"), 2}}}, true, 0);
    EXPECT_EQ(payload.toMap().value(QStringLiteral("rows")).toInteger(), 2);
    EXPECT_TRUE(ui.log.isEmpty());
}

TEST(CheckResultServ, DecodesAPayloadKeptAsWireBytes)
{
    ScriptedUi ui;
    RemoteResult result{true, {}, {}, QCborValue(QCborMap{{QStringLiteral("rows"), 4}}).toCbor()};
    EXPECT_EQ(CheckResultServ(result, true, 0).toMap().value(QStringLiteral("rows")).toInteger(), 4);
}

TEST(CheckResultServ, ShowsAFailureThenAbortsOrReturnsNothing)
{
    ScriptedUi ui;
    EXPECT_THROW(CheckResultServ({false, QStringLiteral("Filial inexistente."), {}}, true, 0), Abort);
    EXPECT_EQ(ui.errors, QStringList{QStringLiteral("Filial inexistente.")});

    const QCborValue none = CheckResultServ({false, QStringLiteral("Sem dados."), {}}, false, 12);
    EXPECT_TRUE(none.isUndefined());
    EXPECT_EQ(ui.errors.last(), QStringLiteral("Sem dados. (código 12)"));

    EXPECT_THROW(CheckResultServ({false, QString(), {}}, true, 0), Abort);
    EXPECT_FALSE(ui.errors.last().isEmpty());
}

TEST(BusyIndicator, HidesOnlyWhatItShowedAndOnEveryWayOut)
{
    ScriptedUi ui;
    DeactiveShowAvi();
    EXPECT_EQ(ui.busyHides, 0);
    try {
        BusyIndicator busy(nullptr, 6);
        EXPECT_TRUE(ui.busyVisible());
        throw Abort();
    } catch (const Abort&) {
    }
    EXPECT_FALSE(ui.busyVisible());
    ActiveShowAvi(nullptr, 0);
    DeactiveShowAvi();
    DeactiveShowAvi();
    EXPECT_EQ(ui.log, QStringList({"busy+6", "busy-", "busy+0", "busy-"}));
    EXPECT_FALSE(busyIndicatorShown());
}

struct LoadResult : ::testing::Test {
    ScriptedUi ui;
    test::RecordingTransport* recorder = new test::RecordingTransport;
    TNetConnection conn{nullptr, std::unique_ptr<Transport>(recorder)};
    DataSet cdsParametros;
    void SetUp() override
    {
        conn.connect();
        cdsParametros.loadPacket(parameters({"A001", "A002"}));
    }
};

TEST_F(LoadResult, ASuccessfulCallReplacesTheRowsAndTheChangeLog)
{
    cdsParametros.edit();
    cdsParametros.fieldByName(QStringLiteral("CDTIPODOCU")).setAsString(QStringLiteral("Z999"));
    cdsParametros.post();
    ASSERT_EQ(cdsParametros.changeCount(), 1);
    recorder->answerPacket(QStringLiteral("GetParametros"), parameters({"B001"}));
    loadResult(cdsParametros, GetParametros(conn, QStringLiteral("0001")));
    EXPECT_EQ(column(cdsParametros, QStringLiteral("CDTIPODOCU")), QStringList{"B001"});
    EXPECT_EQ(cdsParametros.changeCount(), 0);
    EXPECT_TRUE(ui.errors.isEmpty());
}

TEST_F(LoadResult, AFailedCallIsShownAndLeavesTheDatasetAsItWas)
{
    recorder->fail(QStringLiteral("GetParametros"), QStringLiteral("Filial 9999 não cadastrada."));
    EXPECT_THROW(loadResult(cdsParametros, GetParametros(conn, QStringLiteral("9999"))), Abort);
    EXPECT_EQ(ui.errors, QStringList{QStringLiteral("Filial 9999 não cadastrada.")});
    EXPECT_EQ(column(cdsParametros, QStringLiteral("CDTIPODOCU")), QStringList({"A001", "A002"}));
}

TEST_F(LoadResult, APacketKeptAsWireBytesLoadsLikeADecodedOne)
{
    recorder->answer(QStringLiteral("GetParametros"),
                     RemoteResult{true, {}, {}, encodePacket(parameters({"C001", "C002", "C003"}))});
    loadResult(cdsParametros, GetParametros(conn, QStringLiteral("0001")));
    EXPECT_EQ(column(cdsParametros, QStringLiteral("CDTIPODOCU")), QStringList({"C001", "C002", "C003"}));

    QByteArray cut = encodePacket(parameters({"D001"}));
    cut.chop(2);
    recorder->answer(QStringLiteral("GetParametros"), RemoteResult{true, {}, {}, cut});
    EXPECT_THROW(loadResult(cdsParametros, GetParametros(conn, QStringLiteral("0001"))), Abort);
    ASSERT_EQ(ui.errors.size(), 1);
    EXPECT_TRUE(ui.errors.first().contains(QStringLiteral("pacote de dados inválido")));
    EXPECT_EQ(column(cdsParametros, QStringLiteral("CDTIPODOCU")), QStringList({"C001", "C002", "C003"}));
}

TEST_F(LoadResult, AnUnreadablePacketIsShownAndLeavesTheDatasetAsItWas)
{
    recorder->answer(QStringLiteral("GetParametros"),
                     RemoteResult{true, {}, QCborMap{{QStringLiteral("rows"), QStringLiteral("x")}}});
    EXPECT_THROW(loadResult(cdsParametros, GetParametros(conn, QStringLiteral("0001"))), Abort);
    ASSERT_EQ(ui.errors.size(), 1);
    EXPECT_TRUE(ui.errors.first().contains(QStringLiteral("pacote de dados inválido")));
    EXPECT_EQ(column(cdsParametros, QStringLiteral("CDTIPODOCU")), QStringList({"A001", "A002"}));
}

}  // namespace
}  // namespace qmv

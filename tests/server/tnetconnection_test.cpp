// The connection's life: before-connect settings, connect failures, calls while disconnected and the
// ThrowException switch.
#include <gtest/gtest.h>

#include "server/remotecall.h"
#include "server/tnetconnection.h"
#include "support/recordingtransport.h"

namespace qmv {
namespace {

using namespace std::chrono_literals;

struct Connection : ::testing::Test {
    test::RecordingTransport* recorder = new test::RecordingTransport;
    TNetConnection conn{nullptr, std::unique_ptr<Transport>(recorder)};
};

TEST_F(Connection, BeforeConnectReadsPortThenHostAgainOnEveryConnect)
{
    QStringList reads;
    int webPort = 9001;
    QString webUrl = QStringLiteral("srv-a");
    conn.beforeConnect = [&](TNetConnection& c) {
        reads << QStringLiteral("port");
        c.setPort(webPort);
        reads << QStringLiteral("host");
        c.setHost(webUrl);
    };
    conn.connect();
    webPort = 9002;
    webUrl = QStringLiteral("srv-b");
    conn.disconnect();
    conn.connect();
    EXPECT_EQ(recorder->opens(), QStringList({"srv-a:9001", "srv-b:9002"}));
    EXPECT_EQ(reads, QStringList({"port", "host", "port", "host"}));
    EXPECT_TRUE(conn.connected());
}

TEST_F(Connection, AFailedConnectThrowsWithTheTransportsMessageAndStaysDisconnected)
{
    recorder->refuseOpen(QStringLiteral("Não foi possível conectar ao servidor de aplicação em x:1."));
    conn.setConnectTimeout(1500ms);
    try {
        conn.connect();
        FAIL() << "connect did not throw";
    } catch (const ConnectionError& error) {
        EXPECT_EQ(error.message(), QStringLiteral("Não foi possível conectar ao servidor de aplicação em x:1."));
    }
    EXPECT_FALSE(conn.connected());
    EXPECT_EQ(recorder->lastTimeout(), 1500ms);
}

TEST_F(Connection, CallsWhileDisconnectedFailAsResultsWithoutReachingTheTransport)
{
    conn.connect();
    conn.disconnect();
    EXPECT_EQ(recorder->closes(), 1);
    const RemoteResult result = invoke(conn, QStringLiteral("GetParametros"), {RemoteArg::text("0001")});
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.error.contains(QStringLiteral("GetParametros")));
    EXPECT_TRUE(recorder->log().isEmpty());
    conn.disconnect();
    EXPECT_EQ(recorder->closes(), 1);
}

TEST_F(Connection, FailuresComeBackAsResultsUnlessThrowExceptionIsOn)
{
    conn.connect();
    conn.setCallTimeout(2500ms);
    recorder->fail(QStringLiteral("GetParametros"), QStringLiteral("Filial inexistente."));
    const RemoteResult result = invoke(conn, QStringLiteral("GetParametros"), {RemoteArg::text("9999")});
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.error, QStringLiteral("Filial inexistente."));
    EXPECT_EQ(recorder->lastTimeout(), 2500ms);

    conn.setThrowException(true);
    recorder->fail(QStringLiteral("GetParametros"), QStringLiteral("Filial inexistente."));
    EXPECT_THROW(invoke(conn, QStringLiteral("GetParametros"), {RemoteArg::text("9999")}), RemoteCallError);
    EXPECT_TRUE(invoke(conn, QStringLiteral("GetParametros"), {RemoteArg::text("0001")}).ok);
}

}  // namespace
}  // namespace qmv

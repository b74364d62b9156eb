// The connection's life: before-connect settings, connect failures, calls while disconnected and the
// ThrowException switch.
#include <gtest/gtest.h>

#include <utility>

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
    EXPECT_TRUE(result.error.contains(QStringLiteral("(leitura dos parâmetros da filial)")));
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

namespace qmv {
namespace {

// A call that got no answer: reads go once more over a fresh connection, writes never; the call
// after a lost one opens a fresh connection first and, when that fails, sends nothing.
TEST_F(Connection, AnUnansweredReadIsSentOnceMoreAndAnUnansweredWriteNever)
{
    const QString dropped = QStringLiteral("A conexão com o servidor de aplicação em h:1 foi interrompida (%1).");
    const QString refused = QStringLiteral("Não foi possível conectar ao servidor de aplicação em h:1.");
    const auto lost = [&](const QString& method) {
        return RemoteResult{false, dropped.arg(method), {}, {}, Delivery::MayHaveReached};
    };
    const auto get = [&] { return invoke(conn, QStringLiteral("GetParametros"), {RemoteArg::text("0001")}); };
    conn.connect();

    recorder->answer(QStringLiteral("GetParametros"), lost(QStringLiteral("GetParametros")));
    EXPECT_TRUE(get().ok);
    EXPECT_EQ(recorder->calls().size(), 2);
    EXPECT_EQ(recorder->opens().size(), 2);

    recorder->answer(QStringLiteral("GetParametros"), lost(QStringLiteral("GetParametros")));
    recorder->answer(QStringLiteral("GetParametros"), lost(QStringLiteral("GetParametros")));
    // The message names what the call did for the person, never the method.
    EXPECT_EQ(get().error, dropped.arg(QStringLiteral("leitura dos parâmetros da filial")));
    EXPECT_EQ(recorder->calls().size(), 4);

    recorder->refuseOpen(refused);
    EXPECT_EQ(get().error, refused + QStringLiteral(" A chamada não foi enviada."));
    EXPECT_EQ(recorder->calls().size(), 4);
    recorder->refuseOpen({});
    EXPECT_TRUE(get().ok);
    EXPECT_EQ(recorder->calls().size(), 5);

    recorder->answer(QStringLiteral("GetParametros"), lost(QStringLiteral("GetParametros")));
    recorder->refuseOpen(refused);
    EXPECT_EQ(get().error, dropped.arg(QStringLiteral("leitura dos parâmetros da filial"))
                               + QStringLiteral(" A reconexão também falhou: ") + refused);
    recorder->refuseOpen({});

    for (const auto& [write, subject] : {std::pair{"SetFotoSeMa", "gravação da foto"},
                                         {"ImportaFoto", "importação das fotos"},
                                         {"InsereEquip", "inclusão dos equipamentos"}}) {
        const QString method = QString::fromLatin1(write);
        recorder->answer(method, lost(method));
        const qsizetype before = recorder->calls().size();
        EXPECT_EQ(invoke(conn, method, {RemoteArg::text("x")}).error,
                  dropped.arg(QString::fromUtf8(subject)) + QStringLiteral(" Não é possível saber se a alteração chegou a ser gravada: "
                                                       "ela não foi reenviada. Recarregue os dados antes de repeti-la."));
        EXPECT_EQ(recorder->calls().size(), before + 1);
    }
    const qsizetype opens = recorder->opens().size();
    recorder->fail(QStringLiteral("GetParametros"), QStringLiteral("Filial inexistente."));
    EXPECT_EQ(get().error, QStringLiteral("Filial inexistente."));
    EXPECT_EQ(get().error, QString());
    EXPECT_EQ(recorder->opens().size(), opens + 1);  // only the reopen after the lost write

    // A write that was not sent at all goes once more, over a fresh connection.
    recorder->answer(QStringLiteral("SetFotoSeMa"), RemoteResult{false, refused, {}, {}, Delivery::NotSent});
    const qsizetype calls = recorder->calls().size();
    EXPECT_TRUE(invoke(conn, QStringLiteral("SetFotoSeMa"), {RemoteArg::text("x")}).ok);
    EXPECT_EQ(recorder->calls().size(), calls + 2);
    EXPECT_EQ(recorder->opens().size(), opens + 2);
}

}  // namespace
}  // namespace qmv

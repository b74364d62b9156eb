// The HTTP wire: health, unknown objects and methods, malformed bodies, JSON as well as CBOR, one
// log line per call, and a server that keeps serving after every kind of bad request.
#include "appserver/methods/catalogue.h"
#include "appserver/serverfixture.h"
#include "platform/methodfacts.h"

#include <QCborMap>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <array>
#include <thread>
#include <vector>

namespace qmv::appserver::test {
namespace {

using namespace Qt::StringLiterals;

class Wire : public ::testing::Test {
protected:
    void SetUp() override
    {
        database_ = std::make_unique<TestDatabase>(sqliteDriver);
        seedFixture(*database_);
        server_ = std::make_unique<TestServer>(database_->config());
    }

    void expectStillServing() const
    {
        const Reply reply = server_->call(u"GetParametros"_s, {u"0001"_s});
        ASSERT_TRUE(reply.ok()) << reply.error().toStdString();
        EXPECT_EQ(reply.packet().rows.size(), 1);
    }

    Reply json(const std::string& method, const QByteArray& body) const
    {
        return server_->post("/rdm/Qmv00500.rdmFotoMontManual/" + method, body, "application/json");
    }

    std::unique_ptr<TestDatabase> database_;
    std::unique_ptr<TestServer> server_;
};

TEST_F(Wire, HealthAnswersOk)
{
    const Reply reply = server_->get("/health");
    EXPECT_EQ(reply.status, 200);
    EXPECT_EQ(reply.body, "ok");
}

TEST_F(Wire, UnknownObjectMethodAndPathAnswer404WithTheErrorMap)
{
    const Reply object = server_->post("/rdm/Outro.rdm/GetParametros", QCborValue(QCborArray{u"0001"_s}).toCbor(),
                                       "application/cbor");
    EXPECT_EQ(object.status, 404);
    EXPECT_FALSE(object.ok());
    EXPECT_EQ(object.error(), u"Objeto desconhecido: Outro.rdm."_s);

    const Reply method = server_->call(u"GetNada"_s, {});
    EXPECT_EQ(method.status, 404);
    EXPECT_EQ(method.error(), u"Método desconhecido: GetNada."_s);

    const Reply path = server_->post("/outra/coisa", "[]", "application/json");
    EXPECT_EQ(path.status, 404);
    EXPECT_FALSE(path.ok());
    EXPECT_TRUE(path.error().contains(u"/outra/coisa"_s));
    expectStillServing();
}

TEST_F(Wire, MalformedBodiesAnswer400AndWriteNothing)
{
    const QString before = database_->snapshot();
    const std::string path = "/rdm/Qmv00500.rdmFotoMontManual/SetFotoSeMa";
    struct Case {
        QByteArray body;
        std::string type;
    };
    const QList<Case> cases = {
        {QByteArray("\xa1\x61", 2), "application/cbor"},                      // truncated map
        {QCborValue(u"not an array"_s).toCbor(), "application/cbor"},         // not an array
        {QCborValue(QCborArray{}).toCbor() + "trailing", "application/cbor"},  // bytes after the array
        {"[\"unterminated", "application/json"},
        {"{\"a\": 1}", "application/json"},
        {"[]", "text/plain"},
        {"[]", ""},
    };
    for (const Case& c : cases) {
        const Reply reply = server_->post(path, c.body, c.type);
        EXPECT_EQ(reply.status, 400) << c.body.toStdString();
        EXPECT_FALSE(reply.ok());
        EXPECT_FALSE(reply.error().isEmpty());
    }
    EXPECT_EQ(database_->snapshot(), before);
    expectStillServing();
}

TEST_F(Wire, JsonCallsGetJsonAnswersWithBase64AndDates)
{
    const Reply photo = json("GetFotoSeMa", R"(["S1", "E1"])");
    ASSERT_EQ(photo.status, 200);
    EXPECT_TRUE(photo.contentType.startsWith(u"application/json"_s));
    const QJsonObject answer = QJsonDocument::fromJson(photo.body).object();
    const QJsonArray row = answer[u"result"_s][u"rows"_s].toArray().at(0).toArray();
    EXPECT_EQ(QByteArray::fromBase64(row.at(2)[u"base64"_s].toString().toLatin1()),
              QByteArray("\xff\xd8photo-one\x00\xff", 13));

    const Reply rows = json("GetSubGruSeMa", R"(["0001", "0001", "0001", "000000100100010001", "2", "2"])");
    const QJsonArray first = QJsonDocument::fromJson(rows.body).object()[u"result"_s][u"rows"_s][0].toArray();
    EXPECT_EQ(first.at(21)[u"datetime"_s].toString(), u"2026-03-10T00:00:00.000Z"_s);  // DTEFETSUMA
}

TEST_F(Wire, JsonChangeSetWithBase64PhotoIsStoredByteForByte)
{
    const QByteArray picture("\x00\x01\x02jpeg\xff", 8);
    const QByteArray body = R"([{"fields": [{"name": "CDPRODUTO", "kind": "text", "size": 10},
                                            {"name": "CDESPEPROD", "kind": "text", "size": 10},
                                            {"name": "FGESPEPROD", "kind": "blob"}],
                                 "changes": [{"kind": "insert", "current": ["S3", "E3", {"base64": ")"
                            + picture.toBase64() + R"("}]}]}])";
    const Reply reply = json("SetFotoSeMa", body);
    ASSERT_TRUE(reply.ok()) << reply.error().toStdString();
    EXPECT_EQ(reply.map.value(u"result"_s).toMap().value(u"rows"_s).toInteger(), 1);
    EXPECT_EQ(database_->scalar(u"SELECT FGESPEPROD FROM FOTOSEMA WHERE CDPRODUTO = 'S3'"_s).toByteArray(), picture);
}

TEST_F(Wire, LogsOneLinePerCallWithMethodDurationAndOutcome)
{
    server_->call(u"GetParametros"_s, {u"0001"_s});
    server_->call(u"GetParametros"_s, {u"00001"_s});
    server_->call(u"GetNada"_s, {});
    // An encoded line break in the method name cannot start a forged line of its own.
    server_->post("/rdm/Qmv00500.rdmFotoMontManual/Get%0A2026-01-01T00:00:00Z%20SetFotoSeMa%201.0%20ms%20ok",
                  "[]", "application/json");
    const QStringList lines = server_->logLines();
    ASSERT_EQ(lines.size(), 4);
    EXPECT_FALSE(lines[3].contains(u'\n'));
    EXPECT_TRUE(lines[3].contains(u"Get\\n2026"_s)) << lines[3].toStdString();
    const QRegularExpression ok(uR"(^\S+ GetParametros \d+\.\d ms ok$)"_s);
    EXPECT_TRUE(ok.match(lines[0]).hasMatch()) << lines[0].toStdString();
    EXPECT_TRUE(lines[1].contains(u"GetParametros"_s) && lines[1].contains(u"recusada: "_s)) << lines[1].toStdString();
    EXPECT_TRUE(lines[2].contains(u"erro 404"_s)) << lines[2].toStdString();
}

TEST_F(Wire, DatabaseFailureIsAnsweredWithAnOccurrenceIdAndLoggedWithItsStatement)
{
    database_->exec(u"DROP TABLE PARAMFILIAL"_s);
    const Reply reply = server_->call(u"GetParametros"_s, {u"0001"_s});
    EXPECT_EQ(reply.status, 200);
    EXPECT_FALSE(reply.ok());
    const QRegularExpression answer(uR"(^GetParametros: erro no banco de dados \(ocorrência (\S+)\)\. )"_s);
    const QRegularExpressionMatch id = answer.match(reply.error());
    ASSERT_TRUE(id.hasMatch()) << reply.error().toStdString();
    EXPECT_FALSE(reply.error().contains(u"SELECT"_s) || reply.error().contains(u"PARAMFILIAL"_s));
    const QString logged = server_->logLines().last();
    EXPECT_TRUE(logged.contains(u"ocorrência "_s + id.captured(1) + u": "_s)) << logged.toStdString();
    EXPECT_TRUE(logged.contains(u"SELECT CDTIPODOCU FROM PARAMFILIAL WHERE CDFILIAL = ?"_s)) << logged.toStdString();
    EXPECT_TRUE(server_->call(u"GetFotoSeMa"_s, {u"S1"_s, u"E1"_s}).ok());
    const QByteArray metrics = server_->get("/metrics").body;
    EXPECT_TRUE(metrics.contains("\nqmv_database_errors_total 1\n")) << metrics.constData();
    EXPECT_TRUE(metrics.contains("\nqmv_calls_total{method=\"GetParametros\",outcome=\"error\"} 1\n"));
}

TEST_F(Wire, EveryMethodTakesTheArgumentCountBothSidesDeclare)
{
    QStringList shared;
    for (const wire::MethodFacts& facts : wire::remoteMethods()) {
        const QString method = facts.name.toString();
        shared << method;
        QCborArray oneTooFew;
        for (qsizetype i = 1; i < facts.argumentCount(); ++i)
            oneTooFew.append(u"x"_s);
        EXPECT_EQ(server_->call(method, oneTooFew).error(), u"%1 espera %2 argumento(s), mas recebeu %3."_s.arg(
                                                                 method).arg(facts.argumentCount()).arg(oneTooFew.size()));
    }
    shared.sort();
    EXPECT_EQ(Catalogue::standard().names(), shared);
}

// The worker that read the photo gauge at start keeps its connection to the file it opened, and an
// idle worker that became idle last takes the next call: calls go three at a time until one reaches a
// worker that must open the database.
Reply callOnAWorkerWithoutConnection(const TestServer& server)
{
    for (int round = 0; round < 50; ++round) {
        std::array<Reply, 3> replies;
        std::vector<std::thread> callers;
        for (Reply& reply : replies)
            callers.emplace_back([&server, &reply] { reply = server.call(u"GetParametros"_s, {u"0001"_s}); });
        for (std::thread& caller : callers)
            caller.join();
        for (const Reply& reply : replies)
            if (!reply.ok())
                return reply;
    }
    return {};
}

TEST(Unreachable, ADatabaseThatCannotBeOpenedIsAnsweredWithAnOccurrenceIdAndNoDriverText)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(u"data"_s);
    ASSERT_TRUE(QDir().mkpath(folder));
    TestServer server(DbConfig{Driver::Sqlite, folder + u"/qmv.sqlite"_s, {}});
    ASSERT_TRUE(QDir().rename(folder, folder + u"-away"_s));
    const Reply reply = callOnAWorkerWithoutConnection(server);
    ASSERT_TRUE(QDir().rename(folder + u"-away"_s, folder));

    const QRegularExpression answer(uR"(^GetParametros: banco de dados indisponível \(ocorrência (\S+)\)\. )"_s);
    const QRegularExpressionMatch id = answer.match(reply.error());
    ASSERT_TRUE(id.hasMatch()) << reply.error().toStdString();
    EXPECT_FALSE(reply.error().contains(u"open"_s)) << reply.error().toStdString();
    const QStringList logged = server.logLines().filter(u"ocorrência "_s + id.captured(1));
    ASSERT_EQ(logged.size(), 1);
    EXPECT_TRUE(logged[0].contains(u": cannot open the database"_s)) << logged[0].toStdString();
    EXPECT_TRUE(server.call(u"GetParametros"_s, {u"0001"_s}).ok());
}

TEST_F(Wire, AServerCannotStartOnAPortInUse)
{
    ServerOptions options;
    options.database = database_->config();
    options.port = server_->port();
    options.log = [](const QString&) {};
    AppServer second(options);
    EXPECT_THROW(second.start(), std::runtime_error);
    expectStillServing();
}

TEST_F(Wire, ServesSeveralClientsAtOnce)
{
    std::vector<std::thread> clients;
    std::atomic<int> good{0};
    for (int i = 0; i < 6; ++i)
        clients.emplace_back([&] {
            for (int j = 0; j < 10; ++j)
                if (server_->call(u"GetServManual"_s, {u"0001"_s, u"0001"_s, u"0001"_s, QString()}).ok())
                    ++good;
        });
    for (std::thread& t : clients)
        t.join();
    EXPECT_EQ(good, 60);
}

}  // namespace
}  // namespace qmv::appserver::test

// Pieces of the server that need no database: argument checks, conninfo parsing, value
// comparison for conflicts, the JSON mapping of CBOR values and the worker pool's choice of worker.
#include "appserver/methods/arguments.h"
#include "appserver/methods/changeapplier.h"
#include "appserver/database/dbconfig.h"
#include "appserver/methods/methoderror.h"
#include "appserver/http/wirecodec.h"
#include "appserver/database/workerpool.h"

#include <QCborMap>
#include <QDateTime>
#include <atomic>
#include <chrono>
#include <future>
#include <gtest/gtest.h>
#include <set>

namespace qmv::appserver {
namespace {

using namespace Qt::StringLiterals;

QString refusal(const std::function<void()>& call)
{
    try {
        call();
    } catch (const MethodError& error) {
        return error.message();
    }
    return {};
}

TEST(Arguments, RefusesWrongCountKindAndLengthWithTheArgumentNamed)
{
    const Arguments a(u"GetFotoSeMa"_s, QCborArray{u"S1"_s, 7, u"12345678901"_s});
    EXPECT_EQ(refusal([&] { a.expectCount(2); }), u"GetFotoSeMa espera 2 argumento(s), mas recebeu 3."_s);
    EXPECT_EQ(refusal([&] { a.text(1, u"especificação"_s, 10); }),
              u"GetFotoSeMa: o argumento 2 (especificação) deve ser um texto."_s);
    EXPECT_EQ(refusal([&] { a.text(2, u"sub-grupo"_s, 10); }),
              u"GetFotoSeMa: o argumento 3 (sub-grupo) tem 11 caracteres; o máximo é 10."_s);
    EXPECT_EQ(a.text(0, u"sub-grupo"_s, 10), u"S1"_s);
    EXPECT_TRUE(refusal([&] { a.integer(0, u"quantidade"_s); }).contains(u"número inteiro"_s));
    EXPECT_EQ(a.integer(1, u"quantidade"_s), 7);
}

TEST(Arguments, SplitsTheServiceKeyFromItsEndAndChecksLevels)
{
    const Arguments a(u"M"_s, QCborArray{u"12300010002"_s, u"00010002"_s, u"3"_s, u"0"_s, u"x"_s});
    const ServiceKey key = a.serviceKey(0, u"chave"_s);
    EXPECT_EQ(key.service, u"123"_s);
    EXPECT_EQ(key.serviceClass, u"0001"_s);
    EXPECT_EQ(key.cycle, u"0002"_s);
    EXPECT_FALSE(refusal([&] { a.serviceKey(1, u"chave"_s); }).isEmpty());  // no service before class and cycle
    EXPECT_EQ(a.levels(2), 3);
    EXPECT_FALSE(refusal([&] { a.levels(3); }).isEmpty());
    EXPECT_FALSE(refusal([&] { a.levels(4); }).isEmpty());
}

TEST(Arguments, OneOfAcceptsOnlyTheListedTexts)
{
    const Arguments a(u"M"_s, QCborArray{u"2"_s, u"3"_s, u""_s});
    EXPECT_EQ(a.oneOf(0, u"filtro"_s, {u"0"_s, u"1"_s, u"2"_s}), u"2"_s);
    EXPECT_TRUE(refusal([&] { a.oneOf(1, u"filtro"_s, {u"0"_s, u"1"_s, u"2"_s}); }).contains(u"\"0\", \"1\", \"2\""_s));
    EXPECT_EQ(a.oneOf(2, u"todos"_s, {u"T"_s, QString()}), QString());
}

TEST(Arguments, MalformedChangeSetIsRefusedNotThrownThrough)
{
    QCborMap broken;
    broken.insert(u"fields"_s, 5);
    const Arguments a(u"SetFotoSeMa"_s, QCborArray{broken, u"text"_s});
    EXPECT_TRUE(refusal([&] { a.changeSet(0); }).startsWith(u"SetFotoSeMa: o argumento 1"_s));
    EXPECT_TRUE(refusal([&] { a.changeSet(1); }).contains(u"deve ser um conjunto de alterações"_s));
}

TEST(ConnInfo, SplitsPairsWithQuotedValues)
{
    const auto pairs = parseConnInfo(u"host=/tmp/x port=5432  dbname=qmv options='-c search_path=a' password='it\\'s'"_s);
    ASSERT_EQ(pairs.size(), 5);
    EXPECT_EQ(pairs[0], std::make_pair(u"host"_s, u"/tmp/x"_s));
    EXPECT_EQ(pairs[3], std::make_pair(u"options"_s, u"-c search_path=a"_s));
    EXPECT_EQ(pairs[4].second, u"it's"_s);
    EXPECT_THROW(parseConnInfo(u"host"_s), std::invalid_argument);
    EXPECT_THROW(parseConnInfo(u"host='open"_s), std::invalid_argument);
}

TEST(SameValue, ComparesByKindWithEmptyTextAsNull)
{
    EXPECT_TRUE(sameValue(FieldKind::Text, QVariant(), u""_s));
    EXPECT_FALSE(sameValue(FieldKind::Text, u"a"_s, u"A"_s));
    EXPECT_TRUE(sameValue(FieldKind::Float, 0.1 + 0.2, 0.3));
    EXPECT_FALSE(sameValue(FieldKind::Float, 1.0, 1.001));
    EXPECT_FALSE(sameValue(FieldKind::Float, QVariant(), 0.0));
    const QDateTime local(QDate(2026, 3, 10), QTime(0, 0));
    EXPECT_TRUE(sameValue(FieldKind::DateTime, local, u"2026-03-10T00:00:00.000"_s));
    EXPECT_FALSE(sameValue(FieldKind::DateTime, local, u"2026-03-11T00:00:00.000"_s));
    EXPECT_FALSE(sameValue(FieldKind::Blob, QByteArray("a"), QByteArray("b")));
}

TEST(JsonMapping, BytesAndDatesSurviveTheRoundTrip)
{
    QCborMap map;
    map.insert(u"photo"_s, QCborValue(QByteArray("\x00\xff\x10", 3)));
    map.insert(u"date"_s, QCborValue(QCborKnownTags::DateTimeString, u"2026-03-10T00:00:00.000Z"_s));
    map.insert(u"n"_s, 42);
    map.insert(u"x"_s, 2.5);
    map.insert(u"none"_s, nullptr);
    const QJsonValue json = cborToJson(map);
    EXPECT_EQ(json[u"photo"_s][u"base64"_s].toString(), u"AP8Q"_s);
    EXPECT_EQ(json[u"date"_s][u"datetime"_s].toString(), u"2026-03-10T00:00:00.000Z"_s);
    const QCborMap back = QCborValue::fromCbor(jsonToCbor(json).toCbor()).toMap();
    EXPECT_EQ(back.value(u"photo"_s).toByteArray(), QByteArray("\x00\xff\x10", 3));
    EXPECT_TRUE(back.value(u"date"_s).isDateTime());
    EXPECT_TRUE(back.value(u"n"_s).isInteger());
    EXPECT_DOUBLE_EQ(back.value(u"x"_s).toDouble(), 2.5);
    EXPECT_TRUE(back.value(u"none"_s).isNull());
}

TEST(JsonMapping, MalformedBase64IsABadRequest)
{
    try {
        decodeArguments(R"([{"base64": "@@@"}])", WireFormat::Json);
        FAIL() << "accepted";
    } catch (const MethodError& error) {
        EXPECT_EQ(error.failure(), Failure::BadRequest);
    }
}

TEST(Envelope, CborSuccessWrapsAnEncodedResultUnchanged)
{
    const QByteArray packet = QCborValue(QCborArray{1, 2}).toCbor();
    const QCborMap map = QCborValue::fromCbor(encodeSuccess(MethodResult{{}, packet}, WireFormat::Cbor)).toMap();
    EXPECT_TRUE(map.value(u"ok"_s).toBool());
    EXPECT_EQ(map.value(u"result"_s).toArray(), (QCborArray{1, 2}));
    const QCborMap failure = QCborValue::fromCbor(encodeFailure(u"falhou"_s, WireFormat::Cbor)).toMap();
    EXPECT_FALSE(failure.value(u"ok"_s).toBool());
    EXPECT_EQ(failure.value(u"error"_s).toString(), u"falhou"_s);
}

// Calls one after another run on one worker (its connection's cache stays warm), and a call that
// arrives while that worker is busy still gets another.
// Polls for at most 10 s.
void waitUntil(const std::function<bool()>& done)
{
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!done() && std::chrono::steady_clock::now() < limit)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

TEST(WorkerPool, TheWorkerIdleLastTakesTheNextCallAndABusyOneIsPassedOver)
{
    constexpr size_t workers = 3;
    WorkerPool pool(DbConfig{}, int(workers), nullptr, u"pool-test"_s);
    const auto untilAllIdle = [&] {
        waitUntil([&] { return pool.idleWorkers() == workers; });
        ASSERT_EQ(pool.idleWorkers(), workers);
    };
    std::set<std::thread::id> ran;
    for (int call = 0; call < 12; ++call) {
        untilAllIdle();
        std::promise<std::thread::id> where;
        pool.enqueue([&] { where.set_value(std::this_thread::get_id()); });
        ran.insert(where.get_future().get());
    }
    EXPECT_EQ(ran.size(), 1u);

    std::promise<void> second;
    std::future<void> secondRan = second.get_future();
    std::promise<bool> first;
    pool.enqueue([&] { first.set_value(secondRan.wait_for(std::chrono::seconds(10)) == std::future_status::ready); });
    pool.enqueue([&] { second.set_value(); });
    EXPECT_TRUE(first.get_future().get());
}

// Calls on SQLite compute from pages in memory: no more run at once than the cores (at least two),
// but one that waits (for the writer lock, for the disk) lets a queued one run.
TEST(WorkerPool, CallsBeyondTheCoresWaitUnlessTheRunningOnesAreBlocked)
{
    const int cores = std::max(2, int(std::thread::hardware_concurrency()));
    WorkerPool pool(DbConfig{}, cores + 2, nullptr, u"pool-cap"_s);
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    std::atomic<int> started{0};
    for (int i = 0; i < cores; ++i)
        pool.enqueue([&, released] {
            BlockingSection waiting;
            ++started;
            released.wait();
        });
    waitUntil([&] { return started == cores; });
    std::promise<void> computed;
    pool.enqueue([&] { computed.set_value(); });
    EXPECT_EQ(computed.get_future().wait_for(std::chrono::seconds(10)), std::future_status::ready);
    release.set_value();
    waitUntil([&] { return pool.idleWorkers() == size_t(cores + 2); });

    started = 0;
    std::promise<void> again;
    std::shared_future<void> releasedAgain = again.get_future().share();
    for (int i = 0; i <= cores; ++i)
        pool.enqueue([&, releasedAgain] {
            ++started;
            releasedAgain.wait();
        });
    waitUntil([&] { return started >= cores; });
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(started, cores);
    again.set_value();
    waitUntil([&] { return started == cores + 1; });
    EXPECT_EQ(started, cores + 1);
}

}  // namespace
}  // namespace qmv::appserver

// GET /metrics: scraped before and after a known mix of calls, only those calls move the counts
// and the histograms; the buckets' edges; answered while every worker is busy, the photos' bytes
// from the last reading; served to this machine freely and to another only with a key marked for
// metrics (the test reaches the server by one of this machine's own non-loopback addresses, which
// the server sees as another machine).
#include "appserver/http/accesskeys.h"
#include "appserver/http/exposure.h"
#include "appserver/http/metrics.h"
#include "appserver/http/photobytesgauge.h"
#include "appserver/serverfixture.h"
#include "http/httpconnection.h"
#include "http/servertls.h"

#include <QMap>
#include <QTemporaryDir>

#include <arpa/inet.h>
#include <ifaddrs.h>

#include <QElapsedTimer>
#include <QSqlQuery>

#include <deque>
#include <future>
#include <thread>

namespace qmv::appserver::test {
namespace {

using namespace Qt::StringLiterals;
using std::chrono::microseconds;

// Every sample of a scrape, by its series ("name{labels}").
QMap<QByteArray, double> samples(const QByteArray& text)
{
    QMap<QByteArray, double> values;
    for (const QByteArray& line : text.split('\n'))
        if (!line.isEmpty() && !line.startsWith('#')) {
            const qsizetype space = line.lastIndexOf(' ');
            values.insert(line.left(space), line.mid(space + 1).toDouble());
        }
    return values;
}

// The series that moved from `before` to `after`, with how much.
QMap<QByteArray, double> moved(const QMap<QByteArray, double>& before, const QMap<QByteArray, double>& after)
{
    QMap<QByteArray, double> changes;
    for (auto it = after.cbegin(); it != after.cend(); ++it)
        if (it.value() != before.value(it.key()))
            changes.insert(it.key(), it.value() - before.value(it.key()));
    return changes;
}

TEST(CallMetrics, PutEachCallInTheFirstBucketThatHoldsIt)
{
    CallMetrics metrics;
    for (const auto elapsed : {microseconds(400), microseconds(1000), microseconds(1001), microseconds(20'000'000)})
        metrics.record(u"GetParametros", CallOutcome::Ok, elapsed);
    metrics.record(u"NoSuchMethod", CallOutcome::NotFound, microseconds(10));
    const auto values = samples(metrics.render({}));
    const QList<std::pair<QByteArray, double>> expected = {
        {R"(qmv_call_duration_seconds_bucket{method="GetParametros",le="0.0005"})", 1},
        {R"(qmv_call_duration_seconds_bucket{method="GetParametros",le="0.001"})", 2},
        {R"(qmv_call_duration_seconds_bucket{method="GetParametros",le="0.0025"})", 3},
        {R"(qmv_call_duration_seconds_bucket{method="GetParametros",le="10"})", 3},
        {R"(qmv_call_duration_seconds_bucket{method="GetParametros",le="+Inf"})", 4},
        {R"(qmv_call_duration_seconds_count{method="GetParametros"})", 4},
        {R"(qmv_call_duration_seconds_sum{method="GetParametros"})", 20.002401},
        {R"(qmv_calls_total{method="GetParametros",outcome="ok"})", 4},
        {R"(qmv_calls_total{method="other",outcome="not_found"})", 1},
    };
    for (const auto& [series, value] : expected)
        EXPECT_DOUBLE_EQ(values.value(series, -1), value) << series.constData();
}

class Metrics : public DriverTest {
protected:
    QMap<QByteArray, double> scrape() const
    {
        const Reply reply = server_->get("/metrics");
        EXPECT_EQ(reply.status, 200);
        EXPECT_TRUE(reply.contentType.startsWith(u"text/plain; version=0.0.4"_s)) << reply.contentType.toStdString();
        return samples(reply.body);
    }
};

// The series of one family (by name prefix) that moved.
QMap<QByteArray, double> family(const QMap<QByteArray, double>& changes, const char* prefix)
{
    QMap<QByteArray, double> chosen;
    for (auto it = changes.cbegin(); it != changes.cend(); ++it)
        if (it.key().startsWith(prefix))
            chosen.insert(it.key(), it.value());
    return chosen;
}

TEST_P(Metrics, MoveByExactlyTheCallsMade)
{
    const auto before = scrape();
    EXPECT_EQ(server_->get("/health").status, 200);
    EXPECT_EQ(family(moved(before, scrape()), "qmv_call"), (QMap<QByteArray, double>{}));

    EXPECT_TRUE(call(u"GetParametros"_s, {u"0001"_s}).ok());
    EXPECT_TRUE(call(u"GetParametros"_s, {u"0002"_s}).ok());
    EXPECT_FALSE(call(u"GetParametros"_s, {}).ok());
    EXPECT_EQ(call(u"GetNada"_s, {}).status, 404);
    const auto after = scrape();
    const auto changes = moved(before, after);

    EXPECT_EQ(family(changes, "qmv_calls_total"),
              (QMap<QByteArray, double>{{R"(qmv_calls_total{method="GetParametros",outcome="ok"})", 2},
                                        {R"(qmv_calls_total{method="GetParametros",outcome="refused"})", 1},
                                        {R"(qmv_calls_total{method="other",outcome="not_found"})", 1}}));
    const auto latency = family(changes, "qmv_call_duration_seconds");
    EXPECT_EQ(latency.value(R"(qmv_call_duration_seconds_count{method="GetParametros"})"), 3);
    EXPECT_EQ(latency.value(R"(qmv_call_duration_seconds_bucket{method="GetParametros",le="+Inf"})"), 3);
    EXPECT_EQ(latency.value(R"(qmv_call_duration_seconds_count{method="other"})"), 1);
    EXPECT_GT(latency.value(R"(qmv_call_duration_seconds_sum{method="GetParametros"})"), 0);
    for (auto it = latency.cbegin(); it != latency.cend(); ++it) {
        const bool parametros = it.key().contains(R"(method="GetParametros")");
        EXPECT_TRUE(parametros || it.key().contains(R"(method="other")")) << it.key().constData();
        if (it.key().contains("_bucket")) {
            EXPECT_LE(it.value(), parametros ? 3 : 1) << it.key().constData();
        }
    }
    // Read by a worker at start; the scrape does not wait for it.
    auto values = after;
    for (int i = 0; i < 100 && !values.contains("qmv_photo_bytes"); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        values = scrape();
    }
    EXPECT_EQ(values.value("qmv_photo_bytes", -1), 13);  // the one photo of the data set
    EXPECT_EQ(after.value("qmv_queued_calls", -1), 0);
    EXPECT_EQ(after.value("qmv_database_errors_total", -1), 0);
}

TEST_P(Metrics, CountTheConnectionsKeptIdle)
{
    std::vector<std::unique_ptr<http::HttpConnection>> kept;
    http::HttpConnection::Answer answer;
    for (int i = 0; i < 3; ++i) {
        kept.push_back(std::make_unique<http::HttpConnection>(u"127.0.0.1"_s, server_->port()));
        ASSERT_EQ(kept.back()->exchange("GET", "/health", {}, {}, std::chrono::seconds(10), answer),
                  http::HttpConnection::Failure::None);
    }
    // A connection turns idle once its answer's write completes, which may follow the client's read.
    auto values = scrape();
    for (int i = 0; i < 100 && values.value("qmv_idle_connections") < 3; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        values = scrape();
    }
    EXPECT_GE(values.value("qmv_idle_connections"), 3);
    EXPECT_GE(values.value("qmv_open_connections"), 4);  // and the scraper's
    kept.clear();
}

QMV_DRIVERS(Metrics);

// A reading goes to a worker only when the last one is old and none is under way; a failed one
// leaves the gauge out and is counted.
TEST(PhotoBytesGauge, ReadsOnAWorkerOneAtATimeAndKeepsTheLastReading)
{
    std::deque<std::function<void()>> queued;
    qint64 stored = 100;
    bool fails = false;
    int failures = 0;
    const auto gaugeAged = [&](std::chrono::milliseconds maxAge) {
        return PhotoBytesGauge([&](std::function<void()> task) { queued.push_back(std::move(task)); },
                               [&]() -> qint64 {
                                   if (fails)
                                       throw std::runtime_error("database is locked");
                                   return stored;
                               },
                               [&] { ++failures; }, maxAge);
    };
    const auto runQueued = [&] {
        for (; !queued.empty(); queued.pop_front())
            queued.front()();
    };

    PhotoBytesGauge fresh = gaugeAged(std::chrono::hours(1));
    EXPECT_EQ(fresh.current(), std::nullopt);
    EXPECT_EQ(fresh.current(), std::nullopt);
    EXPECT_EQ(queued.size(), 1u) << "one reading under way at a time";
    runQueued();
    stored = 200;
    EXPECT_EQ(fresh.current(), 100);
    EXPECT_TRUE(queued.empty()) << "a fresh reading is not repeated";

    PhotoBytesGauge aged = gaugeAged(std::chrono::milliseconds(0));
    aged.current();
    runQueued();
    EXPECT_EQ(aged.current(), 200);
    fails = true;
    runQueued();
    EXPECT_EQ(aged.current(), std::nullopt);
    EXPECT_EQ(failures, 1);
}

// Every worker waits for a row another connection holds locked, and a call waits for a worker: the
// scrape is answered at once and says so. PostgreSQL holds a row for as long as asked.
TEST(MetricsWhileBusy, AScrapeIsAnsweredWhileEveryWorkerWaitsForALockedRow)
{
    TestDatabase database(postgresDriver);
    if (!database.available())
        GTEST_SKIP() << "QMV_TEST_PG names no PostgreSQL database";
    seedFixture(database);
    TestServer server(database.config());
    const Reply read = server.call(u"GetFotoSeMa"_s, {u"S1"_s, u"E1"_s});
    ASSERT_TRUE(read.ok()) << read.error().toStdString();
    const QCborArray write{toCbor(updateOf(read.packet(), 0, {{u"FGESPEPROD"_s, QByteArray("outra")}}))};

    QSqlDatabase db = database.db();
    ASSERT_TRUE(db.transaction());
    QSqlQuery lock(db);
    ASSERT_TRUE(lock.exec(u"SELECT 1 FROM FOTOSEMA WHERE CDPRODUTO = 'S1' AND CDESPEPROD = 'E1' FOR UPDATE"_s));
    std::vector<std::future<Reply>> calls;
    for (int i = 0; i < 4; ++i)  // the fixture's server has three workers: one write waits for one
        calls.push_back(std::async(std::launch::async, [&] { return server.call(u"SetFotoSeMa"_s, write); }));

    const auto scrape = [&] {
        QElapsedTimer timer;
        timer.start();
        const Reply reply = server.get("/metrics");
        EXPECT_EQ(reply.status, 200);
        EXPECT_LT(timer.elapsed(), 2000) << "a scrape waited for a worker";
        return samples(reply.body).value("qmv_queued_calls");
    };
    double queued = 0;
    for (int i = 0; i < 100 && queued < 1; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        queued = scrape();
    }
    ASSERT_GE(queued, 1);
    EXPECT_GE(scrape(), 1) << "every worker waits, and the scrape is still answered";
    ASSERT_TRUE(db.commit());
    for (auto& call : calls)
        EXPECT_EQ(call.get().status, 200);
}

// One of this machine's IPv4 addresses other than loopback, empty when it has none.
QString ownRoutableAddress()
{
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0)
        return {};
    QString found;
    for (const ifaddrs* entry = list; entry && found.isEmpty(); entry = entry->ifa_next) {
        if (!entry->ifa_addr || entry->ifa_addr->sa_family != AF_INET)
            continue;
        char text[INET_ADDRSTRLEN] = {};
        inet_ntop(AF_INET, &reinterpret_cast<const sockaddr_in*>(entry->ifa_addr)->sin_addr, text, sizeof text);
        if (!wire::isLoopback(QString::fromLatin1(text)))
            found = QString::fromLatin1(text);
    }
    freeifaddrs(list);
    return found;
}

TEST(MetricsAccess, LoopbackFreelyOtherAddressesOnlyWithAMetricsKey)
{
    const MetricsCheck marked = [](const std::string& key) { return key == "watcher"; };
    const std::tuple<std::string, std::string, MetricsCheck, bool> cases[] = {
        {"127.0.0.1", "", {}, true},        {"::1", "", {}, true},           {"::ffff:127.0.0.1", "", {}, true},
        {"192.0.2.7", "", marked, false},   {"192.0.2.7", "other", marked, false},
        {"192.0.2.7", "watcher", marked, true}, {"192.0.2.7", "watcher", {}, false}, {"", "", {}, false},
    };
    for (const auto& [peer, key, check, allowed] : cases)
        EXPECT_EQ(mayReadMetrics(peer, key, check), allowed) << peer << " " << key;
}

TEST(MetricsAccess, AnotherMachineNeedsAKeyMarkedForMetrics)
{
    const QString address = ownRoutableAddress();
    if (address.isEmpty())
        GTEST_SKIP() << "this machine has no address beside loopback";
    QTemporaryDir dir;
    ASSERT_TRUE(makeCertificate(dir, u"server"_s, address));
    TestDatabase database(sqliteDriver);
    seedFixture(database);
    const auto keys = std::make_shared<AccessKeys>(AccessKeys::parse("kitchen-0001-aaaaaaaa read=0001 write=0001\n"
                                                                     "watcher-cccccccccccc read=- write=- metrics\n"));
    ServerOptions options;
    options.database = database.config();
    options.listen = u"0.0.0.0"_s;
    options.port = 0;
    options.log = [](const QString&) {};
    options.tls = http::loadServerTls(dir.filePath(u"server.pem"_s), dir.filePath(u"server.key"_s));
    options.authorize = [keys](const CallAccess& call) { return keys->refusal(call.accessKey, call.method, call.arguments); };
    options.readsMetrics = [keys](const std::string& key) { return keys->readsMetrics(key); };
    AppServer server(options);
    const int port = server.start();

    struct Case {
        QString host;
        QByteArray key;
        int status;
    };
    const Case cases[] = {
        {address, {}, 403},
        {address, "kitchen-0001-aaaaaaaa", 403},
        {address, "watcher-cccccccccccd", 403},
        {address, "watcher-cccccccccccc", 200},
        {u"127.0.0.1"_s, {}, 200},
    };
    for (const Case& c : cases) {
        http::HttpConnection connection(c.host, port, dir.filePath(u"server.pem"_s));
        http::HttpConnection::Headers headers;
        if (!c.key.isEmpty())
            headers.emplaceBack("X-Access-Key", c.key);
        http::HttpConnection::Answer answer;
        ASSERT_EQ(connection.exchange("GET", "/metrics", headers, {}, std::chrono::seconds(10), answer),
                  http::HttpConnection::Failure::None);
        EXPECT_EQ(answer.status, c.status) << c.host.toStdString() << " " << c.key.constData();
        EXPECT_EQ(answer.body.contains("qmv_calls_total{"), c.status == 200) << c.key.constData();
    }
}

}  // namespace
}  // namespace qmv::appserver::test

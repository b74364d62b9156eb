// Round trips through the real client and the real application server (HTTP on loopback, SQLite)
// against the same work done in-process: GetSubGruSeMa of 1,000 sub-groups against its bare query, and
// a 549,999-byte photo written with SetFotoSeMa and read back with GetFotoSeMa against the bare UPDATE
// and SELECT (and against a file written, flushed with fdatasync and read back; the set and the get
// also alone). Prints each round trip's ratio to its baseline measured in the same run.
// With QMV_BENCH_PEER=<path to bench/peer> (bench/roundtrip/run.sh sets it) it also starts the peer
// endpoint (Node.js + better-sqlite3, bench/peer/server.js) on the same database and times the same
// client calling GetSubGruSeMa there, decoding its JSON answer into the same packet, against the
// application server's round trip.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QThread>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <unistd.h>

#include "appserver/appserver.h"
#include "appserver/database/sqlitestream.h"
#include "bench/common/interleaved.h"
#include "benchdatabase.h"
#include "peerprocess.h"
#include "host/checkresultserv.h"
#include "platform/packet.h"
#include "server/catalogue.h"
#include "server/loadresult.h"
#include "server/tnetconnection.h"

namespace qmv::bench {
namespace {

std::unique_ptr<TNetConnection> clientOn(int port)
{
    auto net = std::make_unique<TNetConnection>();
    net->setServerName(kServerName);
    net->beforeConnect = [port](TNetConnection& c) {
        c.setPort(port);
        c.setHost(QStringLiteral("127.0.0.1"));
    };
    return net;
}

// Connects once the server answers /health, trying for about ten seconds.
void connectWhenUp(TNetConnection& net)
{
    for (int attempt = 1;; ++attempt) {
        try {
            net.connect();
            return;
        } catch (const ConnectionError& error) {
            if (attempt == 100)
                qFatal("%s", qPrintable(error.message()));
        }
        QThread::msleep(100);
    }
}

struct World {
    BenchDatabase database;
    std::unique_ptr<appserver::AppServer> server;
    std::unique_ptr<TNetConnection> net;
    QSqlDatabase db;  // the in-process baseline's own connection
    BenchKey key;
    std::unique_ptr<PeerProcess> peer;  // with QMV_BENCH_PEER only
    std::unique_ptr<TNetConnection> peerNet;

    World()
    {
        server = quietServer(database.config());
        net = clientOn(server->start());
        net->connect();
        db = appserver::openDatabase(database.config(), QStringLiteral("qmv-bench-baseline"));
        if (const char* peerDir = std::getenv("QMV_BENCH_PEER"); peerDir && *peerDir)
            startPeer(QString::fromLocal8Bit(peerDir));
    }

    void startPeer(const QString& peerDir)
    {
        try {
            peer = std::make_unique<PeerProcess>(peerDir, database.config().sqliteFile);
        } catch (const std::exception& error) {
            qFatal("%s", error.what());
        }
        peerNet = clientOn(peer->port());
        connectWhenUp(*peerNet);
    }

    void stopPeer()
    {
        peerNet.reset();
        peer.reset();
    }
};

World& world()
{
    static World instance;
    return instance;
}

QSqlQuery prepared(const QString& sql)
{
    QSqlQuery q(world().db);
    q.setForwardOnly(true);
    if (!q.prepare(sql))
        qFatal("%s", qPrintable(q.lastError().text()));
    return q;
}

void execOrDie(QSqlQuery& q)
{
    if (!q.exec())
        qFatal("%s", qPrintable(q.lastError().text()));
}

// The client's own check and decoding. An unreadable packet would be shown to a person; the
// benchmark has none (checkedPacket finds no UI), so it stops, saying why the packet was refused.
DataPacket packetOf(const RemoteResult& result)
{
    if (!result.ok)
        qFatal("%s", qPrintable(result.error));
    try {
        return checkedPacket(result);
    } catch (const std::logic_error&) {
        try {
            (void)(result.encodedPayload.isEmpty() ? packetFromCbor(result.payload)
                                                   : decodePacket(result.encodedPayload));
        } catch (const PacketError& error) {
            qFatal("unreadable packet: %s", error.what());
        }
        throw;
    }
}

void BM_GetSubGruSeMa_BareQuery(benchmark::State& state)
{
    const BenchKey& k = world().key;
    QSqlQuery q = prepared(subGroupQuery());
    for (auto _ : state) {
        for (const QString& v : {k.branch, k.company, k.manual, k.service, k.serviceClass, k.cycle})
            q.addBindValue(v);
        execOrDie(q);
        int rows = 0;
        while (q.next()) {
            for (int c = 0; c < 28; ++c)
                benchmark::DoNotOptimize(q.value(c));
            ++rows;
        }
        if (rows != kSubGroups)
            qFatal("bare query returned %d rows", rows);
    }
}

// GetSubGruSeMa through the client, decoded into the packet, against the server at the other end of net.
void getSubGroups(benchmark::State& state, TNetConnection& net)
{
    const BenchKey& k = world().key;
    const QString serviceKey = k.service + k.serviceClass + k.cycle;
    for (auto _ : state) {
        const DataPacket packet = packetOf(GetSubGruSeMa(net, k.branch, k.company, k.manual, serviceKey,
                                                         QStringLiteral("2"), QStringLiteral("2")));
        if (packet.rows.size() != kSubGroups)
            qFatal("round trip returned %d rows", int(packet.rows.size()));
    }
}

void BM_GetSubGruSeMa_RoundTrip(benchmark::State& state)
{
    getSubGroups(state, *world().net);
}

// The round trip's two halves of work, each alone: the server's read of the rows into the packet's
// bytes, and the client's decoding of those bytes into the packet.
QByteArray subGroupBytes()
{
    const BenchKey& k = world().key;
    const RemoteResult result = GetSubGruSeMa(*world().net, k.branch, k.company, k.manual,
                                              k.service + k.serviceClass + k.cycle, QStringLiteral("2"),
                                              QStringLiteral("2"));
    if (!result.ok || result.encodedPayload.isEmpty())
        qFatal("no encoded packet to time");
    return result.encodedPayload;
}

void BM_GetSubGruSeMa_ServerRead(benchmark::State& state)
{
    const BenchKey& k = world().key;
    const QList<FieldDef> fields = decodePacket(subGroupBytes()).fields;
    const QVariantList params{k.branch, k.company, k.manual, k.service, k.serviceClass, k.cycle};
    for (auto _ : state)
        benchmark::DoNotOptimize(appserver::encodedPacketFromSqlite(world().db, subGroupQuery(), params, fields));
}

void BM_GetSubGruSeMa_ClientDecode(benchmark::State& state)
{
    const QByteArray bytes = subGroupBytes();
    state.SetLabel(std::to_string(bytes.size()) + " bytes");
    for (auto _ : state)
        benchmark::DoNotOptimize(decodePacket(bytes));
}

// The same client and call against the peer endpoint, which answers in JSON.
void BM_GetSubGruSeMa_Peer(benchmark::State& state)
{
    getSubGroups(state, *world().peerNet);
}

void BM_Photo_BareSql(benchmark::State& state)
{
    const BenchKey& k = world().key;
    QSqlQuery write = prepared(QStringLiteral("UPDATE FOTOSEMA SET FGESPEPROD = ? WHERE CDPRODUTO = ? AND CDESPEPROD = ?"));
    QSqlQuery read = prepared(QStringLiteral("SELECT CDPRODUTO, CDESPEPROD, FGESPEPROD FROM FOTOSEMA "
                                             "WHERE CDPRODUTO = ? AND CDESPEPROD = ?"));
    const QByteArray photos[2] = {benchPhoto(1), benchPhoto(2)};
    int turn = 0;
    for (auto _ : state) {
        write.addBindValue(photos[turn ^= 1]);
        write.addBindValue(k.photoSubGroup);
        write.addBindValue(k.photoCode);
        execOrDie(write);
        read.addBindValue(k.photoSubGroup);
        read.addBindValue(k.photoCode);
        execOrDie(read);
        if (!read.next() || read.value(2).toByteArray().size() != kPhotoBytes)
            qFatal("bare photo read failed");
    }
}

DataPacket readPhoto(World& w)
{
    return packetOf(GetFotoSeMa(*w.net, w.key.photoSubGroup, w.key.photoCode));
}

// Sends `photo` over the one in `current`, which then holds what the server stores.
void sendPhoto(World& w, DataPacket& current, const QByteArray& photo)
{
    Change change{ChangeKind::Update, current.rows.value(0), current.rows.value(0)};
    change.current[current.indexOf(QStringLiteral("FGESPEPROD"))] = photo;
    const RemoteResult sent = SetFotoSeMa(*w.net, ChangeSet{current.fields, {change}});
    if (!sent.ok)
        qFatal("%s", qPrintable(sent.error));
    current.rows[0] = change.current;
}

QByteArray photoOf(const DataPacket& packet)
{
    return packet.rows.value(0).value(packet.indexOf(QStringLiteral("FGESPEPROD"))).toByteArray();
}

void BM_Photo_SetAndGetRoundTrip(benchmark::State& state)
{
    World& w = world();
    const QByteArray photos[2] = {benchPhoto(3), benchPhoto(4)};
    DataPacket current = readPhoto(w);
    int turn = 0;
    for (auto _ : state) {
        sendPhoto(w, current, photos[turn ^= 1]);
        current = readPhoto(w);
        if (photoOf(current) != photos[turn])
            qFatal("the photo did not come back whole");
    }
}

// The round trip's two halves alone, so a regression shows where it is.
void BM_Photo_SetOnly(benchmark::State& state)
{
    World& w = world();
    const QByteArray photos[2] = {benchPhoto(7), benchPhoto(8)};
    DataPacket current = readPhoto(w);
    int turn = 0;
    for (auto _ : state)
        sendPhoto(w, current, photos[turn ^= 1]);
}

void BM_Photo_GetOnly(benchmark::State& state)
{
    World& w = world();
    for (auto _ : state)
        if (photoOf(readPhoto(w)).size() != kPhotoBytes)
            qFatal("the photo did not come back whole");
}

// The same bytes written to a file, flushed to the disk and read back: what storing a photo costs
// without any database or network.
void BM_Photo_FileWriteSyncRead(benchmark::State& state)
{
    const QByteArray photos[2] = {benchPhoto(5), benchPhoto(6)};
    const QString path = world().database.config().sqliteFile + QStringLiteral(".photo");
    int turn = 0;
    for (auto _ : state) {
        QFile out(path);
        if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(photos[turn ^= 1]) != kPhotoBytes
            || !out.flush() || ::fdatasync(out.handle()) != 0)
            qFatal("cannot write the photo file");
        out.close();
        QFile in(path);
        if (!in.open(QIODevice::ReadOnly) || in.readAll() != photos[turn])
            qFatal("cannot read the photo file back");
    }
}

BENCHMARK(BM_GetSubGruSeMa_BareQuery)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GetSubGruSeMa_RoundTrip)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GetSubGruSeMa_ServerRead)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GetSubGruSeMa_ClientDecode)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Photo_BareSql)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Photo_SetAndGetRoundTrip)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Photo_SetOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Photo_GetOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Photo_FileWriteSyncRead)->Unit(benchmark::kMillisecond);

void printRatio(const MedianReporter& reporter, const char* what, const std::string& trip,
                const std::string& base, double goal)
{
    const auto t = reporter.times.find(trip);
    const auto b = reporter.times.find(base);
    if (t == reporter.times.end() || b == reporter.times.end() || b->second <= 0)
        return;
    const double ratio = t->second / b->second;
    std::printf("ratio %-52s %8.3f ms / %8.3f ms = %5.2fx", what, t->second * 1e3, b->second * 1e3, ratio);
    if (goal > 0)
        std::printf("  (goal <= %.1fx: %s)", goal, ratio <= goal ? "met" : "NOT met");
    std::printf("\n");
}

}  // namespace
}  // namespace qmv::bench

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    // Round trips and baselines run in random interleaved repetitions, so that both see the same
    // state of the machine; the ratios use the medians.
    qmv::bench::initializeInterleaved(argc, argv);
    if (qmv::bench::world().peer)
        benchmark::RegisterBenchmark("BM_GetSubGruSeMa_Peer", qmv::bench::BM_GetSubGruSeMa_Peer)
            ->Unit(benchmark::kMillisecond);
    qmv::bench::MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\nRatios (round trip / in-process baseline, medians of interleaved runs):\n");
    qmv::bench::printRatio(reporter, "GetSubGruSeMa, 1,000 sub-groups", "BM_GetSubGruSeMa_RoundTrip",
                           "BM_GetSubGruSeMa_BareQuery", 1.2);
    qmv::bench::printRatio(reporter, "GetSubGruSeMa, 1,000 sub-groups, appserver/peer", "BM_GetSubGruSeMa_RoundTrip",
                           "BM_GetSubGruSeMa_Peer", 0.6);
    qmv::bench::printRatio(reporter, "Photo 549,999 bytes, set+get / bare UPDATE+SELECT", "BM_Photo_SetAndGetRoundTrip",
                           "BM_Photo_BareSql", 0);
    qmv::bench::printRatio(reporter, "Photo 549,999 bytes, set+get / file write+fdatasync+read",
                           "BM_Photo_SetAndGetRoundTrip", "BM_Photo_FileWriteSyncRead", 3.0);
    benchmark::Shutdown();
    qmv::bench::world().stopPeer();
    return 0;
}

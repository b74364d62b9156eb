// The cost of the history on writes: the same SetSubGruSeMa (one text of one sub-group) and the same
// 549,999-byte SetFotoSeMa sent through the real client to two servers on two copies of one database,
// one recording the history and one not, in random interleaved repetitions; prints the ratios.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QSqlQuery>
#include <cstdio>
#include <map>
#include <memory>

#include "appserver/appserver.h"
#include "appserver/database/dbconfig.h"
#include "bench/common/interleaved.h"
#include "benchdatabase.h"
#include "platform/packet.h"
#include "server/catalogue.h"
#include "server/loadresult.h"
#include "server/tnetconnection.h"

namespace qmv::bench {
namespace {

struct Side {
    BenchDatabase database;
    std::unique_ptr<appserver::AppServer> server;
    TNetConnection net;
    QString text = QStringLiteral("a");  // the sub-group's TXCOMSUMA as last written
    DataPacket photo;                    // the photo as last read

    explicit Side(bool recording)
    {
        appserver::ServerOptions options;
        options.database = database.config();
        options.port = 0;
        options.threads = 2;
        options.log = [](const QString&) {};
        options.recordHistory = recording;
        server = std::make_unique<appserver::AppServer>(options);
        const int port = server->start();
        net.setServerName(kServerName);
        net.beforeConnect = [port](TNetConnection& c) {
            c.setPort(port);
            c.setHost(QStringLiteral("127.0.0.1"));
        };
        net.connect();
        const BenchKey k;
        {
            QSqlDatabase db = appserver::openDatabase(database.config(), QStringLiteral("qmv-bench-history-seed"));
            QSqlQuery q(db);
            q.prepare(QStringLiteral("UPDATE SUBGRUSEMA SET TXCOMSUMA = 'a' WHERE CDSUBGRU = ?"));
            q.addBindValue(k.photoSubGroup);
            if (!q.exec())
                qFatal("cannot prepare the sub-group");
        }
        appserver::closeDatabase(QStringLiteral("qmv-bench-history-seed"));
        photo = loadPacketOrDie(GetFotoSeMa(net, k.photoSubGroup, k.photoCode));
    }

    static DataPacket loadPacketOrDie(const RemoteResult& result)
    {
        if (!result.ok)
            qFatal("%s", qPrintable(result.error));
        return decodePacket(result.encodedPayload);
    }

    void writeText()
    {
        const BenchKey k;
        const QList<FieldDef> fields = {{QStringLiteral("CDFILIAL")},  {QStringLiteral("CDCIA")},
                                        {QStringLiteral("CDMANCIA")},  {QStringLiteral("CDSERVICO")},
                                        {QStringLiteral("CDCLASSE")},  {QStringLiteral("CDCICLO")},
                                        {QStringLiteral("CDSUBGRU")},  {QStringLiteral("TXCOMSUMA")}};
        const Row key = {k.branch, k.company, k.manual, k.service, k.serviceClass, k.cycle, k.photoSubGroup};
        const QString next = text == QStringLiteral("a") ? QStringLiteral("b") : QStringLiteral("a");
        const RemoteResult sent = SetSubGruSeMa(
            net, ChangeSet{fields, {Change{ChangeKind::Update, key + Row{text}, key + Row{next}}}}, QString());
        if (!sent.ok)
            qFatal("%s", qPrintable(sent.error));
        text = next;
    }

    void writePhoto(const QByteArray& bytes)
    {
        const int blob = photo.indexOf(QStringLiteral("FGESPEPROD"));
        Change change{ChangeKind::Update, photo.rows.value(0), photo.rows.value(0)};
        change.current[blob] = bytes;
        const RemoteResult sent = SetFotoSeMa(net, ChangeSet{photo.fields, {change}});
        if (!sent.ok)
            qFatal("%s", qPrintable(sent.error));
        photo.rows[0] = change.current;
    }
};

Side& side(bool recording)
{
    static Side on(true), off(false);
    return recording ? on : off;
}

void BM_SetSubGruSeMa(benchmark::State& state)
{
    Side& s = side(state.range(0) != 0);
    for (auto _ : state)
        s.writeText();
}

void BM_SetFotoSeMa(benchmark::State& state)
{
    Side& s = side(state.range(0) != 0);
    const QByteArray photos[2] = {benchPhoto(11), benchPhoto(12)};
    int turn = 0;
    for (auto _ : state)
        s.writePhoto(photos[turn ^= 1]);
}

BENCHMARK(BM_SetSubGruSeMa)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SetFotoSeMa)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void printRatio(const MedianReporter& reporter, const char* what, const std::string& name, double goal)
{
    const double on = reporter.times.count(name + "/1") ? reporter.times.at(name + "/1") : 0;
    const double off = reporter.times.count(name + "/0") ? reporter.times.at(name + "/0") : 0;
    if (on <= 0 || off <= 0)
        return;
    std::printf("ratio %-40s %8.3f ms / %8.3f ms = %5.2fx  (goal <= %.1fx: %s)\n", what, on * 1e3, off * 1e3, on / off, goal,
                on / off <= goal ? "met" : "NOT met");
}

}  // namespace
}  // namespace qmv::bench

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    qmv::bench::initializeInterleaved(argc, argv);
    qmv::bench::MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\nRatios (recording on / off, medians of interleaved runs):\n");
    qmv::bench::printRatio(reporter, "SetSubGruSeMa, one text", "BM_SetSubGruSeMa", 1.3);
    qmv::bench::printRatio(reporter, "SetFotoSeMa, 549,999 bytes", "BM_SetFotoSeMa", 1.5);
    return 0;
}

// The largest manual of the demo database (every service) emitted as a PDF through the client and the
// in-process application server, against only reading it (the same calls, no document); prints the
// ratio, the pages, the peak memory of the process, and whether it kept under 10 s and 500 MB.
// QMV_EMISSION_PDF names a file that receives the last PDF written (for the screenshots).
#include <QApplication>
#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <chrono>
#include <cstdio>

#include "appserver/appserver.h"
#include "appserver/demo/demodata.h"
#include "bench/common/consoleui.h"
#include "host/ui.h"
#include "qmv01200/emissionsource.h"
#include "qmv01200/manualemission.h"
#include "server/tnetconnection.h"

namespace {

using namespace qmv;

using bench::ConsoleUi;

struct Demo {
    QTemporaryDir dir;
    std::unique_ptr<appserver::AppServer> server;
    std::unique_ptr<TNetConnection> connection;
    ManualSelection manual;
    int subgroups = 0;
    double readSeconds = 0, emitSeconds = 0;
    int pages = 0;
    qint64 pdfBytes = 0;

    Demo()
    {
        appserver::DbConfig db{appserver::Driver::Sqlite, dir.filePath("demo.sqlite"), {}};
        std::fprintf(stderr, "%s\n", qPrintable(appserver::createDemoDatabase(db)));
        largestManual(db);
        appserver::ServerOptions options;
        options.database = db;
        options.port = 0;
        options.threads = 4;
        options.log = [](const QString&) {};
        server = std::make_unique<appserver::AppServer>(options);
        const int port = server->start();
        connection = std::make_unique<TNetConnection>();
        connection->setServerName(QStringLiteral("Qmv00500.rdmFotoMontManual"));
        connection->beforeConnect = [port](TNetConnection& c) { c.setPort(port); };
        connection->connect();
    }

    void largestManual(const appserver::DbConfig& db)
    {
        {
            QSqlDatabase sql = appserver::openDatabase(db, QStringLiteral("bench"));
            QSqlQuery q(sql);
            q.exec(QStringLiteral("SELECT CDFILIAL, CDCIA, CDMANCIA, COUNT(*) FROM SUBGRUSEMA "
                                  "GROUP BY CDFILIAL, CDCIA, CDMANCIA ORDER BY 4 DESC, 1, 2, 3"));
            q.next();
            manual.branch = q.value(0).toString();
            manual.company = q.value(1).toString();
            manual.manual = q.value(2).toString();
            subgroups = q.value(3).toInt();
        }
        appserver::closeDatabase(QStringLiteral("bench"));
    }
};

Demo& demo()
{
    static Demo instance;
    return instance;
}

int emission(const QString& pdf)
{
    ServerEmissionSource source(*demo().connection, 3);
    ManualEmission job(source, demo().manual, EmissionOptions{});
    if (!pdf.isEmpty())
        job.toPdf(pdf);
    while (job.step()) {
    }
    if (!job.finished())
        throw std::runtime_error("a emissão não terminou");
    return pdf.isEmpty() ? 0 : job.document()->pageCount();
}

double seconds(const std::function<void()>& work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void BM_ReadManual(benchmark::State& state)
{
    for (auto _ : state)
        demo().readSeconds = seconds([] { emission({}); });
    state.counters["subgrupos"] = demo().subgroups;
}

void BM_EmitManualPdf(benchmark::State& state)
{
    const QString pdf = demo().dir.filePath("manual.pdf");
    for (auto _ : state)
        demo().emitSeconds = seconds([&] { demo().pages = emission(pdf); });
    demo().pdfBytes = QFileInfo(pdf).size();
    state.counters["paginas"] = demo().pages;
    if (const QByteArray copy = qgetenv("QMV_EMISSION_PDF"); !copy.isEmpty()) {
        QFile::remove(QString::fromLocal8Bit(copy));
        QFile::copy(pdf, QString::fromLocal8Bit(copy));
    }
}

BENCHMARK(BM_ReadManual)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();
BENCHMARK(BM_EmitManualPdf)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    ConsoleUi ui;
    setUi(&ui);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const double peakMb = usage.ru_maxrss / 1024.0;
    const Demo& d = demo();
    std::printf("\nManual %s/%s/%s: %d sub-grupos, %d páginas, PDF de %.1f MB\n", qPrintable(d.manual.branch),
                qPrintable(d.manual.company), qPrintable(d.manual.manual), d.subgroups, d.pages, d.pdfBytes / 1e6);
    std::printf("leitura %.2f s, emissão completa %.2f s (%.1fx a leitura); memória máxima %.0f MB\n",
                d.readSeconds, d.emitSeconds, d.readSeconds > 0 ? d.emitSeconds / d.readSeconds : 0.0, peakMb);
    const bool ok = d.emitSeconds < 10.0 && peakMb < 500.0;
    std::printf("%s: menos de 10 s e de 500 MB\n", ok ? "OK" : "FALHOU");
    demo().connection->disconnect();
    demo().server->stop();
    setUi(nullptr);
    return ok ? 0 : 1;
}

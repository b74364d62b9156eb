// The main screen offscreen with its real widgets over the real application server on a generated
// database: the time from leaving the service box to the sub-group grid painted, for services of 10,
// 1,000 and 10,000 sub-groups, and the time of a switch to the photo page showing a 549,999-byte
// JPEG. Controls are reached by their object names only, so that the same source measures any
// version of the screen.
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QRandomGenerator>
#include <QTest>
#include <benchmark/benchmark.h>
#include <memory>
#include <stdexcept>

#include "Cli_qmv00500/tfrmfotomontmanual.h"
#include "appserver/appserver.h"
#include "bench/common/consoleui.h"
#include "bench/roundtrip/benchdatabase.h"
#include "host/hostconfig.h"
#include "platform/dataset.h"

namespace {

using namespace qmv;

const QList<int> kServices = {10, 1000, 10000};

// A real JPEG (noise over a gradient, so that it decodes at full cost) padded to exactly
// bench::kPhotoBytes.
QByteArray photo()
{
    QImage image(1200, 900, QImage::Format_RGB32);
    QRandomGenerator random(7);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb((x / 5 + random.bounded(40)) & 0xff, (y / 4 + random.bounded(40)) & 0xff,
                                      random.bounded(256)));
    for (int quality = 90; quality > 5; quality -= 5) {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "JPEG", quality);
        if (bytes.size() <= bench::kPhotoBytes) {
            bytes.append(QByteArray(bench::kPhotoBytes - bytes.size(), '\0'));
            return bytes;
        }
    }
    throw std::runtime_error("no JPEG quality fits the photo's size");
}

template <typename T>
T& child(QWidget& form, const char* name)
{
    T* found = form.findChild<T*>(QLatin1String(name));
    if (!found)
        throw std::runtime_error(std::string("no control ") + name);
    return *found;
}

struct Screen {
    bench::BenchDatabase database{kServices, photo()};
    std::unique_ptr<appserver::AppServer> server;
    std::unique_ptr<TfrmFotoMontManual> form;
    int loadedService = 0;

    Screen()
    {
        server = bench::quietServer(database.config());
        HostConfig config;
        config.branchCode = QStringLiteral("0001");
        config.branchName = QStringLiteral("Cozinha Central");
        config.dbDriver = QStringLiteral("QSQLITE");
        config.dbName = database.config().sqliteFile;
        config.serverPort = server->start();
        setHostConfig(config);
        form.reset(TfrmFotoMontManual::create(nullptr));
        form->resize(1024, 700);
        form->show();
        QApplication::setActiveWindow(form.get());
        if (!QTest::qWaitForWindowActive(form.get()))
            throw std::runtime_error("the screen did not become active");
        type("medCdCia", QStringLiteral("AEREA"));
        type("medCdManCia", QStringLiteral("0001"));
    }

    ~Screen()
    {
        form.reset();
        server->stop();
    }

    QLineEdit& edit(const char* name) { return child<QLineEdit>(*form, name); }
    QAbstractItemView& grid() { return child<QAbstractItemView>(*form, "dbgPadrao"); }
    DataSet& subGroups() { return child<DataSet>(*form, "cdsSubGruSeMa"); }

    void type(const char* name, const QString& text)
    {
        QLineEdit& field = edit(name);
        field.setFocus(Qt::MouseFocusReason);
        field.selectAll();
        QTest::keyClicks(&field, text);
    }

    // Into the service box (the panel's enter closes the data), as the person comes back to it.
    void enterService() { edit("medCdServico").setFocus(Qt::MouseFocusReason); }

    // Out of the panel onto the grid, and the grid painted.
    void leaveService()
    {
        grid().setFocus(Qt::TabFocusReason);
        QCoreApplication::processEvents();
        grid().viewport()->repaint();
    }

    void load(int service)
    {
        if (loadedService == service)
            return;
        type("medCdServico", QStringLiteral("1.01.00%1").arg(service));
        leaveService();
        loadedService = service;
        if (subGroups().recordCount() != kServices[service - 1])
            throw std::runtime_error("the service did not load its sub-groups");
    }

    void trigger(const char* action)
    {
        QAction* entry = form->findChild<QAction*>(QLatin1String(action));
        if (!entry)
            throw std::runtime_error(std::string("no menu entry ") + action);
        entry->trigger();
        QCoreApplication::processEvents();
    }
};

// Built at first use, destroyed before the application.
std::unique_ptr<Screen> instance;

Screen& screen()
{
    if (!instance)
        instance = std::make_unique<Screen>();
    return *instance;
}

void BM_LeaveServiceToGridPainted(benchmark::State& state)
{
    const int service = int(state.range(0));
    screen().load(service);
    for (auto _ : state) {
        state.PauseTiming();
        screen().enterService();
        QCoreApplication::processEvents();
        state.ResumeTiming();
        screen().leaveService();
    }
    state.counters["subgrupos"] = screen().subGroups().recordCount();
}

// The photo page of the first sub-group, whose photo is the 549,999-byte JPEG, painted.
void BM_PageSwitchWithPhoto(benchmark::State& state)
{
    screen().load(1);
    screen().subGroups().locate(QStringLiteral("CDSUBGRU"), {QStringLiteral("B0001")});
    for (auto _ : state) {
        screen().trigger("mnuFormulario");
        child<QWidget>(*screen().form, "imgFotoServico").repaint();
        state.PauseTiming();
        if (!child<QWidget>(*screen().form, "tshFotoServ").isVisible()
            || child<DataSet>(*screen().form, "cdsFotoSeMa").recordCount() != 1)
            throw std::runtime_error("the photo page did not come up with the photo");
        screen().trigger("mnuFolhaDados");
        state.ResumeTiming();
    }
}

BENCHMARK(BM_LeaveServiceToGridPainted)->Arg(1)->Arg(2)->Arg(3)->Unit(benchmark::kMillisecond)->UseRealTime()
    ->Iterations(5);
BENCHMARK(BM_PageSwitchWithPhoto)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    bench::ConsoleUi ui;
    setUi(&ui);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    instance.reset();
    setUi(nullptr);
    return 0;
}

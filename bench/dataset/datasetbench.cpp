// The dataset's costs on a 100,000-row packet, each printed with its ratio ("x_decode") to a
// bare QCborValue decode of the same packet bytes measured first in the same run.
#include "platform/dataset.h"

#include <QCborValue>
#include <benchmark/benchmark.h>

namespace {

using namespace qmv;

constexpr int kRows = 100'000;
constexpr int kEdits = 1'000;

FieldDef def(const char* name, FieldKind kind, int size = 0)
{
    FieldDef f;
    f.name = QString::fromLatin1(name);
    f.kind = kind;
    f.size = size;
    return f;
}

// Ten columns shaped like a sub-group list: codes, descriptions, numbers, a date, some nulls.
QList<FieldDef> fields()
{
    return {def("CDSUBGRU", FieldKind::Text, 10),   def("CDSUBARV", FieldKind::Text, 20),
            def("DSSUBGRU", FieldKind::Text, 50),   def("NRORDSUMA", FieldKind::Text, 3),
            def("VRPELOADSUMA", FieldKind::Float),   def("QTITEM", FieldKind::Integer),
            def("DTEFETSUMA", FieldKind::DateTime),  def("TXCOMSUMA", FieldKind::Text, 200),
            def("CDCIA", FieldKind::Text, 4),        def("IDATIVO", FieldKind::FixedText, 1)};
}

const QByteArray& packetBytes()
{
    static const QByteArray bytes = [] {
        DataPacket packet;
        packet.fields = fields();
        const QDateTime base(QDate(2026, 1, 1), QTime(0, 0));
        for (int i = 0; i < kRows; ++i) {
            packet.rows.append(Row{QString::number(i).rightJustified(10, '0'),
                                   QStringLiteral("1.%1.%2").arg(i % 100, 2, 10, QChar('0')).arg(i % 1000, 3, 10, QChar('0')),
                                   QStringLiteral("Sub-grupo de montagem número %1").arg(i),
                                   QString::number(i % 999),
                                   i % 7 == 0 ? QVariant() : QVariant(i * 0.25),
                                   QVariant::fromValue<qint64>(i),
                                   i % 5 == 0 ? QVariant() : QVariant(base.addDays(i % 365)),
                                   i % 3 == 0 ? QVariant() : QVariant(QStringLiteral("Observação %1").arg(i)),
                                   QStringLiteral("0001"), QStringLiteral("S")});
        }
        return encodePacket(packet);
    }();
    return bytes;
}

void declare(DataSet& ds)
{
    for (const FieldDef& f : fields())
        ds.addField(f);
}

void BM_DecodeQCborValue(benchmark::State& state)
{
    const QByteArray& bytes = packetBytes();
    for (auto _ : state)
        benchmark::DoNotOptimize(QCborValue::fromCbor(bytes));
    state.SetBytesProcessed(state.iterations() * bytes.size());
}

void BM_LoadPacket(benchmark::State& state)
{
    const QByteArray& bytes = packetBytes();
    DataSet ds;
    declare(ds);
    for (auto _ : state) {
        ds.loadPacket(bytes);
        benchmark::DoNotOptimize(ds.recordCount());
        state.PauseTiming();
        ds.close();  // dropping the rows is not part of loading
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}

// The path of a packet that arrives inside a decoded reply: QCborValue first, then the dataset.
void BM_LoadFromCborValue(benchmark::State& state)
{
    const QByteArray& bytes = packetBytes();
    DataSet ds;
    declare(ds);
    for (auto _ : state) {
        ds.loadPacket(packetFromCbor(QCborValue::fromCbor(bytes)));
        benchmark::DoNotOptimize(ds.recordCount());
        state.PauseTiming();
        ds.close();
        state.ResumeTiming();
    }
}

void editRows(DataSet& ds)
{
    ds.first();
    for (int i = 0; i < kEdits; ++i) {
        ds.edit();
        ds.fieldByName("NRORDSUMA").setAsString(QString::number(i % 100));
        ds.fieldByName("VRPELOADSUMA").setAsFloat(i);
        ds.post();
        for (int skip = 0; skip < kRows / kEdits; ++skip)
            ds.next();
    }
}

void BM_EditAndPost1000(benchmark::State& state)
{
    DataSet ds;
    declare(ds);
    for (auto _ : state) {
        state.PauseTiming();
        ds.loadPacket(packetBytes());
        state.ResumeTiming();
        editRows(ds);
        benchmark::DoNotOptimize(ds.recNo());
    }
}

void BM_DeltaEncodeAndMerge(benchmark::State& state)
{
    DataSet ds;
    declare(ds);
    for (auto _ : state) {
        state.PauseTiming();
        ds.loadPacket(packetBytes());
        editRows(ds);
        state.ResumeTiming();
        const ChangeSet delta = ds.delta();
        benchmark::DoNotOptimize(encodeChangeSet(delta));
        ds.mergeChangeLog();
        if (ds.changeCount() != 0 || delta.changes.size() != kEdits)
            state.SkipWithError("the change set does not hold the edits");
    }
}

BENCHMARK(BM_DecodeQCborValue)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadPacket)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadFromCborValue)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EditAndPost1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DeltaEncodeAndMerge)->Unit(benchmark::kMillisecond);

// Adds each run's ratio to the baseline decode, measured first in the same run. CPU times are
// compared: the machine may be shared, and wall time then measures the neighbours.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        std::vector<Run> withRatio = runs;
        for (Run& run : withRatio) {
            if (run.run_name.function_name == "BM_DecodeQCborValue" && run.run_type == Run::RT_Iteration)
                baseline_ = run.GetAdjustedCPUTime();
            if (baseline_ > 0)
                run.counters["x_decode"] = benchmark::Counter(run.GetAdjustedCPUTime() / baseline_);
        }
        ConsoleReporter::ReportRuns(withRatio);
    }

private:
    double baseline_ = 0;
};

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}

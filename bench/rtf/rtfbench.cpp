// Reads and writes a 1 MB RTF document and prints each time as a ratio to QTextDocument::setHtml
// of the same content, measured in the same run.
#include "platform/rtfreader.h"
#include "platform/rtfwriter.h"

#include <QGuiApplication>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>

namespace {

struct Content {
    QByteArray rtf;
    QString html;
};

// Paragraphs of instructions with runs of fonts, sizes, styles and colours, bullets and accents,
// repeated until the RTF passes 1 MB.
void appendParagraphs(QTextCursor& c, int round)
{
    QTextCharFormat plain;
    plain.setFontFamilies(QStringList{"DejaVu Sans"});
    plain.setFontPointSize(11);
    QTextCharFormat strong = plain;
    strong.setFontWeight(QFont::Bold);
    strong.setForeground(QColor(0x20, 0x40, 0xA0));
    QTextCharFormat note = plain;
    note.setFontItalic(true);
    note.setFontUnderline(true);
    note.setFontPointSize(9);
    c.insertBlock(QTextBlockFormat(), plain);
    c.insertText(QStringLiteral("Passo %1: ").arg(round), strong);
    c.insertText("Coloque o arroz no centro do prato e a guarni\u00E7\u00E3o ao lado; ", plain);
    c.insertText("aque\u00E7a a 65 \u00B0C antes de servir", note);
    c.insertText(" \u2013 confira a por\u00E7\u00E3o {150 g}.", plain);
    QTextListFormat bullets;
    bullets.setStyle(QTextListFormat::ListDisc);
    c.insertBlock(QTextBlockFormat(), plain);
    c.createList(bullets);
    c.insertText("Prato raso aquecido, talheres e guardanapo dobrado", plain);
}

const Content& content()
{
    static const Content made = [] {
        QTextDocument doc;
        QTextCursor c(&doc);
        Content m;
        for (int round = 0; m.rtf.size() < 1024 * 1024; round += 50) {
            for (int i = 0; i < 50; ++i)
                appendParagraphs(c, round + i);
            m.rtf = qmv::writeRtf(doc);
        }
        m.html = doc.toHtml();
        return m;
    }();
    return made;
}

void readRtf(benchmark::State& state)
{
    for (auto _ : state) {
        QTextDocument doc;
        qmv::readRtf(content().rtf, doc);
        benchmark::DoNotOptimize(doc.blockCount());
    }
    state.SetBytesProcessed(state.iterations() * content().rtf.size());
}

void setHtml(benchmark::State& state)
{
    for (auto _ : state) {
        QTextDocument doc;
        doc.setHtml(content().html);
        benchmark::DoNotOptimize(doc.blockCount());
    }
}

void writeRtf(benchmark::State& state)
{
    QTextDocument doc;
    qmv::readRtf(content().rtf, doc);
    for (auto _ : state)
        benchmark::DoNotOptimize(qmv::writeRtf(doc).size());
}

void toHtml(benchmark::State& state)
{
    QTextDocument doc;
    doc.setHtml(content().html);
    for (auto _ : state)
        benchmark::DoNotOptimize(doc.toHtml().size());
}

BENCHMARK(readRtf)->Unit(benchmark::kMillisecond);
BENCHMARK(setHtml)->Unit(benchmark::kMillisecond);
BENCHMARK(writeRtf)->Unit(benchmark::kMillisecond);
BENCHMARK(toHtml)->Unit(benchmark::kMillisecond);

// Keeps each benchmark's CPU time per iteration (steadier than wall time on a shared machine)
// to print the ratios after the run.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& r : runs)
            if (r.run_type == Run::RT_Iteration && r.iterations > 0)
                seconds_[r.benchmark_name()] = r.cpu_accumulated_time / static_cast<double>(r.iterations);
    }
    double at(const std::string& name) const
    {
        const auto it = seconds_.find(name);
        return it == seconds_.end() ? 0 : it->second;
    }

private:
    std::map<std::string, double> seconds_;
};

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    std::printf("RTF document: %lld bytes; the same content as HTML: %lld characters\n",
                static_cast<long long>(content().rtf.size()), static_cast<long long>(content().html.size()));
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double html = reporter.at("setHtml");
    if (html > 0) {
        std::printf("readRtf / setHtml  = %.2f\n", reporter.at("readRtf") / html);
        std::printf("writeRtf / setHtml = %.2f\n", reporter.at("writeRtf") / html);
    }
    if (reporter.at("toHtml") > 0)
        std::printf("writeRtf / toHtml  = %.2f\n", reporter.at("writeRtf") / reporter.at("toHtml"));
    benchmark::Shutdown();
    return 0;
}

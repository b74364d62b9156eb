#include "appserver/http/metrics.h"

#include "platform/methodfacts.h"

#include <algorithm>

namespace qmv::appserver {

namespace {

constexpr const char* outcomeNames[callOutcomes] = {"ok", "refused", "bad_request", "forbidden", "not_found", "error"};

size_t seriesCount()
{
    return wire::remoteMethods().size() + 1;
}

QByteArray methodLabel(size_t index)
{
    const auto methods = wire::remoteMethods();
    return index < methods.size() ? methods[index].name.toLatin1() : QByteArrayLiteral("other");
}

QByteArray seconds(double value)
{
    return QByteArray::number(value, 'g', 12);
}

void header(QByteArray& out, const char* name, const char* type, const char* help)
{
    out += QByteArray("# HELP ") + name + ' ' + help + "\n# TYPE " + name + ' ' + type + '\n';
}

void sample(QByteArray& out, const char* name, const QByteArray& labels, const QByteArray& value)
{
    out += name;
    if (!labels.isEmpty())
        out += '{' + labels + '}';
    out += ' ' + value + '\n';
}

}  // namespace

CallMetrics::CallMetrics() : series_(std::make_unique<Series[]>(seriesCount())) {}

CallMetrics::~CallMetrics() = default;

void CallMetrics::record(QStringView method, CallOutcome outcome, std::chrono::nanoseconds elapsed)
{
    const auto methods = wire::remoteMethods();
    const wire::MethodFacts* facts = wire::methodFacts(method);
    Series& series = series_[facts ? size_t(facts - methods.data()) : methods.size()];
    series.calls[size_t(outcome)].fetch_add(1, std::memory_order_relaxed);
    const std::int64_t micros = std::chrono::duration_cast<std::chrono::microseconds>(elapsed).count();
    const auto bucket = std::lower_bound(bucketBounds.begin(), bucketBounds.end(), micros) - bucketBounds.begin();
    series.buckets[size_t(bucket)].fetch_add(1, std::memory_order_relaxed);
    series.nanoseconds.fetch_add(std::uint64_t(std::max<std::int64_t>(0, elapsed.count())), std::memory_order_relaxed);
}

void CallMetrics::renderCalls(QByteArray& out) const
{
    header(out, "qmv_calls_total", "counter", "Remote calls answered, by method and outcome.");
    for (size_t m = 0; m < seriesCount(); ++m)
        for (size_t o = 0; o < callOutcomes; ++o)
            sample(out, "qmv_calls_total", "method=\"" + methodLabel(m) + "\",outcome=\"" + outcomeNames[o] + '"',
                   QByteArray::number(series_[m].calls[o].load(std::memory_order_relaxed)));
}

void CallMetrics::renderLatency(QByteArray& out) const
{
    header(out, "qmv_call_duration_seconds", "histogram",
           "Time from a complete request to its answer, by method (database work included).");
    for (size_t m = 0; m < seriesCount(); ++m) {
        const Series& series = series_[m];
        const QByteArray method = "method=\"" + methodLabel(m) + '"';
        std::uint64_t cumulative = 0;
        for (size_t b = 0; b <= bucketBounds.size(); ++b) {
            cumulative += series.buckets[b].load(std::memory_order_relaxed);
            const QByteArray le = b < bucketBounds.size() ? seconds(double(bucketBounds[b]) / 1e6) : "+Inf";
            sample(out, "qmv_call_duration_seconds_bucket", method + ",le=\"" + le + '"', QByteArray::number(cumulative));
        }
        sample(out, "qmv_call_duration_seconds_sum", method,
               seconds(double(series.nanoseconds.load(std::memory_order_relaxed)) / 1e9));
        sample(out, "qmv_call_duration_seconds_count", method, QByteArray::number(cumulative));
    }
}

QByteArray CallMetrics::render(const ServerGauges& gauges) const
{
    QByteArray out;
    renderCalls(out);
    renderLatency(out);
    header(out, "qmv_database_errors_total", "counter",
           "Calls that failed inside the server (database unreachable, a statement failed, a connection lost) "
           "and reads repeated on a fresh database connection.");
    sample(out, "qmv_database_errors_total", {}, QByteArray::number(databaseErrors_.load(std::memory_order_relaxed)));
    header(out, "qmv_open_connections", "gauge", "HTTP connections open.");
    sample(out, "qmv_open_connections", {}, QByteArray::number(quint64(gauges.openConnections)));
    header(out, "qmv_idle_connections", "gauge", "Open connections kept alive, waiting for their next request.");
    sample(out, "qmv_idle_connections", {}, QByteArray::number(quint64(gauges.idleConnections)));
    header(out, "qmv_queued_calls", "gauge", "Complete requests waiting for a worker thread.");
    sample(out, "qmv_queued_calls", {}, QByteArray::number(quint64(gauges.queuedCalls)));
    if (gauges.photoBytes) {
        header(out, "qmv_photo_bytes", "gauge", "Bytes of the photos stored in the database, read when scraped.");
        sample(out, "qmv_photo_bytes", {}, QByteArray::number(*gauges.photoBytes));
    }
    return out;
}

}  // namespace qmv::appserver

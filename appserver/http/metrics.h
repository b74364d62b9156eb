#pragma once
// The server's running counts for GET /metrics: calls by method and outcome, a latency histogram
// per method and the database errors, recorded by every call with relaxed atomic increments only
// (no lock on the call path); rendered in the Prometheus text format together with the gauges the
// server reads when it is scraped. A name outside the method catalogue is counted as "other", so
// a caller cannot grow the set of series. Any thread.
#include <QByteArray>
#include <QStringView>

#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>

namespace qmv::appserver {

enum class CallOutcome { Ok, Refused, BadRequest, Forbidden, NotFound, Error };
inline constexpr size_t callOutcomes = 6;

// Read when scraped.
struct ServerGauges {
    size_t openConnections = 0;
    size_t idleConnections = 0;
    size_t queuedCalls = 0;
    std::optional<qint64> photoBytes;  // nothing when the database could not be read
};

class CallMetrics {
public:
    // Upper bounds of the latency buckets, in microseconds (rendered in seconds); +Inf follows.
    static constexpr std::array<std::int64_t, 14> bucketBounds = {500,     1'000,   2'500,     5'000,     10'000,
                                                                  25'000,  50'000,  100'000,   250'000,   500'000,
                                                                  1'000'000, 2'500'000, 5'000'000, 10'000'000};

    CallMetrics();
    ~CallMetrics();

    void record(QStringView method, CallOutcome outcome, std::chrono::nanoseconds elapsed);
    void databaseError() { databaseErrors_.fetch_add(1, std::memory_order_relaxed); }

    QByteArray render(const ServerGauges& gauges) const;

private:
    struct Series {
        std::array<std::atomic<std::uint64_t>, callOutcomes> calls{};
        std::array<std::atomic<std::uint64_t>, bucketBounds.size() + 1> buckets{};  // not cumulative
        std::atomic<std::uint64_t> nanoseconds{0};
    };
    void renderCalls(QByteArray& out) const;
    void renderLatency(QByteArray& out) const;

    std::unique_ptr<Series[]> series_;  // one per catalogue method, then "other"
    std::atomic<std::uint64_t> databaseErrors_{0};
};

}  // namespace qmv::appserver

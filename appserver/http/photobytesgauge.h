#pragma once
// The bytes of the stored photos for the metrics, read on a worker and kept: a scrape reports the
// last reading and never waits for a worker, so the metrics are served while every worker is busy
// (when they are most wanted). A reading older than `maxAge` asks for a new one, one at a time; a
// failed reading leaves the gauge out until one succeeds. Any thread.
#include <QtGlobal>

#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

namespace qmv::appserver {

class PhotoBytesGauge {
public:
    // Runs a task on a worker.
    using Schedule = std::function<void(std::function<void()> task)>;
    // On a worker: the bytes stored now; throws when the database cannot be read.
    using Read = std::function<qint64()>;

    PhotoBytesGauge(Schedule schedule, Read read, std::function<void()> failed, std::chrono::milliseconds maxAge);

    // The last reading, if the last one succeeded; asks for a new one when it is due.
    std::optional<qint64> current();

private:
    struct State {
        std::mutex mutex;
        std::optional<qint64> value;
        std::optional<std::chrono::steady_clock::time_point> readAt;
        bool pending = false;
    };
    static void refresh(const std::shared_ptr<State>& state, const Read& read, const std::function<void()>& failed);

    Schedule schedule_;
    Read read_;
    std::function<void()> failed_;
    std::chrono::milliseconds maxAge_;
    std::shared_ptr<State> state_;  // shared with a reading under way
};

}  // namespace qmv::appserver

#include "appserver/http/photobytesgauge.h"

namespace qmv::appserver {

PhotoBytesGauge::PhotoBytesGauge(Schedule schedule, Read read, std::function<void()> failed,
                                 std::chrono::milliseconds maxAge)
    : schedule_(std::move(schedule)), read_(std::move(read)), failed_(std::move(failed)), maxAge_(maxAge),
      state_(std::make_shared<State>())
{
}

std::optional<qint64> PhotoBytesGauge::current()
{
    const auto now = std::chrono::steady_clock::now();
    std::optional<qint64> value;
    {
        std::lock_guard lock(state_->mutex);
        value = state_->value;
        if (state_->pending || (state_->readAt && now - *state_->readAt < maxAge_))
            return value;
        state_->pending = true;
    }
    schedule_([state = state_, read = read_, failed = failed_] { refresh(state, read, failed); });
    return value;
}

void PhotoBytesGauge::refresh(const std::shared_ptr<State>& state, const Read& read, const std::function<void()>& failed)
{
    std::optional<qint64> value;
    try {
        value = read();
    } catch (const std::exception&) {
        failed();
    }
    std::lock_guard lock(state->mutex);
    state->value = value;
    state->readAt = std::chrono::steady_clock::now();
    state->pending = false;
}

}  // namespace qmv::appserver

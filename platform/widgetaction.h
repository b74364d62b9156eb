#pragma once
// Runs what a data-aware widget does for a person (move a grid's row, post, insert, write a field)
// so that no exception from a form's dataset handlers reaches the Qt event loop: the exception is
// handed to the sink the host installs (its guard). UI thread only.
#include <exception>
#include <functional>

namespace qmv {

using WidgetErrorSink = std::function<void(std::exception_ptr)>;

void setWidgetErrorSink(WidgetErrorSink sink);

// True when the action ran to its end; false when it threw (the sink has then seen it).
bool runWidgetAction(const std::function<void()>& action) noexcept;

}  // namespace qmv

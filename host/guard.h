#pragma once
// The host guard: every Qt slot that reaches module code runs through it. qmv::Abort ends the
// event silently; any other exception is shown through the UI seam. Nothing ever escapes into
// the Qt event loop. UI thread only.
#include <QString>
#include <exception>
#include <type_traits>
#include <utility>

#include "host/abort.h"

namespace qmv {

// Shows the text through the UI seam; never throws (falls back to the log when the seam fails).
void reportError(const QString& text) noexcept;
QString describeException(const std::exception& e);

// Runs f; returns true when it ran to its end, false when it was aborted or failed.
template <class F>
bool guard(F&& f) noexcept
{
    try {
        std::forward<F>(f)();
        return true;
    } catch (const Abort&) {
    } catch (const std::exception& e) {
        reportError(describeException(e));
    } catch (...) {
        reportError(QStringLiteral("Erro inesperado."));
    }
    return false;
}

// Wraps a callable so that every call goes through guard(); for connecting signals to handlers.
// A handler that takes no arguments may be connected to a signal that has some.
template <class F>
auto guarded(F f)
{
    return [f = std::move(f)](auto&&... args) mutable {
        guard([&] {
            if constexpr (std::is_invocable_v<F&, decltype(args)...>)
                f(std::forward<decltype(args)>(args)...);
            else
                f();
        });
    };
}

}  // namespace qmv

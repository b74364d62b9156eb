#include "platform/widgetaction.h"

#include <QtGlobal>

namespace qmv {

namespace {

WidgetErrorSink& sink()
{
    static WidgetErrorSink instance;
    return instance;
}

}  // namespace

void setWidgetErrorSink(WidgetErrorSink newSink)
{
    sink() = std::move(newSink);
}

bool runWidgetAction(const std::function<void()>& action) noexcept
{
    try {
        action();
        return true;
    } catch (...) {
        try {
            if (sink())
                sink()(std::current_exception());
            else
                qWarning("a widget action failed and no error sink is installed");
        } catch (...) {
            qCritical("the widget error sink threw");
        }
    }
    return false;
}

}  // namespace qmv

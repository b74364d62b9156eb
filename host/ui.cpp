#include "host/ui.h"

#include "host/guard.h"
#include "platform/widgetaction.h"

#include <stdexcept>

namespace qmv {

namespace {
Ui* installed = nullptr;
}

Ui& ui()
{
    if (!installed)
        throw std::logic_error("no user interface installed (qmv::setUi)");
    return *installed;
}

void setUi(Ui* implementation)
{
    installed = implementation;
    // What a data-aware widget's action throws is handled as the guard handles a slot's.
    setWidgetErrorSink([](std::exception_ptr error) { guard([&] { std::rethrow_exception(error); }); });
}

bool hasUi()
{
    return installed != nullptr;
}

QString Ui::openFileName(const QString& title, const QString& filter)
{
    return openFile({title, filter, 1, {}, FileOption::PathMustExist | FileOption::FileMustExist});
}

QString Ui::saveFileName(const QString& title, const QString& filter, const QString& defaultSuffix)
{
    return saveFile({title, filter, 1, defaultSuffix, FileOption::OverwritePrompt});
}

}  // namespace qmv

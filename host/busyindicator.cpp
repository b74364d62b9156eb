#include "host/busyindicator.h"

#include "host/ui.h"

namespace qmv {

namespace {
bool shown = false;
}

void ActiveShowAvi(QWidget* mainForm, int kind)
{
    ui().showBusy(mainForm, kind);
    shown = true;
}

void DeactiveShowAvi()
{
    if (!shown)
        return;
    shown = false;
    ui().hideBusy();
}

bool busyIndicatorShown()
{
    return shown;
}

BusyIndicator::BusyIndicator(QWidget* mainForm, int kind)
{
    ActiveShowAvi(mainForm, kind);
}

BusyIndicator::~BusyIndicator()
{
    DeactiveShowAvi();
}

}  // namespace qmv

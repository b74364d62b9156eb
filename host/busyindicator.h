#pragma once
// The host's busy animation around remote calls: ActiveShowAvi shows it with a kind (0 while the main
// screen is created, 1 before a change set is sent, 6 before a load), DeactiveShowAvi hides it and is a
// no-op while none is shown. One indicator at a time, like the host's single animation window.
// UI thread only.
class QWidget;

namespace qmv {

void ActiveShowAvi(QWidget* mainForm, int kind);
void DeactiveShowAvi();
bool busyIndicatorShown();

// Shows the indicator for its lifetime, so that it is hidden on every way out, an exception included.
class BusyIndicator {
public:
    BusyIndicator(QWidget* mainForm, int kind);
    ~BusyIndicator();
    BusyIndicator(const BusyIndicator&) = delete;
    BusyIndicator& operator=(const BusyIndicator&) = delete;
};

}  // namespace qmv

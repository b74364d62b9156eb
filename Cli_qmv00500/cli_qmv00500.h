#pragma once
// Unit Cli_qmv00500: the main screen's global instance, its single-instance flag, the module-wide
// flag boControle (true only while the dates of the first sub-group are copied to the others) and
// the creation procedure that IniProc calls. UI thread only.
#include <QPointer>
#include <QtGlobal>

namespace qmv {
class TfrmFotoMontManual;
}

namespace qmv::Cli_qmv00500 {

extern QPointer<TfrmFotoMontManual> frmFotoMontManual;
extern bool boStCriado;
extern bool boControle;

// Creates the main screen once (its creation connects to the application server; a failure leaves
// boStCriado false and propagates) and shows it as a child window of the host.
void CriaFotoMontManual();
// The global instance as a reference held in an integer, as the sibling screens receive it; 0 without one.
qlonglong mainFormReference();

void initialization() noexcept;
void finalization() noexcept;

}  // namespace qmv::Cli_qmv00500

#pragma once
// Unit Cli_qmv01200: the emission screen's global instance, its single-instance flag and its creation
// procedure. Opened from another screen (LoadBPL with that screen's code and its form as an integer
// reference), it starts from that screen's selection; opened alone, from the host's branch only.
// UI thread only.
#include <QPointer>
#include <QVariantList>

namespace qmv {
class TfrmEmissaoManual;
}

namespace qmv::Cli_qmv01200 {

extern QPointer<TfrmEmissaoManual> frmEmissaoManual;
extern bool boStCriado;

// Creates the screen once (its creation connects to the application server; a failure leaves
// boStCriado false and propagates) and shows it as a child window of the host. parameters: empty,
// or the caller's screen code and its form. A reference to a form that no longer exists is refused.
void CriaEmissaoManual(const QVariantList& parameters = {});

void initialization() noexcept;
void finalization() noexcept;

}  // namespace qmv::Cli_qmv01200

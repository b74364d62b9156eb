#pragma once
// Unit Cli_qmv00503: the photo import dialog's instance, its flag and stLista, the sub-groups last
// chosen from the list (kept while the package is loaded). UI thread only.
#include <QPointer>
#include <QString>

namespace qmv {
class TfrmImpFotoMan;
}

namespace qmv::Cli_qmv00503 {

extern QPointer<TfrmImpFotoMan> frmImpFotoMan;
extern bool boIdCriado;
extern QString stLista;
// The origin (branch, manual and service) stLista was chosen for.
extern QString stListaOrigem;

// Wait cursor from before the creation until the modal show has returned.
void CriaImpFotoMan();

void initialization() noexcept;
void finalization() noexcept;

}  // namespace qmv::Cli_qmv00503

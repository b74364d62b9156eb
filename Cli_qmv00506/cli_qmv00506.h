#pragma once
// Unit Cli_qmv00506: the observation editor's instance, its flag and stIdProgram (exported text that
// nothing in the module assigns or reads). UI thread only.
#include <QPointer>
#include <QString>

namespace qmv {
class TfrmObsSubGrupo;
}

namespace qmv::Cli_qmv00506 {

extern QPointer<TfrmObsSubGrupo> frmObsSubGrupo;
extern bool boStCriado;
extern QString stIdProgram;

// Wait cursor until the modal show has returned; then normal window state and default cursor.
void CriaObsSubGrupo();

void initialization() noexcept;
void finalization() noexcept;

}  // namespace qmv::Cli_qmv00506

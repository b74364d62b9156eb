#pragma once
// Unit Cli_qmv00502: the report parameters form's instance, its flag and its creation procedure.
// UI thread only.
#include <QPointer>

namespace qmv {
class TfrmRelFotoMan;
}

namespace qmv::Cli_qmv00502 {

extern QPointer<TfrmRelFotoMan> frmRelFotoMan;
extern bool boIdCriado;

// Wait cursor while creating, default cursor and normal window state before the modal show.
void CriaRelFotoMan();

void initialization() noexcept;
void finalization() noexcept;

}  // namespace qmv::Cli_qmv00502

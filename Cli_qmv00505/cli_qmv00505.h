#pragma once
// Unit Cli_qmv00505: the equipment inclusion dialog's instance, its flag and boTeclou (a toggle asked
// for from the keyboard). UI thread only.
#include <QPointer>

namespace qmv {
class TfrmCadAutEquip;
}

namespace qmv::Cli_qmv00505 {

extern QPointer<TfrmCadAutEquip> frmCadAutEquip;
extern bool boStCriado;
extern bool boTeclou;

// Wait cursor until the modal show has returned; then normal window state and default cursor.
void CriaIncluEqui();

void initialization() noexcept;
void finalization() noexcept;

}  // namespace qmv::Cli_qmv00505

#pragma once
// Unit Cli_qmv00507: the history dialog of the main screen's current sub-group. UI thread only.
namespace qmv::Cli_qmv00507 {

// Shows the dialog modally with the wait cursor until it is built; it is deleted when it closes.
void CriaHistSubGrupo();

}  // namespace qmv::Cli_qmv00507

#pragma once
// "Histórico..." of the photo screen: on the maintenance menu (Ctrl+H) and on the sub-group sheet's
// context menu, opening the current sub-group's history. UI thread only.
namespace qmv {

class TfrmPadraoGrid;

void addHistoryEntry(TfrmPadraoGrid& form);

}  // namespace qmv

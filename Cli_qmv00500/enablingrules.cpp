#include "Cli_qmv00500/enablingrules.h"

namespace qmv {

Enabling enablingFor(const ScreenState& s)
{
    const bool browse = s.state == DataSetState::Browse;
    const bool editing = s.state == DataSetState::Edit || s.state == DataSetState::Insert;
    const bool onPhoto = s.page == MainPage::FotoServ;
    const bool onEquipment = s.inner == InnerPage::Equipamento;
    const bool onInstructions = s.inner == InnerPage::InstMont;
    Enabling e;
    e.incluir = onPhoto && browse && (onEquipment || (onInstructions && s.empty)) && !s.autoDisplay;
    e.excluir = onPhoto && onEquipment && browse && !s.empty && !s.autoDisplay;
    // Elsewhere edit is the base form's, but never while the display walks the sub-groups.
    if (onPhoto || s.autoDisplay)
        e.alterar = onPhoto && (onInstructions || onEquipment) && browse && !s.empty && !s.autoDisplay;
    e.procurar = browse && !s.empty && !onPhoto;
    e.verificar = browse && !s.empty;
    e.filtro = !editing;
    e.autoExibe = !editing && !s.subGroupsEmpty;
    e.panel = !editing;
    // The pages that show a sub-group's data need one to show.
    for (int p = 0; p < 3; ++p) {
        const bool needsSubGroup = p != static_cast<int>(MainPage::SubGrupo) && s.subGroupsEmpty;
        e.pages[p] = (!editing || p == static_cast<int>(s.page)) && !needsSubGroup;
    }
    for (int q = 0; q < 3; ++q)
        e.inner[q] = !editing || q == static_cast<int>(s.inner);
    return e;
}

PanelLock panelLock(bool loaded, bool subGroupsEmpty)
{
    PanelLock lock;
    lock.commands = loaded;
    lock.dataSheets = loaded && !subGroupsEmpty;
    return lock;
}

}  // namespace qmv

#pragma once
// Which commands, pages and menu entries the main screen offers in each state: a pure function of
// the page in view, the inner page, the state of the dataset behind the commands, whether that
// dataset is empty, whether the automatic display runs, and whether the sub-group list is empty or
// closed; and what the selection panel locks until a selection is loaded. Any thread.
#include <array>
#include <optional>

#include "platform/dataset.h"

namespace qmv {

enum class MainPage { SubGrupo, FotoServ, ProdRec };
enum class InnerPage { InstMont, Equipamento, DadosAdic };

struct ScreenState {
    MainPage page = MainPage::SubGrupo;
    InnerPage inner = InnerPage::InstMont;
    DataSetState state = DataSetState::Inactive;
    bool empty = true;            // the dataset behind the commands has no rows
    bool autoDisplay = false;     // the automatic display runs
    bool subGroupsEmpty = true;   // the sub-group list has no rows, or is closed
};

struct Enabling {
    bool incluir = false;
    bool excluir = false;
    std::optional<bool> alterar;  // left as the base form set it when not decided
    bool procurar = false;
    bool verificar = false;
    bool filtro = false;
    bool autoExibe = false;
    bool panel = false;        // the selection panel's controls, and the branch's tab stop
    std::array<bool, 3> pages{};  // Sub-Grupo, Foto Sub-Grupo, Produto/Receita
    std::array<bool, 3> inner{};  // Instruções de Montagem, Equipamentos, Dados Adicionais
};

Enabling enablingFor(const ScreenState& s);

// What the selection panel decides: while no selection is loaded the screen's own commands and the
// sheets that show a sub-group's data are locked; once a service is loaded its commands are on,
// also without sub-groups, and those sheets are on when it has sub-groups.
struct PanelLock {
    std::optional<bool> commands;  // filter, automatic display, manual emission, photo import
    bool dataSheets = false;  // "Foto Sub-Grupo" with its instructions, and "Produto/Receita"
};

PanelLock panelLock(bool loaded, bool subGroupsEmpty);

}  // namespace qmv

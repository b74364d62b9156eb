#pragma once
// ScreenPages: the pages beside the base form's sheet "Sub-Grupo": "Foto Sub-Grupo" (the photo on
// the left of its splitter, the inner page control pgcSubGrupo with "Instruções de Montagem",
// "Equipamentos" and "Dados Adicionais" on the right) and "Produto/Receita", with their entries in
// the operations menu. It points the base form's dtsPadrao at the dataset of the page in view and
// loads that page's data for the current sub-group. The parts shown on its sheets are built into
// them and handed over once built (attach); until then no page routine runs. UI thread only.
#include <QObject>
#include <QString>
#include <array>
#include <optional>

#include "Cli_qmv00500/enablingrules.h"

class QAction;
class QMenu;
class QSplitter;
class QWidget;

namespace qmv {

class DataSet;
class DataSource;
class DatesSheet;
class EquipmentList;
class InstructionsSheet;
class PhotoPage;
class ProductList;
class SelectionPanel;
class SubGroupSheet;
class TCustomPageControl98;

class ScreenPages : public QObject {
    Q_OBJECT
public:
    struct Screen {
        TCustomPageControl98& pages;  // the base form's page control with its sheet "Sub-Grupo"
        QWidget& subGroupSheet;
        DataSource& commandSource;  // dtsPadrao: the commands act on its dataset
        QMenu& operations;          // the page entries go ahead of its own
        const SelectionPanel& selection;  // the branch the products are read for
    };
    struct Parts {
        SubGroupSheet& subGroups;
        PhotoPage& photo;
        InstructionsSheet& instructions;
        EquipmentList& equipment;
        DatesSheet& dates;
        ProductList& products;
    };
    ScreenPages(const Screen& screen, QObject* parent);
    void attach(const Parts& parts);

    QWidget& sheet(MainPage page) const;
    QWidget& innerSheet(InnerPage page) const;
    TCustomPageControl98& inner() const { return *pgcSubGrupo_; }
    QSplitter& photoSplit() const { return *splFotoServ_; }
    MainPage inView() const;
    InnerPage innerInView() const;

    // A page brought to the front from code, with its data as when chosen.
    void show(MainPage page);
    // The sheet and the instructions in front, nothing loaded: the screen without a selection.
    void showFirst();
    // "Foto Sub-Grupo" with its instructions, and "Produto/Receita"; the menu entries follow.
    void setDataSheetsEnabled(bool enabled);
    void setEnabled(const std::array<bool, 3>& pages, const std::array<bool, 3>& inner);

    void loadPageData(DataSet& target);
    // After the server refused a change: what it holds, on the same sub-group.
    void reloadAfterRefusal(DataSet& target);
    // The data in view read again; the photo stays and dtsPadrao keeps its dataset.
    void reloadInView();
    // The caption of the page whose record waits in edit; empty when none does.
    QString pendingPage() const;
    // The dataset of any page with a record in edit or insert, or null.
    DataSet* pendingEdit() const;

    void pgcPadraoChange();
    void pgcSubGrupoChange();
    void mnuFolhaDadosClick();
    void mnuFormularioClick();
    void mnuProdRecClick();

private:
    void build();
    void buildMenus();
    void bind();
    void showInstructions();
    void checkMenus(MainPage page);

    Screen screen_;
    std::optional<Parts> parts_;
    QWidget* tshFotoServ_ = nullptr;
    QWidget* tshProdRec_ = nullptr;
    QSplitter* splFotoServ_ = nullptr;
    TCustomPageControl98* pgcSubGrupo_ = nullptr;
    std::array<QWidget*, 3> inner_{};  // tshInstMont, tshEquipamento, tshDadosAdic
    std::array<QAction*, 3> entries_{};  // mnuFolhaDados, mnuFormulario, mnuProdRec
};

}  // namespace qmv

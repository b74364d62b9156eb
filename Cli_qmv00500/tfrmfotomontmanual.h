#pragma once
// The main screen "Foto Montagem do Manual" (QMV00500) on the standard grid form: the selection panel,
// the sub-group sheet, the photo page with its inner sheets (instructions, equipment, additional data),
// the product/recipe page, the screen's own commands and menus, and the connection netFotoMantMan
// that it opens at creation and closes when it is closed. The sub-group sheet, the photo, the three
// inner sheets, the product page, the pages and the commands are parts that own their controls and
// datasets; the form builds them, wires them to each other, and offers each part, not its controls.
// Built through create(); every control's objectName is its name. UI thread only.
#include <QString>
#include <memory>

#include "host/tfrmpadraogrid.h"
#include "host/ui.h"
#include "lookup/selectionpanel.h"
#include "screenlink/mainscreen.h"
#include "server/transport.h"

class QFrame;
class QLineEdit;

namespace qmv {

class DataSet;
class DataSource;
class DatesSheet;
class EquipmentList;
class InstructionsSheet;
class PhotoPage;
class ProductList;
class ScreenCommands;
class ScreenPages;
class SubGroupSheet;
struct PanelLock;
class TNetConnection;
class Transport;

class TfrmFotoMontManual : public TfrmPadraoGrid, public MainScreen {
    Q_OBJECT
    // The selection key, readable by name by the sibling screens this one opens.
    Q_PROPERTY(QString stCdCia READ stCdCia)
    Q_PROPERTY(QString stCdManCia READ stCdManCia)
    Q_PROPERTY(QString stCdServico READ stCdServico)
    Q_PROPERTY(QString stCdClasse READ stCdClasse)
    Q_PROPERTY(QString stCdCiclo READ stCdCiclo)
public:
    // Builds the screen and runs its creation handler, which connects to the application server.
    // A failed creation destroys the half-built screen and propagates. Without a transport the
    // connection speaks HTTP.
    static TfrmFotoMontManual* create(QWidget* parent, std::unique_ptr<Transport> transport = {});
    ~TfrmFotoMontManual() override;

    void FormCreate() override;
    void FormClose(TCloseAction& action) override;

    // The frame of the selection panel.
    QFrame* panFiltro = nullptr;

    // Connection and data.
    TNetConnection* netFotoMantMan = nullptr;

    // The selection panel's rows, their lookups and the key they validated.
    SelectionPanel& selection() const { return *selection_; }
    // The sheet "Sub-Grupo": the service's sub-groups and the current one.
    SubGroupSheet& subGroupSheet() const { return *subGroups_; }
    // The sheet "Dados Adicionais": dates and principal sub-group.
    DatesSheet& dates() const { return *dates_; }
    // The page "Produto/Receita".
    ProductList& products() const { return *products_; }
    // The sheet "Equipamentos".
    EquipmentList& equipmentList() const { return *equipment_; }
    // The sheet "Instruções de Montagem".
    InstructionsSheet& instructions() const { return *instructions_; }
    // The photo of "Foto Sub-Grupo".
    PhotoPage& photo() const { return *photo_; }
    // The pages "Foto Sub-Grupo" and "Produto/Receita", the inner pages and the page in view.
    ScreenPages& pages() const { return *pages_; }
    // The screen's own commands and the automatic display.
    ScreenCommands& commands() const { return *commands_; }
    // Whether the pages hold a loaded selection: false from creation until the panel's exit has
    // loaded one, and again from the panel's enter. While false the sheets that need data, their
    // menus and the screen's commands stay locked; enabling rules must leave them so.
    bool loaded() const { return loaded_; }

protected:
    bool event(QEvent* event) override;

private:
    TfrmFotoMontManual(QWidget* parent, std::unique_ptr<Transport> transport);

    // The handlers, under their names; the controls, datasets and timers call them.
    void FormActivate();
    void netFotoMantManBeforeConnect(TNetConnection& sender);
    void sbtImprimirClick() override;

    // The page routine and the commands, as the base form and the page control call them.
    void pgcPadraoChange();
    void dtsPadraoStateChange() override;
    void sbtIncluirClick() override;
    void sbtConfirmarClick() override;
    void sbtVerificarClick() override;
    void sbtProcurarClick() override;
    void FormKeyDown(int& key, Qt::KeyboardModifiers shift) override;
    void applyPanelLock(const PanelLock& lock);
    bool recordPending() const;

    // Selection panel: the branch's check, the panel's enter and exit, and the lock until a
    // selection is loaded.
    void Vd_Filial(bool required);
    void panFiltroEnter();
    void panFiltroExit();
    void lockPages();
    void focusFirstSelectionField();

    // What the dialogs see of this screen (dialoglink.cpp).
    LoadedKey loadedKey() const override;
    ShownSelection shownSelection() const override;
    TNetConnection& connection() override;
    void reloadSubGroups(const QString& photoFilter, const QString& instrFilter) override;
    void setSubGroupPagesEnabled(bool enabled) override;
    void refreshSubGroup() override;
    DataSet& subGroup() override;
    DataSource& subGroupSource() override;
    DataSet& equipment() override;
    TfrmPadraoGrid& listing() override;
    QString fieldCaption(const QString& table, const QString& column) const override;

    // One per concern: the parts, built into the sheets and bars the form gives them.
    void buildMessages();
    void buildSelection();
    void buildSubGroupSheet();
    void buildPages();
    void buildCommands();
    void selectionFormCreate();

    // The selection key as last chosen or validated, readable by name by the sibling screens.
    QString stCdCia() const;
    QString stCdManCia() const;
    QString stCdServico() const;
    QString stCdClasse() const;
    QString stCdCiclo() const;

    // The selection panel's rows and its service list, as the panel built them (selection()).
    QLineEdit* medFilial = nullptr;
    QLineEdit* edtNmFilial = nullptr;
    QLineEdit* medCdCia = nullptr;
    QLineEdit* edtNmCia = nullptr;
    QLineEdit* medCdManCia = nullptr;
    QLineEdit* edtDsManCia = nullptr;
    QLineEdit* medCdServico = nullptr;
    QLineEdit* edtDsServico = nullptr;
    DataSet* cdsServManual = nullptr;
    SelectionPanel* selection_ = nullptr;
    SubGroupSheet* subGroups_ = nullptr;
    DatesSheet* dates_ = nullptr;
    ProductList* products_ = nullptr;
    EquipmentList* equipment_ = nullptr;
    InstructionsSheet* instructions_ = nullptr;
    PhotoPage* photo_ = nullptr;
    ScreenPages* pages_ = nullptr;
    ScreenCommands* commands_ = nullptr;
    bool loaded_ = false;  // see loaded()
};

}  // namespace qmv

#pragma once
// The main screen "Foto Montagem do Manual" (QMV00500) on the standard grid form: the selection panel,
// the sub-group sheet, the photo page with its inner sheets (instructions, equipment, additional data),
// the product/recipe page, the screen's own commands and menus, its datasets, and the connection
// netFotoMantMan that it opens at creation and closes when it is closed. Built through create();
// every control's objectName is its name here. UI thread only.
#include <QString>
#include <memory>

#include "host/tfrmpadraogrid.h"
#include "host/ui.h"
#include "screenlink/mainscreen.h"
#include "server/transport.h"

class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QScrollArea;
class QSplitter;
class QTimer;

namespace qmv {

class DBEdit;
class DBGrid;
class DBRichEdit;
class DataSet;
class DataSource;
class Field;
class SelectionPanel;
class TBtnPesquisa;
class TButtonFlat;
class TCustomPageControl98;
class TDBDateEditPlus;
class TEDBImage;
class TFormatPanel;
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
    void FormActivate();
    void netFotoMantManBeforeConnect(TNetConnection& sender);
    void sbtImprimirClick() override;
    void sbtManualCiaClick();

    // The sub-group sheet.
    void cdsSubGruSeMaAfterOpen(DataSet& sender);
    void cdsSubGruSeMaAfterScroll(DataSet& sender);
    void cdsSubGruSeMaBeforeInsert(DataSet& sender);
    void cdsSubGruSeMaBeforeDelete(DataSet& sender);
    void cdsSubGruSeMaBeforeScroll(DataSet& sender);
    void cdsSubGruSeMaBeforePost(DataSet& sender);
    void cdsSubGruSeMaAfterPost(DataSet& sender);
    void cdsSubGruSeMaCalcFields(DataSet& sender);
    void cdsSubGruSeMaVRPELOADSUMAGetText(Field& sender, QString& text, bool displayText);
    void dbgPadraoEditButtonClick(DBGrid& sender, int column);
    void dbgPadraoKeyDown(DBGrid& sender, int& key, Qt::KeyboardModifiers shift);
    void dbgPadraoKeyPress(DBGrid& sender, QChar& key);

    // Pages and commands.
    void pgcPadraoChange();
    void pgcSubGrupoChange();
    void dtsPadraoStateChange() override;
    void sbtIncluirClick() override;
    void sbtConfirmarClick() override;
    void sbtVerificarClick() override;
    void sbtProcurarClick() override;
    void FormKeyDown(int& key, Qt::KeyboardModifiers shift) override;
    void mnuFolhaDadosClick();
    void mnuFormularioClick();
    void mnuProdRecClick();
    void sbtFiltroDClick();
    // True while a record of any of the screen's datasets is being edited or inserted: the current
    // sub-group then stays where it is.
    bool recordPending() const;
    // Loads the service's sub-groups; the filters are "0" with the photo or instructions, "1"
    // without, "2" all.
    void loadSubGroups(const QString& photoFilter = QStringLiteral("2"),
                       const QString& instrFilter = QStringLiteral("2"));
    // The pages that show a sub-group's data ("Foto Sub-Grupo" with its instructions, and
    // "Produto/Receita") and their menu entries.
    void enableSubGroupPages(bool enabled);

    // Photos and the automatic display.
    void btpFotoServClick();
    void sbtDelFotoServClick();
    void chbAjustarFtoServClick();
    void cdsFotoSeMaAfterPost(DataSet& sender);
    void cdsFotoSeMaAfterDelete(DataSet& sender);
    void dtsFotoSeMaStateChange();
    void sbtAutoExibeClick();
    void tmrExibeAutoTimer();

    // Dates and principal sub-group: the checks and the copy that the sub-group sheet and the
    // confirm command call.
    void dbeCdSubGruPriExit();
    void dbeCdSubGruPriChange();
    void CopiaDatas();

    // The equipment list and the product/recipe list of the current sub-group.
    void cdsEquiSubSeMaBeforeInsert(DataSet& sender);
    void cdsEquiSubSeMaBeforePost(DataSet& sender);
    void cdsEquiSubSeMaAfterDelete(DataSet& sender);  // also after post
    void cdsEquiSubSeMaAfterCancel(DataSet& sender);
    void dbgEquiSubSeMaKeyDown(DBGrid& sender, int& key, Qt::KeyboardModifiers shift);
    void cdsProRecSeMaBeforeInsert(DataSet& sender);
    void cdsProRecSeMaBeforePost(DataSet& sender);
    void cdsProRecSeMaAfterPost(DataSet& sender);  // also after delete
    void cdsProRecSeMaNRORDEMSetText(Field& sender, const QString& text);
    void cdsProRecSeMaCODIGOGetText(Field& sender, QString& text, bool displayText);

    // Command bar.
    TButtonFlat* sbtFiltroD = nullptr;
    TButtonFlat* sbtAutoExibe = nullptr;
    TButtonFlat* sbtManualCia = nullptr;
    TButtonFlat* sbtImpFoto = nullptr;
    QLabel* imgCheck = nullptr;
    QLabel* imgUncheck = nullptr;
    QLabel* imgDesCheck = nullptr;
    QLabel* imgDesUnCheck = nullptr;
    QLabel* imgCheck2 = nullptr;
    QLabel* imgUncheck2 = nullptr;

    // Selection panel.
    QFrame* panFiltro = nullptr;
    QLabel* lblFilial = nullptr;
    QLineEdit* medFilial = nullptr;
    TBtnPesquisa* btnFilial = nullptr;
    QLineEdit* edtNmFilial = nullptr;
    QLabel* lblCompanhia = nullptr;
    QLineEdit* medCdCia = nullptr;
    TBtnPesquisa* btpCompanhia = nullptr;
    QLineEdit* edtNmCia = nullptr;
    QLabel* lblManual = nullptr;
    QLineEdit* medCdManCia = nullptr;
    TBtnPesquisa* btpManualCia = nullptr;
    QLineEdit* edtDsManCia = nullptr;
    QLabel* lblServico = nullptr;
    QLineEdit* medCdServico = nullptr;
    TBtnPesquisa* btpServManual = nullptr;
    QLineEdit* edtDsServico = nullptr;
    QLineEdit* edtClasse = nullptr;
    QLineEdit* edtCiclo = nullptr;

    // Pages.
    QWidget* tshFotoServ = nullptr;
    QWidget* tshProdRec = nullptr;
    TCustomPageControl98* pgcSubGrupo = nullptr;
    QWidget* tshInstMont = nullptr;
    QWidget* tshEquipamento = nullptr;
    QWidget* tshDadosAdic = nullptr;

    // Photo area.
    QSplitter* splFotoServ = nullptr;
    TBtnPesquisa* btpFotoServ = nullptr;
    TButtonFlat* sbtDelFotoServ = nullptr;
    QCheckBox* chbAjustarFtoServ = nullptr;
    QScrollArea* scbFormulario = nullptr;
    TEDBImage* imgFotoServico = nullptr;
    QTimer* tmrExibeAuto = nullptr;
    FileDialogSpec opdImagem;

    // Assembly instructions.
    TButtonFlat* sbtImp = nullptr;
    TButtonFlat* sbtSalva = nullptr;
    TFormatPanel* fpnMontagem = nullptr;
    DBRichEdit* dbrMontServico = nullptr;
    QMenu* pmnImporta = nullptr;
    QAction* mnuImpArquivo = nullptr;
    QAction* mnuImpInst = nullptr;
    FileDialogSpec odgMontServico;
    FileDialogSpec sdgMontServico;
    void sbtImpClick();
    void mnuImpArquivoClick();
    void mnuImpInstClick();
    void sbtSalvaClick();
    void cdsFotoSubMaBeforePost(DataSet& sender);
    void cdsFotoSubMaAfterPost(DataSet& sender);

    // Equipment and products.
    DBGrid* dbgEquiSubSeMa = nullptr;
    DBGrid* dbgProRecSeMa = nullptr;

    // Additional data: principal sub-group and dates.
    QGroupBox* grbSubGruPri = nullptr;
    DBEdit* dbeCdSubGruPri = nullptr;
    TBtnPesquisa* btpSubGruPrin = nullptr;
    DBEdit* dbeDsSubGruPri = nullptr;
    QGroupBox* grbDatas = nullptr;
    TDBDateEditPlus* depApresent = nullptr;
    TDBDateEditPlus* depEfetivacao = nullptr;
    TDBDateEditPlus* depRevisao = nullptr;
    QLineEdit* edtNmDiaApre = nullptr;
    QLineEdit* edtNmDiaEfet = nullptr;
    QLineEdit* edtNmDiaRevi = nullptr;

    // Menu entries of the screen.
    QAction* mnuFolhaDados = nullptr;
    QAction* mnuFormulario = nullptr;
    QAction* mnuProdRec = nullptr;
    QAction* mnuFiltro = nullptr;
    QAction* mnuExibeAuto = nullptr;
    QAction* mnuDirFoto = nullptr;
    QAction* mnuEmiteManual = nullptr;
    QAction* mnuImpFoto = nullptr;

    // Connection and data.
    TNetConnection* netFotoMantMan = nullptr;
    DataSet* cdsServManual = nullptr;
    DataSet* cdsSubGruSeMa = nullptr;
    DataSet* cdsFotoSeMa = nullptr;
    DataSet* cdsFotoSubMa = nullptr;
    DataSet* cdsImpInsMont = nullptr;
    DataSet* cdsParametros = nullptr;
    DataSet* cdsEquiSubSeMa = nullptr;
    DataSet* cdsProRecSeMa = nullptr;
    DataSet* cdsSubGruPrin = nullptr;
    DataSource* dtsServManual = nullptr;
    DataSource* dtsSubGruSeMa = nullptr;
    DataSource* dtsFotoSeMa = nullptr;
    DataSource* dtsFotoSubMa = nullptr;
    DataSource* dtsImpInsMont = nullptr;
    DataSource* dtsEquiSubSeMa = nullptr;
    DataSource* dtsProRecSeMa = nullptr;
    DataSource* dtsSubGruPrin = nullptr;

    // The selection panel's rows, their lookups and the key they validated.
    SelectionPanel& selection() const { return *selection_; }
    void Vd_Filial(bool required);
    void panFiltroEnter();
    void panFiltroExit();
    // Whether the pages hold a loaded selection: false from creation until the panel's exit has
    // loaded one, and again from the panel's enter. While false the sheets that need data, their
    // menus and the screen's commands stay locked; enabling rules must leave them so.
    bool loaded() const { return loaded_; }
    void lockPages();
    void focusFirstSelectionField();

protected:
    bool event(QEvent* event) override;

private:
    TfrmFotoMontManual(QWidget* parent, std::unique_ptr<Transport> transport);

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

    // One per concern, each in the file of that concern: controls, datasets, menus.
    void buildCommands();
    void buildMessages();
    void buildSelection();
    void buildSubGroups();
    void buildPages();
    void buildPhotos();
    void buildInstructions();
    void buildEquipment();
    void bindEquipment();
    void buildDates();
    void buildProducts();
    void bindProducts();
    void buildMenus();
    void bindLaunchCommands();
    void selectionFormCreate();
    void bindSubGroups();
    void bindPages();
    void bindCommands();
    void bindInstructions();
    void bindPhotos();
    void stopAutoDisplay();
    void bindDates();
    void loadPageData(DataSet& target);
    void reloadAfterRefusal(DataSet& target);
    void showInstructions();
    bool askToSaveOnClose();
    DataSet* pendingEdit() const;
    void postPendingEdit();

    // The selection key as last chosen or validated, readable by name by the sibling screens.
    QString stCdCia() const;
    QString stCdManCia() const;
    QString stCdServico() const;
    QString stCdClasse() const;
    QString stCdCiclo() const;

    SelectionPanel* selection_ = nullptr;
    bool loaded_ = false;  // see loaded()
    double cycleRate_ = 0;  // the cycle rate behind TempCiclo; nothing on this screen changes it
};

}  // namespace qmv

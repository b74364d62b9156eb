#pragma once
// TfrmPadraoGrid: the standard grid maintenance form, a child window of the host. Its toolbar
// (include, edit, delete, find, verify, confirm, cancel, print, help, close) and maintenance menu act
// on the dataset that dtsPadrao points to, and dtsPadrao's state sets which of them are enabled.
// It brings the page control pgcPadrao with the grid sheet tshPadrao, the navigator panel and the
// operations menu. Handlers are virtual so a screen overrides them and calls them by name; the ones
// Qt starts run through the host guard. UI thread only.
#include <QMenu>
#include <QPointer>
#include <functional>
#include <memory>

#include "host/tfrmbase.h"

class QAction;
class QFrame;
class QHBoxLayout;
class QMenuBar;
class QPageSetupDialog;
class QPrintDialog;
class QPrinter;
class QScrollArea;

namespace qmv {

class DBGrid;
class DBNavigator;
class DBText;
class DataSet;
class DataSource;
class TCustomPageControl98;

class TfrmPadraoGrid : public TfrmBase {
    Q_OBJECT
public:
    explicit TfrmPadraoGrid(QWidget* parent = nullptr);
    ~TfrmPadraoGrid() override;

    // Toolbar.
    QFrame* panMenu = nullptr;
    TButtonFlat* sbtIncluir = nullptr;
    TButtonFlat* sbtAlterar = nullptr;
    TButtonFlat* sbtExcluir = nullptr;
    TButtonFlat* sbtProcurar = nullptr;
    TButtonFlat* sbtVerificar = nullptr;
    TButtonFlat* sbtConfirmar = nullptr;
    TButtonFlat* sbtCancelar = nullptr;
    TButtonFlat* sbtImprimir = nullptr;
    TButtonFlat* sbtAjuda = nullptr;
    TButtonFlat* sbtFechar = nullptr;

    // Pages, grid and navigator.
    TCustomPageControl98* pgcPadrao = nullptr;
    QWidget* tshPadrao = nullptr;
    QWidget* panDbgPadrao = nullptr;
    QScrollArea* scbFolhaDados = nullptr;
    DBGrid* dbgPadrao = nullptr;
    QFrame* panNavigator = nullptr;
    DBText* dbtNome = nullptr;
    DBNavigator* dbnPadrao = nullptr;
    QMenu* pmnNavegar = nullptr;

    // Menus.
    QMenuBar* mnuMenu = nullptr;
    QMenu* mnuOperacao = nullptr;
    QAction* mnuListagem = nullptr;
    QAction* mnuConfigImpressora = nullptr;
    QAction* mnuSair = nullptr;
    QMenu* mnuManutencao = nullptr;
    QAction* mnuIncluir = nullptr;
    QAction* mnuAlterar = nullptr;
    QAction* mnuExcluir = nullptr;
    QAction* mnuProcurar = nullptr;
    QAction* mnuVerificar = nullptr;
    QAction* mnuCancelar = nullptr;
    QAction* mnuConfirmar = nullptr;

    DataSource* dtsPadrao = nullptr;
    TMessages* msgMensagensPadroes = nullptr;

    // The printer set-up and print dialogs, made on first use.
    QPageSetupDialog* psdConfigurar();
    QPrintDialog* prdImprimir();

    // Reloads the data of dtsPadrao for the verify command (and the navigator's refresh); a
    // screen whose data comes from a server sets it or overrides sbtVerificarClick.
    std::function<void()> reloadPadrao;

    DataSet* dataSetPadrao() const;

    void addCommandButton(TButtonFlat* button) override;

    void FormCreate() override;
    void FormClose(TCloseAction& action) override;
    void FormKeyDown(int& key, Qt::KeyboardModifiers shift) override;
    virtual void dtsPadraoStateChange();
    virtual void sbtIncluirClick();
    virtual void sbtAlterarClick();
    virtual void sbtExcluirClick();
    virtual void sbtProcurarClick();
    virtual void sbtVerificarClick();
    virtual void sbtConfirmarClick();
    virtual void sbtCancelarClick();
    virtual void sbtImprimirClick();
    virtual void sbtAjudaClick();
    virtual void sbtFecharClick();
    virtual void mnuListagemClick();
    virtual void mnuConfigImpressoraClick();

protected:
    bool EscapeKey() override;
    bool editing() const;

private:
    void buildToolbar();
    void buildPages();
    void buildMenus();
    void bindCommand(TButtonFlat* button, QAction* entry, void (TfrmPadraoGrid::*handler)());

    QHBoxLayout* toolbarLayout_ = nullptr;
    int ownButtonsAt_ = 0;
    std::unique_ptr<QPrinter> printer_;
    QPointer<QPageSetupDialog> pageSetup_;
    QPointer<QPrintDialog> printDialog_;
};

}  // namespace qmv

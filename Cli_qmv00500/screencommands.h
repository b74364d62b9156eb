#pragma once
// ScreenCommands: the screen's own commands: the buttons "Filtrar", "Exibição Automática", "Emissão
// do Manual" and "Importação de Foto" in the command bar with the six tick-box pictures kept hidden
// there, their entries in the maintenance menu, and the standard commands as this screen takes them:
// include, confirm and verify per page, the form's keys, printing, and the question asked when the
// window closes over a pending edit. It runs the automatic display. UI thread only.
#include <QObject>
#include <functional>

class QAction;
class QLabel;

namespace qmv {

class AutoDisplayCommand;
class DataSet;
class DatesSheet;
class EquipmentList;
class ScreenPages;
class TButtonFlat;
class TfrmPadraoGrid;

class ScreenCommands : public QObject {
    Q_OBJECT
public:
    struct Screen {
        TfrmPadraoGrid& form;  // its command bar, maintenance menu and confirm button
        ScreenPages& pages;
        DataSet& subGroups;
        DatesSheet& dates;
        const EquipmentList& equipment;
        // The base form's own include, confirm and keys, which this screen's run around.
        std::function<void()> baseInclude;
        std::function<void()> baseConfirm;
        std::function<void(int&, Qt::KeyboardModifiers)> baseKeyDown;
        std::function<void()> decideCommands;  // the enabling rules, run again
    };
    ScreenCommands(const Screen& screen, QObject* parent);

    AutoDisplayCommand& autoDisplay() const { return *autoDisplay_; }
    // Filter, automatic display, manual emission and photo import; their menu entries follow.
    void setEnabled(bool enabled);
    // What the enabling rules decide of them: the filter, and the display (which, running, can
    // always be stopped).
    void setDecided(bool filter, bool autoDisplay);

    void sbtIncluirClick();
    void sbtConfirmarClick();
    void sbtVerificarClick();
    void sbtImprimirClick();
    void sbtFiltroDClick();
    void sbtManualCiaClick();
    void sbtImpFotoClick();
    void FormKeyDown(int& key, Qt::KeyboardModifiers shift);
    // Closing over a pending edit asks first; false keeps the window.
    bool askToSaveOnClose();

private:
    void buildButtons();
    void buildMenus();
    void bind();
    void postPendingEdit();
    void followButtons();

    Screen screen_;
    TButtonFlat* sbtFiltroD_ = nullptr;
    TButtonFlat* sbtAutoExibe_ = nullptr;
    TButtonFlat* sbtManualCia_ = nullptr;
    TButtonFlat* sbtImpFoto_ = nullptr;
    QAction* mnuFiltro_ = nullptr;
    QAction* mnuExibeAuto_ = nullptr;
    QAction* mnuDirFoto_ = nullptr;
    QAction* mnuEmiteManual_ = nullptr;
    QAction* mnuImpFoto_ = nullptr;
    AutoDisplayCommand* autoDisplay_ = nullptr;
};

}  // namespace qmv

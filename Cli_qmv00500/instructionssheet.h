#pragma once
// InstructionsSheet: the sheet "Instruções de Montagem" of the current sub-group: the tool strip
// with import, export and the formatting bar, the rich-text editor over the instruction record, the
// import menu and file dialogs, and the datasets of the record, the branch parameters and the
// instructions of other sub-groups. It imports from a file or another sub-group, exports to a file,
// and posts the record: filled when new, deleted on the server when blank, sent at once.
// UI thread only.
#include <QObject>
#include <QString>
#include <functional>

#include "host/ui.h"

class QAction;
class QMenu;
class QWidget;

namespace qmv {

class DBRichEdit;
class DataSet;
class DataSource;
class SelectionPanel;
class TButtonFlat;
class TFormatPanel;
class TMessages;
class TNetConnection;

class InstructionsSheet : public QObject {
    Q_OBJECT
public:
    struct Screen {
        QWidget& window;           // where the import menu pops up
        const DataSet& subGroups;  // its current row is the sub-group whose instructions are shown
        const SelectionPanel& selection;
        TNetConnection& connection;
        const TMessages& messages;
        std::function<void()> reloadAfterRefusal;
        std::function<void()> afterSend;  // the screen's commands follow the record's new state
    };
    InstructionsSheet(QWidget& sheet, Screen screen, QObject* parent);

    DataSet& records() const { return *cdsFotoSubMa_; }
    void load();
    // The editor shows the record again.
    void showInEditor();

    void sbtImpClick();
    void mnuImpArquivoClick();
    void mnuImpInstClick();
    void sbtSalvaClick();
    void cdsFotoSubMaBeforePost(DataSet& sender);
    void cdsFotoSubMaAfterPost(DataSet& sender);

private:
    void buildStrip(QWidget& sheet);
    void buildEditor(QWidget& sheet);
    void buildImport();
    void bind();

    Screen screen_;
    TButtonFlat* sbtImp_ = nullptr;
    TButtonFlat* sbtSalva_ = nullptr;
    TFormatPanel* fpnMontagem_ = nullptr;
    DBRichEdit* dbrMontServico_ = nullptr;
    QMenu* pmnImporta_ = nullptr;
    QAction* mnuImpArquivo_ = nullptr;
    QAction* mnuImpInst_ = nullptr;
    DataSet* cdsFotoSubMa_ = nullptr;
    DataSource* dtsFotoSubMa_ = nullptr;
    DataSet* cdsParametros_ = nullptr;
    DataSet* cdsImpInsMont_ = nullptr;
    DataSource* dtsImpInsMont_ = nullptr;
    FileDialogSpec odgMontServico_;
    FileDialogSpec sdgMontServico_;
};

}  // namespace qmv

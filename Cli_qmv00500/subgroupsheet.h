#pragma once
// SubGroupSheet: the sheet "Sub-Grupo", the service's sub-groups in the base form's grid. It owns
// the sub-group dataset (its fields in their fixed order, the order of the null-field list) and its
// data source, to which the grid, the navigator and its name label are bound on every page; the
// checks before a post, the sending after it, the loading value's text and the observation column.
// The row under the cursor is the current sub-group every other part shows. UI thread only.
#include <QObject>
#include <QString>
#include <functional>

class QMenu;
class QWidget;

namespace qmv {

class DBGrid;
class DBNavigator;
class DBText;
class DataSet;
class DataSource;
class Field;
class SelectionPanel;
class TMessages;
class TNetConnection;

class SubGroupSheet : public QObject {
    Q_OBJECT
public:
    struct Screen {
        DBGrid& grid;  // the base form's grid, navigator and name label
        DBNavigator& navigator;
        DBText& nameLabel;
        const SelectionPanel& selection;
        TNetConnection& connection;
        const TMessages& messages;
        std::function<bool()> sheetInView;
        std::function<bool()> autoDisplayRunning;
        // The caption of the page whose record waits in edit; empty when none does.
        std::function<QString()> pendingPage;
        // The dates sheet's checks before a post, and where the focus goes on a refused revision.
        std::function<void()> checkDates;
        std::function<void()> focusRevisionDate;
        // The page in view follows the new current sub-group.
        std::function<void()> currentChanged;
    };
    SubGroupSheet(Screen screen, QObject* parent);

    DataSet& records() const { return *cdsSubGruSeMa_; }
    DataSource& source() const { return *dtsSubGruSeMa_; }
    // Loads the loaded key's sub-groups; the filters are "0" with the photo or instructions, "1"
    // without, "2" all.
    void load(const QString& photoFilter = QStringLiteral("2"), const QString& instrFilter = QStringLiteral("2"));
    // After the server refused a change: what it holds, on the same sub-group.
    void reloadKeepingRow();
    // The hierarchical code mask of the sub-group codes.
    void setCodeMask(const QString& mask);
    // "Histórico..." at the end of the maintenance menu (Ctrl+H on window) and of the sheet's context
    // menu: the current sub-group's history.
    void addHistoryEntry(QMenu& maintenance, QMenu& context, QWidget& window);

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
    void mnuHistoricoClick();

private:
    void buildDataSet();
    void buildGrid();
    void bind();

    Screen screen_;
    DataSet* cdsSubGruSeMa_ = nullptr;
    DataSource* dtsSubGruSeMa_ = nullptr;
    double cycleRate_ = 0;  // the cycle rate behind TempCiclo; nothing on this screen changes it
};

}  // namespace qmv

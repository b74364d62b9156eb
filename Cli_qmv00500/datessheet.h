#pragma once
// DatesSheet: the sheet "Dados Adicionais" of the current sub-group: the principal sub-group (code,
// lookup button, description) and the presentation, effective and revision dates with their
// weekdays, all fields of the sub-group record; it owns the principal candidates' dataset, checks a
// typed principal code and copies the first sub-group's dates to the others. UI thread only.
#include <QObject>
#include <QString>
#include <array>

class QGroupBox;
class QKeyEvent;
class QLineEdit;
class QWidget;

namespace qmv {

class DBEdit;
class DataSet;
class DataSource;
class SelectionPanel;
class TBtnPesquisa;
class TCustomPageControl98;
class TDBDateEditPlus;
class TMessages;
class TNetConnection;

class DatesSheet : public QObject {
    Q_OBJECT
public:
    // What the sheet works on: the sub-group record and its source, the loaded key, the connection
    // and the screen's messages; the controls are built into sheet, one of inner's sheets.
    struct Screen {
        DataSet& subGroups;
        DataSource& subGroupSource;
        const SelectionPanel& selection;
        TNetConnection& connection;
        const TMessages& messages;
        TCustomPageControl98& inner;
    };
    DatesSheet(QWidget& sheet, const Screen& screen, QObject* parent);

    // The sheet is the inner page control's current one.
    bool inView() const;
    // The hierarchical code mask of the principal candidates' code.
    void setCodeMask(const QString& mask);
    // What the sub-group record's post asks first: each date box holds a valid date, and a typed
    // principal code is checked as on leaving its box while the sheet shows on the photo page.
    void checkBeforePost(bool onPhotoPage);
    void focusRevisionDate();
    // Blank dates show a blank box and no weekday when the sheet comes into view.
    void clearBlankDates();
    // The dates confirmed on the first sub-group become the dates of every sub-group that has none.
    void CopiaDatas();

    void depApresentExit() { dateExit(0); }
    void depEfetivacaoExit() { dateExit(1); }
    void depRevisaoExit() { dateExit(2); }
    void depApresentChange() { dateChange(0); }
    void depEfetivacaoChange() { dateChange(1); }
    void depRevisaoChange() { dateChange(2); }
    void depApresentKeyPress(QKeyEvent&) { dateKeyPress(0); }
    void depEfetivacaoKeyPress(QKeyEvent&) { dateKeyPress(1); }
    void depRevisaoKeyPress(QKeyEvent&) { dateKeyPress(2); }
    void btpSubGruPrinBeforePesq(QObject* sender, bool& proceed);
    void btpSubGruPrinAfterPesq(QObject* sender);
    void dbeCdSubGruPriExit();
    void dbeCdSubGruPriChange();

private:
    struct DateRow {
        TDBDateEditPlus* date = nullptr;
        QLineEdit* weekday = nullptr;
        const char* field = nullptr;
    };

    void buildPrincipal(QWidget& sheet);
    void buildDates(QWidget& sheet);
    void bind();
    void dateExit(int row);
    void dateChange(int row);
    void dateKeyPress(int row);
    void loadPrincipals(const QString& code);
    void copyPrincipal();

    Screen screen_;
    QWidget& sheet_;
    DataSet* cdsSubGruPrin_ = nullptr;
    DataSource* dtsSubGruPrin_ = nullptr;
    QGroupBox* grbSubGruPri_ = nullptr;
    QGroupBox* grbDatas_ = nullptr;
    DBEdit* dbeCdSubGruPri_ = nullptr;
    TBtnPesquisa* btpSubGruPrin_ = nullptr;
    DBEdit* dbeDsSubGruPri_ = nullptr;
    std::array<DateRow, 3> dates_{};  // presentation, effective, revision
};

}  // namespace qmv

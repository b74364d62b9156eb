#pragma once
// SelectionPanel: the selection rows of a screen (branch, company, manual and service, each a code
// edit, its lookup button and its name box, the service with its class and cycle), their lookups on
// the shared database and on the application server, and the checks of the rows on leaving them and
// of the whole selection. It keeps the key its lookups validated. A screen gives its look, its
// messages and its connection as options; the widgets are built into the screen's container and keep
// their names as object names. UI thread only.
#include <QObject>
#include <QString>

class QGridLayout;
class QLabel;
class QLineEdit;
class QWidget;

namespace qmv {

class CodeLookup;
class DataSet;
class DataSource;
class TADOIBQuery;
class TBtnPesquisa;
class TNetConnection;

// The key of the selection as the lookups last chose or validated it.
struct SelectionKey {
    QString company;    // stCdCia
    QString manual;     // stCdManCia
    QString service;    // stCdServico
    QString classCode;  // stCdClasse
    QString cycle;      // stCdCiclo
};

struct SelectionPanelOptions {
    struct Messages {
        QString missing;
        QString invalid;
    };
    Messages branch, company, manual, service;
    // The main screen's look: captions in bold under their own names, the branch typed through its
    // mask and reached by a click only, name boxes that give way down to a narrower width, a dash
    // before class and cycle. Otherwise plain captions, fixed boxes and the class and cycle below.
    bool mainScreenLook = false;
    int serviceMaxLength = 10;
    // The manual lookups keep in their query the branch and company of the last choice (a list
    // dismissed unchosen changes nothing), or are given the validated company each time.
    bool manualKeepsChoice = false;
    // The service lookups send the manual padded to four characters, and the exact lookup the code
    // as the group reads it; otherwise both as the edits hold them.
    bool servicesTrimmed = false;
};

class SelectionPanel : public QObject {
    Q_OBJECT
public:
    struct Rows {
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
    };

    // Builds the rows into grid (rows 0 to 3, and the class and cycle), over container.
    SelectionPanel(QWidget& container, QGridLayout& grid, TNetConnection& connection,
                   SelectionPanelOptions options, QObject* parent);
    ~SelectionPanel() override;

    const Rows& rows() const { return rows_; }
    SelectionKey& key() { return key_; }
    const SelectionKey& key() const { return key_; }
    DataSet& services() const { return *cdsServManual_; }
    DataSource& servicesSource() const { return *dtsServManual_; }
    CodeLookup& serviceLookup() const { return *lkpServManual_; }

    // The branch's check (Vd_Filial): an empty branch is an error only when required.
    void checkBranch(bool required);
    // Every row checked in turn: a missing code (the service's only when serviceRequired) or one
    // typed and not found puts the focus back on it and aborts with the row's message.
    void checkAll(bool serviceRequired);
    // The branch the host gives (code, then name), changeable only when the host allows it.
    void takeHostBranch();
    // The focus on the first row that takes it by Tab.
    void focusFirstField();

private:
    void buildRows(QWidget& container, QGridLayout& grid);
    void bindBranch();
    void bindCompany();
    void bindManual();
    void bindService();
    void loadServices(const QString& code);
    bool openManuals(const QString& code, bool all);

    TNetConnection& connection_;
    SelectionPanelOptions options_;
    Rows rows_;
    SelectionKey key_;
    TADOIBQuery* qryFilial_ = nullptr;
    TADOIBQuery* qryCompanhia_ = nullptr;
    TADOIBQuery* qryManualCia_ = nullptr;
    DataSet* cdsServManual_ = nullptr;
    DataSource* dtsServManual_ = nullptr;
    CodeLookup* lkpFilial_ = nullptr;
    CodeLookup* lkpCompanhia_ = nullptr;
    CodeLookup* lkpManualCia_ = nullptr;
    CodeLookup* lkpServManual_ = nullptr;
};

}  // namespace qmv

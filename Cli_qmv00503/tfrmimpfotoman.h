#pragma once
// The photo import dialog "Importação de Foto Montagem do Manual" (QMV00503) on the general routine
// form: the destination is what the main screen has loaded; the origin is a branch, a manual of it
// and a service of that manual, chosen with code lookups; all sub-groups or a list of them. After
// the checks and the question, the server copies the photos and the main screen reloads its
// sub-groups. Built through create(); closing clears its unit's flag. UI thread only.
#include "host/tfrmrotigeral.h"

class QCborValue;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace qmv {

class CodeLookup;
class DataSet;
class DataSource;
class TADOIBQuery;
class TBtnPesquisa;
class MainScreen;

class TfrmImpFotoMan : public TfrmRotiGeral {
    Q_OBJECT
public:
    static TfrmImpFotoMan* create(QWidget* parent);

    void FormCreate() override;
    void FormClose(TCloseAction& action) override;
    void FormActivate();
    void sbtConfirmaClick() override;
    void btnSubGrupoClick();
    // Lists the photo imports into the loaded service and undoes the chosen one (importundo.cpp).
    void btnDesfazerClick();
    void Vd_Filial(bool mandatory);
    void Vd_Manual(bool mandatory);
    void Vd_Servico(bool mandatory);
    void Vd_SubGru();

    QLineEdit* medCia = nullptr;
    QLineEdit* edtNmCia = nullptr;
    QLineEdit* medFilialDes = nullptr;
    QLineEdit* edtNmFilialDes = nullptr;
    QLineEdit* medManualDes = nullptr;
    QLineEdit* edtNmManualDes = nullptr;
    QLineEdit* medServDest = nullptr;
    QLineEdit* edtDsServico = nullptr;
    QLineEdit* medFilialOri = nullptr;
    TBtnPesquisa* btnFilialOri = nullptr;
    QLineEdit* edtNmFilialOri = nullptr;
    QLineEdit* medManualOri = nullptr;
    TBtnPesquisa* btnManualOri = nullptr;
    QLineEdit* edtNmManualOri = nullptr;
    QLineEdit* medServOrig = nullptr;
    TBtnPesquisa* btnServOrig = nullptr;
    QLineEdit* edtNmServOrig = nullptr;
    QRadioButton* rbtTodos = nullptr;
    QRadioButton* rbtLista = nullptr;
    TBtnPesquisa* btnSubGrupo = nullptr;
    QPushButton* btnDesfazer = nullptr;

    TADOIBQuery* qryFilial = nullptr;
    TADOIBQuery* qryManualCia = nullptr;
    DataSet* cdsServManual = nullptr;
    DataSet* cdsSubGrupo = nullptr;
    DataSource* dtsFilial = nullptr;
    DataSource* dtsManualCia = nullptr;
    DataSource* dtsServManual = nullptr;
    DataSource* dtsSubGrupo = nullptr;

protected:
    bool event(QEvent* event) override;

private:
    explicit TfrmImpFotoMan(QWidget* parent);
    void buildRows();
    void buildDataSets();
    void bindOrigin();
    MainScreen& mainScreen() const;
    QString originKey() const;
    void busyLoadServices(const QString& code, const QString& all);
    // After an import: asks whether to undo it at once (importundo.cpp).
    void offerUndo(const QCborValue& status);
    void undoImport(const QString& batch);

    CodeLookup* lkpFilialOri_ = nullptr;
    CodeLookup* lkpManualOri_ = nullptr;
    CodeLookup* lkpServOrig_ = nullptr;
};

}  // namespace qmv

#pragma once
// The manual emission screen "QMV01200": a selection of branch, company, manual and service (typed
// or picked, as on the main screen, or taken from the screen that opened it), the choice of the whole
// manual or one service and of what to include, and the commands Emitir (a PDF where the person
// chooses), Visualizar (print preview) and Imprimir (a printer). The emission runs a step at a time
// from the event loop, with a progress bar naming the service being written and a Cancelar that
// stops it cleanly. Owns its connection to the application server. UI thread only.
#include <QPrinter>
#include <memory>

#include "host/tfrmbase.h"
#include "qmv01200/emissiondata.h"
#include "qmv01200/manualdocument.h"
#include "server/transport.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QTimer;

namespace qmv {

class DataSet;
class DataSource;
class EmissionSource;
class ManualEmission;
class SelectionPanel;
class TBtnPesquisa;
class TNetConnection;

class TfrmEmissaoManual : public TfrmBase {
    Q_OBJECT
public:
    // Builds the screen and connects to the application server; a failed connection destroys the
    // half-built screen and propagates. Without a transport the connection speaks HTTP.
    static TfrmEmissaoManual* create(QWidget* parent, std::unique_ptr<Transport> transport = {});
    ~TfrmEmissaoManual() override;

    void FormClose(TCloseAction& action) override;
    // Starts from the selection of the screen that opened this one (its code and the selection).
    void startFrom(const QString& callerCode, const ManualSelection& selection);
    // The selection on screen, validated (throws through MensErro when a required code is missing).
    ManualSelection selection();
    EmissionOptions options() const;
    bool running() const { return static_cast<bool>(emission_); }

    void btnEmitirClick();
    void btnVisualizarClick();
    void btnImprimirClick();
    void btnCancelarClick();

    // Selection.
    QGroupBox* grbSelecao = nullptr;
    QLineEdit* medFilial = nullptr;
    TBtnPesquisa* btnFilial = nullptr;
    QLineEdit* edtNmFilial = nullptr;
    QLineEdit* medCdCia = nullptr;
    TBtnPesquisa* btpCompanhia = nullptr;
    QLineEdit* edtNmCia = nullptr;
    QLineEdit* medCdManCia = nullptr;
    TBtnPesquisa* btpManualCia = nullptr;
    QLineEdit* edtDsManCia = nullptr;
    QLineEdit* medCdServico = nullptr;
    TBtnPesquisa* btpServManual = nullptr;
    QLineEdit* edtDsServico = nullptr;
    QLineEdit* edtClasse = nullptr;
    QLineEdit* edtCiclo = nullptr;
    QLabel* lblOrigem = nullptr;

    // Scope and contents.
    QRadioButton* rbtManual = nullptr;
    QRadioButton* rbtServico = nullptr;
    QCheckBox* chbFotos = nullptr;
    QCheckBox* chbInstrucoes = nullptr;
    QCheckBox* chbEquipamentos = nullptr;
    QCheckBox* chbProdutos = nullptr;
    QCheckBox* chbDatas = nullptr;

    // Progress and commands.
    QLabel* lblProgresso = nullptr;
    QProgressBar* prbEmissao = nullptr;
    QPushButton* btnEmitir = nullptr;
    QPushButton* btnVisualizar = nullptr;
    QPushButton* btnImprimir = nullptr;
    QPushButton* btnCancelar = nullptr;
    QPushButton* btnFechar = nullptr;

    // Connection, and the selection rows with their lookups and the codes they keep.
    TNetConnection* netEmissao = nullptr;
    SelectionPanel& selectionPanel() const { return *selection_; }

signals:
    // Every change of the progress text, and the end of an emission (completed or not).
    void progressed(const QString& text);
    void emissionEnded();

private:
    enum class Purpose { Pdf, Preview, Printer };

    TfrmEmissaoManual(QWidget* parent, std::unique_ptr<Transport> transport);
    void buildSelection();
    void buildChoices();
    void buildProgress();
    void start(Purpose purpose);
    void runStep();
    void stepDone();
    void endRun(const QString& text);
    void setRunning(bool running);
    void showPreview();

    SelectionPanel* selection_ = nullptr;
    std::unique_ptr<EmissionSource> source_;
    std::unique_ptr<ManualEmission> emission_;
    std::unique_ptr<ManualEmission> preview_;  // a completed reading, for the print preview
    std::unique_ptr<QPrinter> printer_;
    Purpose purpose_ = Purpose::Pdf;
    QString path_;
    QTimer* stepTimer_ = nullptr;
};

}  // namespace qmv

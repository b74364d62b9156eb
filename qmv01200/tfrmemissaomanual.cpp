#include "qmv01200/tfrmemissaomanual.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

#include "host/busyindicator.h"
#include "host/childhost.h"
#include "host/codestructure.h"
#include "host/guard.h"
#include "host/hostconfig.h"
#include "host/menserro.h"
#include "host/tbtnpesquisa.h"
#include "host/ui.h"
#include "lookup/selectionpanel.h"
#include "qmv01200/cli_qmv01200.h"
#include "qmv01200/emissionsource.h"
#include "qmv01200/manualemission.h"
#include "server/tnetconnection.h"

namespace qmv {

namespace {

template <typename Widget>
Widget* named(Widget* widget, const char* name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

}  // namespace

TfrmEmissaoManual* TfrmEmissaoManual::create(QWidget* parent, std::unique_ptr<Transport> transport)
{
    std::unique_ptr<TfrmEmissaoManual> form(new TfrmEmissaoManual(parent, std::move(transport)));
    form->FormCreate();
    {
        BusyIndicator busy(hostMainWindow(), 0);
        form->netEmissao->connect();
    }
    return form.release();
}

TfrmEmissaoManual::TfrmEmissaoManual(QWidget* parent, std::unique_ptr<Transport> transport) : TfrmBase(parent)
{
    setObjectName(QStringLiteral("frmEmissaoManual"));
    setWindowTitle(QStringLiteral("Emissão do Manual"));
    setScreenCode(QStringLiteral("QMV01200"));
    netEmissao = new TNetConnection(this, std::move(transport));
    netEmissao->setObjectName(QStringLiteral("netEmissao"));
    netEmissao->setServerName(QStringLiteral("Qmv00500.rdmFotoMontManual"));
    netEmissao->setThrowException(false);
    netEmissao->beforeConnect = [](TNetConnection& sender) {
        sender.setPort(WebPort());
        sender.setHost(WebURL());
    };
    source_ = std::make_unique<ServerEmissionSource>(*netEmissao, DBPictObj(0).GetTtNiveis());
    stepTimer_ = new QTimer(this);
    stepTimer_->setSingleShot(true);
    stepTimer_->setInterval(0);  // after the window system's pending events: a click on Cancelar gets in
    connect(stepTimer_, &QTimer::timeout, this, [this] { runStep(); });

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(8, 8, 8, 8);
    lblCodTela->setParent(this);
    column->addWidget(lblCodTela, 0, Qt::AlignRight);
    buildSelection();
    buildChoices();
    buildProgress();
    selection_->takeHostBranch();
    setRunning(false);
    resize(640, 470);
}

TfrmEmissaoManual::~TfrmEmissaoManual() = default;

void TfrmEmissaoManual::buildSelection()
{
    grbSelecao = named(new QGroupBox(QStringLiteral("Seleção"), this), "grbSelecao");
    auto* grid = new QGridLayout(grbSelecao);
    SelectionPanelOptions options;
    options.branch = {QStringLiteral("Filial deve ser informada."), QStringLiteral("Filial não cadastrada.")};
    options.company = {QStringLiteral("Companhia deve ser informada."), QStringLiteral("Companhia não cadastrada.")};
    options.manual = {QStringLiteral("Manual deve ser informado."), QStringLiteral("Manual não cadastrado.")};
    options.service = {QStringLiteral("Serviço deve ser informado."), QStringLiteral("Serviço não cadastrado.")};
    options.serviceMaxLength = 18;
    options.servicesTrimmed = true;
    selection_ = new SelectionPanel(*grbSelecao, *grid, *netEmissao, options, this);
    const SelectionPanel::Rows& r = selection_->rows();
    medFilial = r.medFilial;
    btnFilial = r.btnFilial;
    edtNmFilial = r.edtNmFilial;
    medCdCia = r.medCdCia;
    btpCompanhia = r.btpCompanhia;
    edtNmCia = r.edtNmCia;
    medCdManCia = r.medCdManCia;
    btpManualCia = r.btpManualCia;
    edtDsManCia = r.edtDsManCia;
    medCdServico = r.medCdServico;
    btpServManual = r.btpServManual;
    edtDsServico = r.edtDsServico;
    edtClasse = r.edtClasse;
    edtCiclo = r.edtCiclo;
    lblOrigem = named(new QLabel(grbSelecao), "lblOrigem");
    grid->addWidget(lblOrigem, 5, 0, 1, 4);
    layout()->addWidget(grbSelecao);
}

void TfrmEmissaoManual::buildChoices()
{
    auto* row = new QHBoxLayout;
    auto* scope = named(new QGroupBox(QStringLiteral("Emitir"), this), "grbAbrangencia");
    auto* scopeColumn = new QVBoxLayout(scope);
    rbtManual = named(new QRadioButton(QStringLiteral("Manual completo (todos os serviços)"), scope), "rbtManual");
    rbtServico = named(new QRadioButton(QStringLiteral("Somente o serviço selecionado"), scope), "rbtServico");
    rbtManual->setChecked(true);
    scopeColumn->addWidget(rbtManual);
    scopeColumn->addWidget(rbtServico);
    scopeColumn->addStretch(1);
    auto* include = named(new QGroupBox(QStringLiteral("Incluir"), this), "grbIncluir");
    auto* includeColumn = new QVBoxLayout(include);
    chbFotos = named(new QCheckBox(QStringLiteral("Fotos"), include), "chbFotos");
    chbInstrucoes = named(new QCheckBox(QStringLiteral("Instruções de montagem"), include), "chbInstrucoes");
    chbEquipamentos = named(new QCheckBox(QStringLiteral("Equipamentos"), include), "chbEquipamentos");
    chbProdutos = named(new QCheckBox(QStringLiteral("Produtos e receitas"), include), "chbProdutos");
    chbDatas = named(new QCheckBox(QStringLiteral("Datas e sub-grupo principal"), include), "chbDatas");
    for (QCheckBox* box : {chbFotos, chbInstrucoes, chbEquipamentos, chbProdutos, chbDatas}) {
        box->setChecked(true);
        includeColumn->addWidget(box);
    }
    row->addWidget(scope, 1);
    row->addWidget(include, 1);
    static_cast<QVBoxLayout*>(layout())->addLayout(row);
}

void TfrmEmissaoManual::buildProgress()
{
    lblProgresso = named(new QLabel(this), "lblProgresso");
    prbEmissao = named(new QProgressBar(this), "prbEmissao");
    prbEmissao->setRange(0, 1);
    prbEmissao->setValue(0);
    layout()->addWidget(lblProgresso);
    layout()->addWidget(prbEmissao);
    auto* buttons = new QHBoxLayout;
    auto button = [&](const char* name, const QString& caption, void (TfrmEmissaoManual::*handler)()) {
        auto* b = named(new QPushButton(caption, this), name);
        connect(b, &QPushButton::clicked, this, [this, handler] { guard([this, handler] { (this->*handler)(); }); });
        buttons->addWidget(b);
        return b;
    };
    btnEmitir = button("btnEmitir", QStringLiteral("Emitir"), &TfrmEmissaoManual::btnEmitirClick);
    btnVisualizar = button("btnVisualizar", QStringLiteral("Visualizar"), &TfrmEmissaoManual::btnVisualizarClick);
    btnImprimir = button("btnImprimir", QStringLiteral("Imprimir"), &TfrmEmissaoManual::btnImprimirClick);
    btnCancelar = button("btnCancelar", QStringLiteral("Cancelar"), &TfrmEmissaoManual::btnCancelarClick);
    buttons->addStretch(1);
    btnFechar = named(new QPushButton(QStringLiteral("Fechar"), this), "btnFechar");
    connect(btnFechar, &QPushButton::clicked, this, &QWidget::close);
    buttons->addWidget(btnFechar);
    btnEmitir->setDefault(true);
    static_cast<QVBoxLayout*>(layout())->addStretch(1);
    static_cast<QVBoxLayout*>(layout())->addLayout(buttons);
}

void TfrmEmissaoManual::FormClose(TCloseAction& action)
{
    if (emission_)
        emission_->cancel();
    stepTimer_->stop();
    netEmissao->disconnect();
    Cli_qmv01200::boStCriado = false;
    TfrmBase::FormClose(action);
}

// Codes first and names after, as a choice from a list would write them.
void TfrmEmissaoManual::startFrom(const QString& callerCode, const ManualSelection& s)
{
    const QList<std::pair<QLineEdit*, QString>> texts = {
        {medFilial, s.branch},      {edtNmFilial, s.branchName},   {medCdCia, s.companyAbbrev},
        {edtNmCia, s.companyName},  {medCdManCia, s.manual},       {edtDsManCia, s.manualName},
        {medCdServico, s.serviceCode}, {edtDsServico, s.serviceName}, {edtClasse, s.classAbbrev},
        {edtCiclo, s.cycleName}};
    for (const auto& [edit, text] : texts)
        edit->setText(text);
    selection_->key() = {s.company, s.manual, s.service, s.serviceClass, s.cycle};
    lblOrigem->setText(callerCode.isEmpty() ? QString()
                                            : QStringLiteral("Seleção recebida da tela %1.").arg(callerCode));
    rbtManual->setChecked(true);
}

EmissionOptions TfrmEmissaoManual::options() const
{
    return {rbtManual->isChecked(), chbFotos->isChecked(),    chbInstrucoes->isChecked(),
            chbEquipamentos->isChecked(), chbProdutos->isChecked(), chbDatas->isChecked()};
}

void TfrmEmissaoManual::btnEmitirClick()
{
    if (running())
        return;
    selection();
    QString path = ui().saveFileName(QStringLiteral("Salvar o manual"), QStringLiteral("Documento PDF|*.pdf"),
                                     QStringLiteral("pdf"));
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".pdf");
    path_ = path;
    start(Purpose::Pdf);
}

void TfrmEmissaoManual::btnVisualizarClick()
{
    if (running())
        return;
    selection();
    start(Purpose::Preview);
}

void TfrmEmissaoManual::btnImprimirClick()
{
    if (running())
        return;
    selection();
    printer_ = std::make_unique<QPrinter>(QPrinter::ScreenResolution);
    QPrintDialog dialog(printer_.get(), this);
    dialog.setObjectName(QStringLiteral("pdlImprimir"));
    if (ui().showModal(dialog) != QDialog::Accepted)
        return;
    start(Purpose::Printer);
}

void TfrmEmissaoManual::btnCancelarClick()
{
    if (!running())
        return;
    emission_->cancel();
    endRun(QStringLiteral("Emissão cancelada: nenhum arquivo foi gravado."));
}

void TfrmEmissaoManual::start(Purpose purpose)
{
    purpose_ = purpose;
    emission_ = std::make_unique<ManualEmission>(*source_, selection(), options());
    if (purpose == Purpose::Pdf)
        emission_->toPdf(path_);
    else if (purpose == Purpose::Printer)
        emission_->toDevice(*printer_);
    setRunning(true);
    stepTimer_->start();
}

// One step per turn of the event loop; a failure (already shown by the result check, or shown by
// the guard) abandons the emission, which leaves no file behind.
void TfrmEmissaoManual::runStep()
{
    if (!emission_)
        return;
    const bool ok = guard([this] {
        const bool more = emission_->step();
        const EmissionProgress progress = emission_->progress();
        prbEmissao->setRange(0, progress.total);
        prbEmissao->setValue(progress.done);
        lblProgresso->setText(progress.text);
        emit progressed(progress.text);
        if (!emission_)
            return;  // cancelled by someone told of the progress
        if (more)
            stepTimer_->start();
        else
            stepDone();
    });
    if (!ok && emission_)
        endRun(QStringLiteral("A emissão foi interrompida: nenhum arquivo foi gravado."));
}

void TfrmEmissaoManual::stepDone()
{
    if (purpose_ == Purpose::Preview) {
        endRun(QStringLiteral("Manual lido: visualização aberta."));
        showPreview();
        return;
    }
    const QString done = emission_->progress().text;
    endRun(done);
    if (purpose_ == Purpose::Pdf)
        ui().showInfo(QStringLiteral("Manual gravado em %1.").arg(QDir::toNativeSeparators(path_)));
}

void TfrmEmissaoManual::showPreview()
{
    std::unique_ptr<ManualEmission> read = std::move(preview_);
    if (!read)
        return;
    QPrinter printer(QPrinter::ScreenResolution);
    QPrintPreviewDialog dialog(&printer, this);
    dialog.setObjectName(QStringLiteral("ppdVisualizar"));
    dialog.setWindowTitle(QStringLiteral("Visualização do manual"));
    ManualDocument* document = read->document();
    connect(&dialog, &QPrintPreviewDialog::paintRequested, this, [document](QPrinter* target) {
        guard([&] {
            const int pages = document->layout(*target);
            QPainter painter(target);
            for (int page = 0; page < pages; ++page) {
                if (page > 0)
                    target->newPage();
                document->paintPage(painter, page);
            }
        });
    });
    ui().showModal(dialog);
}

void TfrmEmissaoManual::endRun(const QString& text)
{
    stepTimer_->stop();
    if (purpose_ == Purpose::Preview && emission_ && emission_->finished())
        preview_ = std::move(emission_);
    emission_.reset();
    lblProgresso->setText(text);
    emit progressed(text);
    setRunning(false);
    emit emissionEnded();
}

void TfrmEmissaoManual::setRunning(bool running)
{
    for (QWidget* w : std::initializer_list<QWidget*>{grbSelecao, rbtManual, rbtServico, chbFotos, chbInstrucoes,
                                                      chbEquipamentos, chbProdutos, chbDatas, btnEmitir,
                                                      btnVisualizar, btnImprimir})
        w->setEnabled(!running);
    btnCancelar->setEnabled(running);
}

}  // namespace qmv

#include "Cli_qmv00503/tfrmimpfotoman.h"

#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <memory>

#include "Cli_qmv00503/cli_qmv00503.h"
#include "host/busyindicator.h"
#include "host/childhost.h"
#include "host/codestructure.h"
#include "host/guard.h"
#include "host/menserro.h"
#include "host/pesquisa.h"
#include "host/tbtnpesquisa.h"
#include "host/tbuttonflat.h"
#include "host/tmessages.h"
#include "host/ui.h"
#include "lookup/codelookup.h"
#include "lookup/dtmdbgeral.h"
#include "lookup/lookupqueries.h"
#include "platform/dataset.h"
#include "platform/datasource.h"
#include "platform/editmask.h"
#include "platform/maskedit.h"
#include "screenlink/mainscreen.h"
#include "server/catalogue.h"
#include "server/loadresult.h"

namespace qmv {

namespace {

QLineEdit* edit(QWidget* parent, const QString& name, int width, bool origin)
{
    auto* box = new MaskEdit(parent);
    box->setObjectName(name);
    box->setFixedWidth(width);
    QPalette palette = box->palette();
    palette.setColor(QPalette::Base, origin ? QColor(255, 255, 225) : palette.color(QPalette::Button));
    box->setPalette(palette);
    box->setEnabled(origin);
    return box;
}

QLineEdit* nameBox(QWidget* parent, const QString& name)
{
    auto* box = edit(parent, name, 205, false);
    CodeLookup::makeNameBox(*box);
    return box;
}

TBtnPesquisa* lookupButton(QWidget* parent, const QString& name, const QString& title, bool enabled)
{
    auto* button = new TBtnPesquisa(parent, name);
    button->setTitle(title);
    button->setToolTip(QStringLiteral("Pesquisar"));
    button->setEnabled(enabled);
    return button;
}

QLabel* boldLabel(QWidget* parent, const QString& text, bool enabled = true)
{
    auto* label = new QLabel(text, parent);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    label->setEnabled(enabled);
    return label;
}

void addRow(QGridLayout& grid, int row, QLabel* label, QLineEdit* code, QWidget* button, QLineEdit* name)
{
    grid.addWidget(label, row, 0);
    grid.addWidget(code, row, 1);
    grid.addWidget(button, row, 2);
    grid.addWidget(name, row, 3);
}

FieldDef text(const char* name, int size, const QString& label = {}, bool visible = false)
{
    return {QString::fromLatin1(name), FieldKind::Text, size, label, visible};
}

}  // namespace

TfrmImpFotoMan* TfrmImpFotoMan::create(QWidget* parent)
{
    std::unique_ptr<TfrmImpFotoMan> form(new TfrmImpFotoMan(parent));
    form->FormCreate();
    return form.release();
}

TfrmImpFotoMan::TfrmImpFotoMan(QWidget* parent) : TfrmRotiGeral(parent)
{
    setObjectName(QStringLiteral("frmImpFotoMan"));
    setWindowTitle(QStringLiteral("Importação de Foto Montagem do Manual"));
    setScreenCode(QStringLiteral("QMV00503"));
    setHelp(QStringLiteral("Qmvhelp.hlp"), 10000503);
    resize(512, 312);
    grbDadosRel->setFixedWidth(457);
    msgPadrao->setMessages({
        QStringLiteral("SUBGRUPO|Sub-Grupo"),
        QStringLiteral("NAO_HA_SUB|Não há sub-grupo cadastrado."),
        QStringLiteral("FILIAL_NULL|Filial deve ser informada."),
        QStringLiteral("FILIAL_INV|Filial não cadastrada."),
        QStringLiteral("MANUAL_NULL|Manual deve ser informado."),
        QStringLiteral("MANUAL_INV|Manual não cadastrado."),
        QStringLiteral("SUBGRU_NULL|Sub-grupo deve ser informado."),
        QStringLiteral("SERV_NULL|Serviço deve ser informado."),
        QStringLiteral("SERV_INV|Serviço não cadastrado."),
        QStringLiteral("CONFIRMA|Serão importadas as fotos de todos os sub-grupos semelhantes entre as filiais. "
                       "Caso já exista, a foto será substituída. Confirma a importação?"),
        QStringLiteral("IMP_INV|Não é possivel fazer importação de foto para mesma filial, companhia, manual e serviço."),
        QStringLiteral("DESFAZ_TITULO|Importações para este serviço"),
        QStringLiteral("DESFAZ_NENHUMA|Não há importação de fotos para este serviço no histórico."),
        QStringLiteral("DESFAZ_CONFIRMA|Desfazer a importação de %s? As fotos que ela substituiu voltam a ser as "
                       "anteriores e as que ela incluiu são removidas."),
        QStringLiteral("DESFAZ_OFERTA|Fotos importadas: %d. Deseja desfazer esta importação agora?"),
        QStringLiteral("DESFAZ_FEITO|Fotos restauradas: %d. Fotos mantidas por terem sido alteradas depois: %d."),
    });
    buildRows();
    buildDataSets();
    bindOrigin();
}

void TfrmImpFotoMan::buildRows()
{
    auto* grid = new QGridLayout(grbDadosRel);
    grid->setVerticalSpacing(3);
    medCia = edit(grbDadosRel, QStringLiteral("medCia"), 48, false);
    edtNmCia = nameBox(grbDadosRel, QStringLiteral("edtNmCia"));
    addRow(*grid, 0, boldLabel(grbDadosRel, QStringLiteral("Companhia"), false), medCia,
           lookupButton(grbDadosRel, QStringLiteral("btnCia"), QStringLiteral("Companhia"), false), edtNmCia);

    grid->addWidget(boldLabel(grbDadosRel, QStringLiteral("Destino")), 1, 0, 1, 4);
    medFilialDes = edit(grbDadosRel, QStringLiteral("medFilialDes"), 48, false);
    edtNmFilialDes = nameBox(grbDadosRel, QStringLiteral("edtNmFilialDes"));
    addRow(*grid, 2, boldLabel(grbDadosRel, QStringLiteral("Filial"), false), medFilialDes,
           lookupButton(grbDadosRel, QStringLiteral("btnFilialDes"), QStringLiteral("Filial"), false), edtNmFilialDes);
    medManualDes = edit(grbDadosRel, QStringLiteral("medManualDes"), 48, false);
    edtNmManualDes = nameBox(grbDadosRel, QStringLiteral("edtNmManualDes"));
    addRow(*grid, 3, boldLabel(grbDadosRel, QStringLiteral("Manual"), false), medManualDes,
           lookupButton(grbDadosRel, QStringLiteral("btnManualDes"), QStringLiteral("Manual"), false), edtNmManualDes);
    medServDest = edit(grbDadosRel, QStringLiteral("medServDest"), 100, false);
    edtDsServico = nameBox(grbDadosRel, QStringLiteral("edtDsServico"));
    addRow(*grid, 4, boldLabel(grbDadosRel, QStringLiteral("Serviço"), false), medServDest,
           lookupButton(grbDadosRel, QStringLiteral("btnServDest"), QStringLiteral("Serviço"), false), edtDsServico);

    grid->addWidget(boldLabel(grbDadosRel, QStringLiteral("Origem")), 5, 0, 1, 4);
    medFilialOri = edit(grbDadosRel, QStringLiteral("medFilialOri"), 48, true);
    medFilialOri->setInputMask(EditMask(QStringLiteral(">aaaa;0; ")).inputMask());
    btnFilialOri = lookupButton(grbDadosRel, QStringLiteral("btnFilialOri"), QStringLiteral("Filial"), true);
    edtNmFilialOri = nameBox(grbDadosRel, QStringLiteral("edtNmFilialOri"));
    addRow(*grid, 6, boldLabel(grbDadosRel, QStringLiteral("Filial")), medFilialOri, btnFilialOri, edtNmFilialOri);
    medManualOri = edit(grbDadosRel, QStringLiteral("medManualOri"), 48, true);
    medManualOri->setInputMask(EditMask(QStringLiteral("9999;0; ")).inputMask());
    btnManualOri = lookupButton(grbDadosRel, QStringLiteral("btnManualOri"), QStringLiteral("Manual"), true);
    edtNmManualOri = nameBox(grbDadosRel, QStringLiteral("edtNmManualOri"));
    addRow(*grid, 7, boldLabel(grbDadosRel, QStringLiteral("Manual")), medManualOri, btnManualOri, edtNmManualOri);
    medServOrig = edit(grbDadosRel, QStringLiteral("medServOrig"), 100, true);
    btnServOrig = lookupButton(grbDadosRel, QStringLiteral("btnServOrig"), QStringLiteral("Serviço"), true);
    edtNmServOrig = nameBox(grbDadosRel, QStringLiteral("edtNmServOrig"));
    edtNmServOrig->setMaxLength(50);
    addRow(*grid, 8, boldLabel(grbDadosRel, QStringLiteral("Serviço")), medServOrig, btnServOrig, edtNmServOrig);

    auto* bevel = new QFrame(grbDadosRel);
    bevel->setFrameShape(QFrame::HLine);
    bevel->setFrameShadow(QFrame::Sunken);
    grid->addWidget(bevel, 9, 0, 1, 4);
    grid->addWidget(boldLabel(grbDadosRel, QStringLiteral("Sub-Grupo")), 10, 0);
    rbtTodos = new QRadioButton(QStringLiteral("Todos"), grbDadosRel);
    rbtTodos->setObjectName(QStringLiteral("rbtTodos"));
    rbtTodos->setChecked(true);
    rbtLista = new QRadioButton(QStringLiteral("Lista"), grbDadosRel);
    rbtLista->setObjectName(QStringLiteral("rbtLista"));
    btnSubGrupo = lookupButton(grbDadosRel, QStringLiteral("btnSubGrupo"), QStringLiteral("Sub-Grupo"), false);
    auto* choice = new QHBoxLayout;
    choice->addWidget(rbtTodos);
    choice->addWidget(rbtLista);
    choice->addWidget(btnSubGrupo);
    choice->addStretch(1);
    grid->addLayout(choice, 10, 1, 1, 3);
    btnDesfazer = new QPushButton(QStringLiteral("&Desfazer importação..."), grbDadosRel);
    btnDesfazer->setObjectName(QStringLiteral("btnDesfazer"));
    connect(btnDesfazer, &QPushButton::clicked, this, [this] { guard([this] { btnDesfazerClick(); }); });
    grid->addWidget(btnDesfazer, 11, 1, 1, 3, Qt::AlignRight);
    grid->setRowStretch(12, 1);
    grid->setColumnStretch(3, 1);
}

void TfrmImpFotoMan::buildDataSets()
{
    dtmDBGeral& db = dtmDBGeral::shared();
    qryFilial = makeQryFilial(db).release();
    qryFilial->setParent(this);
    qryManualCia = makeQryManualCiaImport(db).release();
    qryManualCia->setParent(this);

    cdsServManual = new DataSet(this);
    cdsServManual->setObjectName(QStringLiteral("cdsServManual"));
    for (const FieldDef& def : {text("SERVICO", 18), text("CDFILIAL", 4), text("CDCIA", 4),
                                text("CDARVSERV", 20, QStringLiteral("Código"), true), text("CDMANCIA", 4),
                                text("CDSERVICO", 10, QStringLiteral("Código")),
                                text("DSSERVICO", 50, QStringLiteral("Nome"), true),
                                text("SGCLASSE", 5, QStringLiteral("Classe"), true),
                                text("IDCICLO", 10, QStringLiteral("Ciclo"), true)})
        cdsServManual->addField(def);
    cdsSubGrupo = new DataSet(this);
    cdsSubGrupo->setObjectName(QStringLiteral("cdsSubGrupo"));
    for (const FieldDef& def : {FieldDef{QStringLiteral("IDMARCADO"), FieldKind::FixedText, 1, {}, true},
                                text("SUBGRUPO", 28), text("CDFILIAL", 4), text("CDCIA", 4), text("CDMANCIA", 4),
                                text("CDSERVICO", 10), text("CDSUBARV", 20, QStringLiteral("Código"), true),
                                text("CDSUBGRU", 10, QStringLiteral("Código")),
                                text("DSSUBGRU", 200, QStringLiteral("Descrição"), true),
                                text("SGCLASSE", 5, QStringLiteral("Classe"), true),
                                text("IDCICLO", 10, QStringLiteral("Ciclo"), true)})
        cdsSubGrupo->addField(def);
    const auto source = [this](const char* name, DataSet* ds) {
        auto* s = new DataSource(this);
        s->setObjectName(QLatin1String(name));
        s->setDataSet(ds);
        return s;
    };
    dtsFilial = source("dtsFilial", qryFilial);
    dtsManualCia = source("dtsManualCia", qryManualCia);
    dtsServManual = source("dtsServManual", cdsServManual);
    dtsSubGrupo = source("dtsSubGrupo", cdsSubGrupo);
}

void TfrmImpFotoMan::FormCreate()
{
    TfrmRotiGeral::FormCreate();
    const QString mask = DBPict(0);
    cdsServManual->fieldByName(QStringLiteral("CDARVSERV")).setEditMask(mask);
    cdsSubGrupo->fieldByName(QStringLiteral("CDSUBARV")).setEditMask(mask);
    medServOrig->setInputMask(EditMask(mask).inputMask());
    medServDest->setInputMask(EditMask(mask).inputMask());
}

bool TfrmImpFotoMan::event(QEvent* event)
{
    const bool handled = TfrmRotiGeral::event(event);
    if (event->type() == QEvent::WindowActivate)
        guard([this] { FormActivate(); });
    return handled;
}

MainScreen& TfrmImpFotoMan::mainScreen() const
{
    MainScreen* main = currentMainScreen();
    if (!main)
        MensErro(QStringLiteral("A tela Foto Montagem do Manual não está aberta."), true);
    return *main;
}

// The destination is always what the main screen shows.
void TfrmImpFotoMan::FormActivate()
{
    update();
    const ShownSelection m = mainScreen().shownSelection();
    const std::pair<QLineEdit*, const QString&> copies[] = {
        {medCia, m.company}, {edtNmCia, m.companyName}, {medFilialDes, m.branch},
        {edtNmFilialDes, m.branchName}, {medManualDes, m.manual}, {edtNmManualDes, m.manualName},
        {medServDest, m.service}, {edtDsServico, m.serviceName}};
    for (const auto& [to, from] : copies)
        to->setText(from);
}

void TfrmImpFotoMan::FormClose(TCloseAction& action)
{
    TfrmRotiGeral::FormClose(action);
    Cli_qmv00503::boIdCriado = false;
}

}  // namespace qmv

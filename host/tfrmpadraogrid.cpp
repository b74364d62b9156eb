#include "host/tfrmpadraogrid.h"

#include <QApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QScrollArea>
#include <QStyle>
#include <QTextDocument>
#include <QVBoxLayout>

#include "host/gridlisting.h"
#include "host/guard.h"
#include "host/pesquisa.h"
#include "host/tbuttonflat.h"
#include "host/tcustompagecontrol98.h"
#include "host/tmessages.h"
#include "host/ui.h"
#include "platform/dbedit.h"
#include "platform/dbgrid.h"
#include "platform/dbnavigator.h"
#include "platform/dbtext.h"

namespace qmv {

namespace {

TButtonFlat* toolButton(QWidget* parent, const char* name, const QString& hint, QStyle::StandardPixmap icon)
{
    auto* button = new TButtonFlat(parent, QLatin1String(name), hint);
    button->setIcon(parent->style()->standardIcon(icon));
    button->setFixedSize(25, 25);
    return button;
}

QAction* menuEntry(QMenu* menu, const char* name, const QString& caption)
{
    QAction* entry = menu->addAction(caption);
    entry->setObjectName(QLatin1String(name));
    return entry;
}

QFrame* separator(QWidget* parent)
{
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::VLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

}  // namespace

TfrmPadraoGrid::TfrmPadraoGrid(QWidget* parent)
    : TfrmBase(parent)
    , dtsPadrao(new DataSource(this))
    , msgMensagensPadroes(new TMessages(this, QStringLiteral("msgMensagensPadroes")))
{
    dtsPadrao->setObjectName(QStringLiteral("dtsPadrao"));
    msgMensagensPadroes->setMessages({QStringLiteral("Excl|Confirma exclusão?")});
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    buildMenus();
    layout->setMenuBar(mnuMenu);
    buildToolbar();
    layout->addWidget(panMenu);
    buildPages();
    layout->addWidget(pgcPadrao, 1);
    layout->addWidget(panNavigator);
    connect(dtsPadrao, &DataSource::stateChanged, this, [this] { guard([this] { dtsPadraoStateChange(); }); });
    resize(760, 520);
}

TfrmPadraoGrid::~TfrmPadraoGrid() = default;

void TfrmPadraoGrid::bindCommand(TButtonFlat* button, QAction* entry, void (TfrmPadraoGrid::*handler)())
{
    auto run = [this, handler] { guard([this, handler] { (this->*handler)(); }); };
    if (button)
        connect(button, &QAbstractButton::clicked, this, run);
    if (entry)
        connect(entry, &QAction::triggered, this, run);
}

void TfrmPadraoGrid::buildToolbar()
{
    panMenu = new QFrame(this);
    panMenu->setObjectName(QStringLiteral("panMenu"));
    panMenu->setFrameShape(QFrame::StyledPanel);
    toolbarLayout_ = new QHBoxLayout(panMenu);
    toolbarLayout_->setContentsMargins(2, 2, 2, 2);
    toolbarLayout_->setSpacing(1);
    sbtIncluir = toolButton(panMenu, "sbtIncluir", QStringLiteral("Incluir"), QStyle::SP_FileDialogNewFolder);
    sbtAlterar = toolButton(panMenu, "sbtAlterar", QStringLiteral("Alterar"), QStyle::SP_FileDialogDetailedView);
    sbtExcluir = toolButton(panMenu, "sbtExcluir", QStringLiteral("Excluir"), QStyle::SP_TrashIcon);
    sbtProcurar = toolButton(panMenu, "sbtProcurar", QStringLiteral("Procurar"), QStyle::SP_FileDialogContentsView);
    sbtVerificar = toolButton(panMenu, "sbtVerificar", QStringLiteral("Verificar"), QStyle::SP_BrowserReload);
    sbtConfirmar = toolButton(panMenu, "sbtConfirmar", QStringLiteral("Confirmar"), QStyle::SP_DialogApplyButton);
    sbtCancelar = toolButton(panMenu, "sbtCancelar", QStringLiteral("Cancelar"), QStyle::SP_DialogCancelButton);
    sbtImprimir = toolButton(panMenu, "sbtImprimir", QStringLiteral("Imprimir"), QStyle::SP_FileDialogListView);
    sbtAjuda = toolButton(panMenu, "sbtAjuda", QStringLiteral("Ajuda"), QStyle::SP_DialogHelpButton);
    sbtFechar = toolButton(panMenu, "sbtFechar", QStringLiteral("Fechar"), QStyle::SP_DialogCloseButton);
    const QList<QWidget*> dataCommands = {sbtIncluir, sbtAlterar, sbtExcluir, separator(panMenu), sbtProcurar,
                                          sbtVerificar, separator(panMenu), sbtConfirmar, sbtCancelar,
                                          separator(panMenu)};
    for (QWidget* w : dataCommands)
        toolbarLayout_->addWidget(w);
    ownButtonsAt_ = toolbarLayout_->count();
    for (QWidget* w : QList<QWidget*>{sbtImprimir, sbtAjuda, sbtFechar})
        toolbarLayout_->addWidget(w);
    toolbarLayout_->addStretch(1);
    lblCodTela->setParent(panMenu);
    toolbarLayout_->addWidget(lblCodTela);
    setCommandLayout(toolbarLayout_, ownButtonsAt_);

    bindCommand(sbtIncluir, mnuIncluir, &TfrmPadraoGrid::sbtIncluirClick);
    bindCommand(sbtAlterar, mnuAlterar, &TfrmPadraoGrid::sbtAlterarClick);
    bindCommand(sbtExcluir, mnuExcluir, &TfrmPadraoGrid::sbtExcluirClick);
    bindCommand(sbtProcurar, mnuProcurar, &TfrmPadraoGrid::sbtProcurarClick);
    bindCommand(sbtVerificar, mnuVerificar, &TfrmPadraoGrid::sbtVerificarClick);
    bindCommand(sbtConfirmar, mnuConfirmar, &TfrmPadraoGrid::sbtConfirmarClick);
    bindCommand(sbtCancelar, mnuCancelar, &TfrmPadraoGrid::sbtCancelarClick);
    bindCommand(sbtImprimir, nullptr, &TfrmPadraoGrid::sbtImprimirClick);
    bindCommand(sbtAjuda, nullptr, &TfrmPadraoGrid::sbtAjudaClick);
    bindCommand(sbtFechar, mnuSair, &TfrmPadraoGrid::sbtFecharClick);
    bindCommand(nullptr, mnuListagem, &TfrmPadraoGrid::mnuListagemClick);
    bindCommand(nullptr, mnuConfigImpressora, &TfrmPadraoGrid::mnuConfigImpressoraClick);
}

void TfrmPadraoGrid::addCommandButton(TButtonFlat* button)
{
    button->setParent(panMenu);
    TfrmBase::addCommandButton(button);
}

void TfrmPadraoGrid::buildPages()
{
    pgcPadrao = new TCustomPageControl98(this, QStringLiteral("pgcPadrao"));
    tshPadrao = new QWidget;
    tshPadrao->setObjectName(QStringLiteral("tshPadrao"));
    auto* sheet = new QVBoxLayout(tshPadrao);
    sheet->setContentsMargins(0, 0, 0, 0);
    panDbgPadrao = new QWidget(tshPadrao);
    panDbgPadrao->setObjectName(QStringLiteral("panDbgPadrao"));
    dbgPadrao = new DBGrid(panDbgPadrao, QStringLiteral("dbgPadrao"));
    dbgPadrao->setDataSource(dtsPadrao);
    auto* gridLayout = new QVBoxLayout(panDbgPadrao);
    gridLayout->setContentsMargins(0, 0, 0, 0);
    gridLayout->addWidget(dbgPadrao);
    scbFolhaDados = new QScrollArea(tshPadrao);
    scbFolhaDados->setObjectName(QStringLiteral("scbFolhaDados"));
    scbFolhaDados->setWidgetResizable(true);
    scbFolhaDados->hide();  // the data sheet of screens that show one record as a form
    sheet->addWidget(panDbgPadrao, 1);
    sheet->addWidget(scbFolhaDados, 1);
    pgcPadrao->addSheet(tshPadrao, QStringLiteral("Folha de Dados"));

    panNavigator = new QFrame(this);
    panNavigator->setObjectName(QStringLiteral("panNavigator"));
    dbtNome = new DBText(panNavigator, QStringLiteral("dbtNome"));
    dbnPadrao = new DBNavigator(panNavigator, QStringLiteral("dbnPadrao"));
    dbtNome->setDataSource(dtsPadrao);
    dbnPadrao->setDataSource(dtsPadrao);
    dbnPadrao->onRefresh = [this] { guard([this] { sbtVerificarClick(); }); };
    auto* nav = new QHBoxLayout(panNavigator);
    nav->setContentsMargins(4, 2, 4, 2);
    nav->addWidget(dbtNome, 1);
    nav->addWidget(dbnPadrao);

    pmnNavegar = new QMenu(this);
    pmnNavegar->setObjectName(QStringLiteral("pmnNavegar"));
    const std::pair<const char*, NavigateButton> moves[] = {
        {"Primeiro", NavigateButton::First}, {"Anterior", NavigateButton::Prior},
        {"Próximo", NavigateButton::Next}, {"Último", NavigateButton::Last}};
    for (const auto& [caption, which] : moves) {
        const NavigateButton button = which;
        connect(pmnNavegar->addAction(QString::fromUtf8(caption)), &QAction::triggered, this,
                [this, button] { dbnPadrao->BtnClick(button); });
    }
    dbgPadrao->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(dbgPadrao, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { pmnNavegar->popup(dbgPadrao->viewport()->mapToGlobal(at)); });
}

void TfrmPadraoGrid::buildMenus()
{
    mnuMenu = new QMenuBar(this);
    mnuMenu->setObjectName(QStringLiteral("mnuMenu"));
    mnuOperacao = mnuMenu->addMenu(QStringLiteral("&Operação"));
    mnuOperacao->setObjectName(QStringLiteral("mnuOperacao"));
    mnuListagem = menuEntry(mnuOperacao, "mnuListagem", QStringLiteral("&Listagem"));
    mnuConfigImpressora = menuEntry(mnuOperacao, "mnuConfigImpressora", QStringLiteral("&Configurar Impressora"));
    mnuOperacao->addSeparator();
    mnuSair = menuEntry(mnuOperacao, "mnuSair", QStringLiteral("Sai&r"));
    mnuManutencao = mnuMenu->addMenu(QStringLiteral("&Manutenção"));
    mnuManutencao->setObjectName(QStringLiteral("mnuManutencao"));
    mnuIncluir = menuEntry(mnuManutencao, "mnuIncluir", QStringLiteral("&Incluir"));
    mnuAlterar = menuEntry(mnuManutencao, "mnuAlterar", QStringLiteral("&Alterar"));
    mnuExcluir = menuEntry(mnuManutencao, "mnuExcluir", QStringLiteral("&Excluir"));
    mnuProcurar = menuEntry(mnuManutencao, "mnuProcurar", QStringLiteral("&Procurar"));
    mnuVerificar = menuEntry(mnuManutencao, "mnuVerificar", QStringLiteral("&Verificar"));
    mnuCancelar = menuEntry(mnuManutencao, "mnuCancelar", QStringLiteral("&Cancelar"));
    mnuConfirmar = menuEntry(mnuManutencao, "mnuConfirmar", QStringLiteral("C&onfirmar"));
}

DataSet* TfrmPadraoGrid::dataSetPadrao() const
{
    return dtsPadrao->dataSet();
}

bool TfrmPadraoGrid::editing() const
{
    const DataSetState s = dtsPadrao->state();
    return s == DataSetState::Edit || s == DataSetState::Insert;
}

void TfrmPadraoGrid::FormCreate()
{
    TfrmBase::FormCreate();
    dtsPadraoStateChange();  // nothing to work on yet: the data commands start disabled
}

void TfrmPadraoGrid::FormClose(TCloseAction& action)
{
    TfrmBase::FormClose(action);
}

void TfrmPadraoGrid::FormKeyDown(int& key, Qt::KeyboardModifiers shift)
{
    TfrmBase::FormKeyDown(key, shift);
}

bool TfrmPadraoGrid::EscapeKey()
{
    if (!editing())
        return false;
    sbtCancelarClick();
    return true;
}

// The standard toolbar follows the state of dtsPadrao: in browse the commands on a record need a
// record; while a record is edited only confirm and cancel are available.
void TfrmPadraoGrid::dtsPadraoStateChange()
{
    const DataSet* ds = dataSetPadrao();
    const DataSetState state = dtsPadrao->state();
    const bool browse = state == DataSetState::Browse;
    const bool edit = state == DataSetState::Edit || state == DataSetState::Insert;
    const bool rows = ds && ds->isActive() && !ds->isEmpty();
    sbtIncluir->setEnabled(browse);
    sbtAlterar->setEnabled(browse && rows);
    sbtExcluir->setEnabled(browse && rows);
    sbtProcurar->setEnabled(browse && rows);
    sbtVerificar->setEnabled(browse);
    sbtConfirmar->setEnabled(edit);
    sbtCancelar->setEnabled(edit);
    sbtImprimir->setEnabled(browse && rows);
    mnuIncluir->setEnabled(sbtIncluir->isEnabled());
    mnuAlterar->setEnabled(sbtAlterar->isEnabled());
    mnuExcluir->setEnabled(sbtExcluir->isEnabled());
    mnuProcurar->setEnabled(sbtProcurar->isEnabled());
    mnuVerificar->setEnabled(sbtVerificar->isEnabled());
    mnuConfirmar->setEnabled(sbtConfirmar->isEnabled());
    mnuCancelar->setEnabled(sbtCancelar->isEnabled());
}

void TfrmPadraoGrid::sbtIncluirClick()
{
    if (DataSet* ds = dataSetPadrao()) {
        ds->insert();
        if (pgcPadrao->ActivePage() == tshPadrao && dbgPadrao->isVisible())
            dbgPadrao->setFocus();
    }
}

void TfrmPadraoGrid::sbtAlterarClick()
{
    if (DataSet* ds = dataSetPadrao())
        ds->edit();
}

void TfrmPadraoGrid::sbtExcluirClick()
{
    DataSet* ds = dataSetPadrao();
    if (!ds || !ds->isActive() || ds->isEmpty())
        return;
    if (msgMensagensPadroes->ShowMsg(QStringLiteral("Excl"), MsgType::Confirmation, mbYes | mbNo, 0) == mrYes)
        ds->remove();
}

void TfrmPadraoGrid::sbtProcurarClick()
{
    if (DataSet* ds = dataSetPadrao())
        Procura(*ds);
}

void TfrmPadraoGrid::sbtVerificarClick()
{
    if (reloadPadrao)
        reloadPadrao();
}

void TfrmPadraoGrid::sbtConfirmarClick()
{
    DataSet* ds = dataSetPadrao();
    if (!ds || !editing())
        return;
    // The edit holding the focus keeps it when a toolbar button is pressed: take what it holds.
    if (auto* edit = qobject_cast<DBEdit*>(QApplication::focusWidget()); edit && isAncestorOf(edit))
        edit->updateRecord();
    ds->post();
}

void TfrmPadraoGrid::sbtCancelarClick()
{
    if (DataSet* ds = dataSetPadrao())
        ds->cancel();
}

void TfrmPadraoGrid::sbtImprimirClick()
{
    if (mnuListagem->isEnabled())
        mnuListagemClick();
}

void TfrmPadraoGrid::sbtAjudaClick()
{
    ShowHelp();
}

void TfrmPadraoGrid::sbtFecharClick()
{
    close();
}

QPageSetupDialog* TfrmPadraoGrid::psdConfigurar()
{
    if (!printer_)
        printer_ = std::make_unique<QPrinter>();
    if (!pageSetup_) {
        pageSetup_ = new QPageSetupDialog(printer_.get(), this);
        pageSetup_->setObjectName(QStringLiteral("psdConfigurar"));
    }
    return pageSetup_;
}

QPrintDialog* TfrmPadraoGrid::prdImprimir()
{
    if (!printer_)
        printer_ = std::make_unique<QPrinter>();
    if (!printDialog_) {
        printDialog_ = new QPrintDialog(printer_.get(), this);
        printDialog_->setObjectName(QStringLiteral("prdImprimir"));
    }
    return printDialog_;
}

void TfrmPadraoGrid::mnuListagemClick()
{
    QPrintDialog* dialog = prdImprimir();
    if (ui().showModal(*dialog) != QDialog::Accepted)
        return;
    QTextDocument listing;
    listing.setHtml(gridListingHtml(*dbgPadrao, windowTitle(), screenCode()));
    listing.print(printer_.get());
}

void TfrmPadraoGrid::mnuConfigImpressoraClick()
{
    ui().showModal(*psdConfigurar());
}

}  // namespace qmv

// The screen's own buttons in the command bar, the six tick-box pictures kept hidden there, and the
// commands as this screen takes them: include, confirm, verify and find per page, the form's keys,
// the filter, and the question asked when the window closes over a pending edit.
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QStyle>

#include "Cli_qmv00500/datessheet.h"
#include "Cli_qmv00500/productlist.h"
#include "Cli_qmv00500/equipmentlist.h"
#include "Cli_qmv00500/instructionssheet.h"
#include "Cli_qmv00500/photopage.h"
#include "Cli_qmv00500/subgroupsheet.h"
#include "Cli_qmv00500/tfrmfotomontmanual.h"
#include "Cli_qmv00501/cli_qmv00501.h"
#include "Cli_qmv00505/cli_qmv00505.h"
#include "host/controls.h"
#include "host/guard.h"
#include "host/tbuttonflat.h"
#include "host/tcustompagecontrol98.h"
#include "host/tickbox.h"
#include "host/ui.h"
#include "platform/dataset.h"
#include "platform/datasource.h"

namespace qmv {

namespace {

QLabel* hiddenPicture(QWidget* parent, const QString& name, const QPixmap& pixmap)
{
    auto* picture = new QLabel(parent);
    picture->setObjectName(name);
    picture->setFixedSize(16, 16);
    picture->setPixmap(pixmap);
    picture->hide();
    return picture;
}

}  // namespace

void TfrmFotoMontManual::buildCommands()
{
    sbtFiltroD = new TButtonFlat(panMenu, QStringLiteral("sbtFiltroD"), QStringLiteral("Filtrar"));
    sbtFiltroD->setIcon(style()->standardIcon(QStyle::SP_FileDialogContentsView));
    sbtAutoExibe = new TButtonFlat(panMenu, QStringLiteral("sbtAutoExibe"),
                                   QStringLiteral("Exibição Automática"), true);
    sbtAutoExibe->setIcon(style()->standardIcon(QStyle::SP_MediaPlay));
    sbtManualCia = new TButtonFlat(panMenu, QStringLiteral("sbtManualCia"), QStringLiteral("Emissão do Manual"));
    sbtManualCia->setIcon(style()->standardIcon(QStyle::SP_FileDialogDetailedView));
    sbtImpFoto = new TButtonFlat(panMenu, QStringLiteral("sbtImpFoto"), QStringLiteral("Importação de Foto"));
    sbtImpFoto->setIcon(style()->standardIcon(QStyle::SP_DialogOpenButton));
    sbtManualCia->setFixedSize(20, 21);
    sbtImpFoto->setFixedSize(21, 21);
    for (TButtonFlat* button : {sbtFiltroD, sbtAutoExibe, sbtManualCia, sbtImpFoto}) {
        button->setEnabled(false);
        addCommandButton(button);
    }
    sbtImprimir->setEnabled(false);

    const QColor olive = tickBoxOlive;
    imgCheck = hiddenPicture(panMenu, QStringLiteral("imgCheck"), tickBox(true, true, olive));
    imgUncheck = hiddenPicture(panMenu, QStringLiteral("imgUncheck"), tickBox(false, true, olive));
    imgDesCheck = hiddenPicture(panMenu, QStringLiteral("imgDesCheck"), tickBox(true, false, olive));
    imgDesUnCheck = hiddenPicture(panMenu, QStringLiteral("imgDesUnCheck"), tickBox(false, false, olive));
    imgCheck2 = hiddenPicture(panMenu, QStringLiteral("imgCheck2"), tickBox(true, true, Qt::white));
    imgUncheck2 = hiddenPicture(panMenu, QStringLiteral("imgUncheck2"), tickBox(false, true, Qt::white));
}

}  // namespace qmv

namespace qmv {

namespace {

QAction* menuEntry(QObject* parent, const QString& name, const QString& caption)
{
    auto* action = new QAction(caption, parent);
    action->setObjectName(name);
    return action;
}

}  // namespace

// The page entries ahead of the operations menu's own, and the screen's commands after the
// maintenance menu's own. The photo import's entry is left enabled here; the lock that creation
// applies until a selection is loaded disables it with its button, as every other command.
void TfrmFotoMontManual::buildMenus()
{
    mnuFolhaDados = menuEntry(this, QStringLiteral("mnuFolhaDados"), QStringLiteral("&Sub-Grupo"));
    mnuFormulario = menuEntry(this, QStringLiteral("mnuFormulario"), QStringLiteral("&Foto Sub-Grupo"));
    mnuProdRec = menuEntry(this, QStringLiteral("mnuProdRec"), QStringLiteral("Produto/Receita"));
    QAction* first = mnuOperacao->actions().value(0);
    for (QAction* entry : {mnuFolhaDados, mnuFormulario, mnuProdRec}) {
        entry->setCheckable(true);
        mnuOperacao->insertAction(first, entry);
    }
    mnuOperacao->insertSeparator(first);
    mnuFolhaDados->setChecked(true);
    mnuListagem->setEnabled(false);
    mnuConfigImpressora->setEnabled(false);

    mnuFiltro = menuEntry(this, QStringLiteral("mnuFiltro"), QStringLiteral("&Filtro"));
    mnuFiltro->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
    mnuExibeAuto = menuEntry(this, QStringLiteral("mnuExibeAuto"), QStringLiteral("E&xibição Automática"));
    mnuDirFoto = menuEntry(this, QStringLiteral("mnuDirFoto"), QStringLiteral("Ar&mazenar Foto"));
    mnuEmiteManual = menuEntry(this, QStringLiteral("mnuEmiteManual"), QStringLiteral("Emissão do Manual"));
    mnuImpFoto = menuEntry(this, QStringLiteral("mnuImpFoto"), QStringLiteral("&Importação de Foto"));
    mnuImpFoto->setStatusTip(QStringLiteral("PLN01303"));
    mnuImpFoto->setToolTip(QStringLiteral("PLN01303"));
    mnuManutencao->addSeparator();
    for (QAction* entry : {mnuFiltro, mnuExibeAuto, mnuDirFoto, mnuEmiteManual, mnuImpFoto})
        mnuManutencao->addAction(entry);
    for (QAction* entry : {mnuFiltro, mnuExibeAuto, mnuDirFoto, mnuEmiteManual})
        entry->setEnabled(false);
    addActions({mnuFiltro});
    subGroups_->addHistoryEntry(*mnuManutencao, *pmnNavegar, *this);
}

void TfrmFotoMontManual::bindCommands()
{
    connect(sbtFiltroD, &QAbstractButton::clicked, this, [this] { guard([this] { sbtFiltroDClick(); }); });
    connect(mnuFiltro, &QAction::triggered, this, [this] { guard([this] { sbtFiltroD->Click(); }); });
    connect(mnuExibeAuto, &QAction::triggered, this, [this] { guard([this] { sbtAutoExibe->Click(); }); });
}

// On the equipment sheet, Include opens the inclusion dialog instead of adding a blank row.
void TfrmFotoMontManual::sbtIncluirClick()
{
    if (pgcPadrao->ActivePage() == tshFotoServ && pgcSubGrupo->ActivePage() == tshEquipamento)
        Cli_qmv00505::CriaIncluEqui();
    else
        TfrmPadraoGrid::sbtIncluirClick();
}

void TfrmFotoMontManual::sbtConfirmarClick()
{
    TfrmPadraoGrid::sbtConfirmarClick();
    if (dates_->inView())
        dates_->CopiaDatas();
}

// Reloads the data in view; the photo stays and dtsPadrao keeps its dataset.
void TfrmFotoMontManual::sbtVerificarClick()
{
    QWidget* page = pgcPadrao->ActivePage();
    QWidget* inner = pgcSubGrupo->ActivePage();
    if (page == tshProdRec)
        loadPageData(products_->records());
    else if (page == tshPadrao || inner == tshDadosAdic)
        subGroups_->load();
    else if (inner == tshInstMont)
        loadPageData(instructions_->records());
    else if (inner == tshEquipamento)
        loadPageData(equipment_->records());
}

void TfrmFotoMontManual::sbtProcurarClick()
{
    TfrmPadraoGrid::sbtProcurarClick();
}

void TfrmFotoMontManual::sbtFiltroDClick()
{
    Cli_qmv00501::CriaFiltroFoto();
}

void TfrmFotoMontManual::FormKeyDown(int& key, Qt::KeyboardModifiers shift)
{
    TfrmPadraoGrid::FormKeyDown(key, shift);
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    if (enter && (shift & Qt::ControlModifier)) {
        const DataSetState state = equipment_->source().state();
        if (state == DataSetState::Edit || state == DataSetState::Insert)
            sbtConfirmar->Click();
    } else if (key == Qt::Key_F12 && (shift & ~Qt::KeypadModifier) == Qt::NoModifier
               && QApplication::mouseButtons() == Qt::NoButton) {
        if (QWidget* control = SelectNextControl(pgcSubGrupo, false, true, false))
            SelectFirstControl(control->parentWidget());
    }
}

DataSet* TfrmFotoMontManual::pendingEdit() const
{
    DataSet* pending = nullptr;
    if (!products_)  // still being built
        return pending;
    for (DataSet* ds : {&subGroups_->records(), &photo_->records(), &instructions_->records(),
                        &equipment_->records(), &products_->records()}) {
        if (ds->state() == DataSetState::Edit || ds->state() == DataSetState::Insert)
            pending = ds;
    }
    return pending;
}

// A command that hands the work to another window stores what is being typed first; a refused or
// failed post ends the command with the edit still on screen.
void TfrmFotoMontManual::postPendingEdit()
{
    if (DataSet* pending = pendingEdit())
        pending->post();
}

// Closing with a record in edit asks first: Sim keeps the window when the post fails, Não drops
// the edit, Cancelar keeps the window.
bool TfrmFotoMontManual::askToSaveOnClose()
{
    DataSet* pending = pendingEdit();
    if (!pending)
        return true;
    switch (ui().askYesNoCancel(QStringLiteral("Deseja salvar as alterações?"))) {
    case Answer::Yes:
        pending->post();
        return true;
    case Answer::No:
        pending->cancel();
        return true;
    case Answer::Cancel:
        break;
    }
    return false;
}

}  // namespace qmv

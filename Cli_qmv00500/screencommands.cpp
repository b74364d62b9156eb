#include "Cli_qmv00500/screencommands.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QStyle>
#include <QVariantList>

#include "Cli_qmv00500/autodisplaycommand.h"
#include "Cli_qmv00500/cli_qmv00500.h"
#include "Cli_qmv00500/datessheet.h"
#include "Cli_qmv00500/equipmentlist.h"
#include "Cli_qmv00500/screenpages.h"
#include "Cli_qmv00501/cli_qmv00501.h"
#include "Cli_qmv00502/cli_qmv00502.h"
#include "Cli_qmv00503/cli_qmv00503.h"
#include "Cli_qmv00505/cli_qmv00505.h"
#include "host/controls.h"
#include "host/guard.h"
#include "host/loadbpl.h"
#include "host/tbuttonflat.h"
#include "host/tcustompagecontrol98.h"
#include "host/tfrmpadraogrid.h"
#include "host/tickbox.h"
#include "host/ui.h"
#include "platform/dataset.h"
#include "platform/datasource.h"

namespace qmv {

namespace {

void hiddenPicture(QWidget* parent, const QString& name, const QPixmap& pixmap)
{
    auto* picture = new QLabel(parent);
    picture->setObjectName(name);
    picture->setFixedSize(16, 16);
    picture->setPixmap(pixmap);
    picture->hide();
}

QAction* menuEntry(QObject* parent, const QString& name, const QString& caption)
{
    auto* action = new QAction(caption, parent);
    action->setObjectName(name);
    return action;
}

}  // namespace

ScreenCommands::ScreenCommands(const Screen& screen, QObject* parent) : QObject(parent), screen_(screen)
{
    buildButtons();
    buildMenus();
    autoDisplay_ = new AutoDisplayCommand({*sbtAutoExibe_, screen_.subGroups,
                                           [this] { return screen_.pages.pendingEdit() != nullptr; },
                                           screen_.decideCommands},
                                          this);
    bind();
}

void ScreenCommands::buildButtons()
{
    TfrmPadraoGrid& form = screen_.form;
    QFrame* bar = form.panMenu;
    sbtFiltroD_ = new TButtonFlat(bar, QStringLiteral("sbtFiltroD"), QStringLiteral("Filtrar"));
    sbtFiltroD_->setIcon(form.style()->standardIcon(QStyle::SP_FileDialogContentsView));
    sbtAutoExibe_ = new TButtonFlat(bar, QStringLiteral("sbtAutoExibe"), QStringLiteral("Exibição Automática"), true);
    sbtAutoExibe_->setIcon(form.style()->standardIcon(QStyle::SP_MediaPlay));
    sbtManualCia_ = new TButtonFlat(bar, QStringLiteral("sbtManualCia"), QStringLiteral("Emissão do Manual"));
    sbtManualCia_->setIcon(form.style()->standardIcon(QStyle::SP_FileDialogDetailedView));
    sbtImpFoto_ = new TButtonFlat(bar, QStringLiteral("sbtImpFoto"), QStringLiteral("Importação de Foto"));
    sbtImpFoto_->setIcon(form.style()->standardIcon(QStyle::SP_DialogOpenButton));
    sbtManualCia_->setFixedSize(20, 21);
    sbtImpFoto_->setFixedSize(21, 21);
    for (TButtonFlat* button : {sbtFiltroD_, sbtAutoExibe_, sbtManualCia_, sbtImpFoto_}) {
        button->setEnabled(false);
        form.addCommandButton(button);
    }
    form.sbtImprimir->setEnabled(false);

    const QColor olive = tickBoxOlive;
    hiddenPicture(bar, QStringLiteral("imgCheck"), tickBox(true, true, olive));
    hiddenPicture(bar, QStringLiteral("imgUncheck"), tickBox(false, true, olive));
    hiddenPicture(bar, QStringLiteral("imgDesCheck"), tickBox(true, false, olive));
    hiddenPicture(bar, QStringLiteral("imgDesUnCheck"), tickBox(false, false, olive));
    hiddenPicture(bar, QStringLiteral("imgCheck2"), tickBox(true, true, Qt::white));
    hiddenPicture(bar, QStringLiteral("imgUncheck2"), tickBox(false, true, Qt::white));
}

// After the maintenance menu's own entries. The photo import's entry is left enabled here; the
// lock that creation applies until a selection is loaded disables it with its button.
void ScreenCommands::buildMenus()
{
    TfrmPadraoGrid& form = screen_.form;
    form.mnuListagem->setEnabled(false);
    form.mnuConfigImpressora->setEnabled(false);
    mnuFiltro_ = menuEntry(this, QStringLiteral("mnuFiltro"), QStringLiteral("&Filtro"));
    mnuFiltro_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
    mnuExibeAuto_ = menuEntry(this, QStringLiteral("mnuExibeAuto"), QStringLiteral("E&xibição Automática"));
    mnuDirFoto_ = menuEntry(this, QStringLiteral("mnuDirFoto"), QStringLiteral("Ar&mazenar Foto"));
    mnuEmiteManual_ = menuEntry(this, QStringLiteral("mnuEmiteManual"), QStringLiteral("Emissão do Manual"));
    mnuImpFoto_ = menuEntry(this, QStringLiteral("mnuImpFoto"), QStringLiteral("&Importação de Foto"));
    mnuImpFoto_->setStatusTip(QStringLiteral("PLN01303"));
    mnuImpFoto_->setToolTip(QStringLiteral("PLN01303"));
    form.mnuManutencao->addSeparator();
    for (QAction* entry : {mnuFiltro_, mnuExibeAuto_, mnuDirFoto_, mnuEmiteManual_, mnuImpFoto_})
        form.mnuManutencao->addAction(entry);
    for (QAction* entry : {mnuFiltro_, mnuExibeAuto_, mnuDirFoto_, mnuEmiteManual_})
        entry->setEnabled(false);
    form.addAction(mnuFiltro_);
}

void ScreenCommands::bind()
{
    connect(sbtFiltroD_, &QAbstractButton::clicked, this, guarded([this] { sbtFiltroDClick(); }));
    connect(mnuFiltro_, &QAction::triggered, this, guarded([this] { sbtFiltroD_->Click(); }));
    connect(mnuExibeAuto_, &QAction::triggered, this, guarded([this] { sbtAutoExibe_->Click(); }));
    connect(sbtManualCia_, &QAbstractButton::clicked, this, guarded([this] { sbtManualCiaClick(); }));
    connect(mnuEmiteManual_, &QAction::triggered, this, guarded([this] { sbtManualCia_->Click(); }));
    connect(sbtImpFoto_, &QAbstractButton::clicked, this, guarded([this] { sbtImpFotoClick(); }));
}

void ScreenCommands::setEnabled(bool enabled)
{
    for (TButtonFlat* command : {sbtFiltroD_, sbtAutoExibe_, sbtManualCia_, sbtImpFoto_})
        command->setEnabled(enabled);
    followButtons();
}

void ScreenCommands::setDecided(bool filter, bool autoDisplay)
{
    sbtFiltroD_->setEnabled(filter);
    sbtAutoExibe_->setEnabled(autoDisplay || autoDisplay_->running());
    mnuFiltro_->setEnabled(sbtFiltroD_->isEnabled());
    mnuExibeAuto_->setEnabled(sbtAutoExibe_->isEnabled());
}

void ScreenCommands::followButtons()
{
    const std::pair<QAction*, TButtonFlat*> entries[] = {
        {mnuFiltro_, sbtFiltroD_}, {mnuExibeAuto_, sbtAutoExibe_}, {mnuEmiteManual_, sbtManualCia_},
        {mnuImpFoto_, sbtImpFoto_}};
    for (const auto& [entry, button] : entries)
        entry->setEnabled(button->isEnabled());
}

// On the equipment sheet, Include opens the inclusion dialog instead of adding a blank row.
void ScreenCommands::sbtIncluirClick()
{
    if (screen_.pages.inView() == MainPage::FotoServ && screen_.pages.innerInView() == InnerPage::Equipamento)
        Cli_qmv00505::CriaIncluEqui();
    else
        screen_.baseInclude();
}

void ScreenCommands::sbtConfirmarClick()
{
    screen_.baseConfirm();
    if (screen_.dates.inView())
        screen_.dates.CopiaDatas();
}

void ScreenCommands::sbtVerificarClick()
{
    screen_.pages.reloadInView();
}

void ScreenCommands::sbtFiltroDClick()
{
    Cli_qmv00501::CriaFiltroFoto();
}

void ScreenCommands::FormKeyDown(int& key, Qt::KeyboardModifiers shift)
{
    screen_.baseKeyDown(key, shift);
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    if (enter && (shift & Qt::ControlModifier)) {
        const DataSetState state = screen_.equipment.source().state();
        if (state == DataSetState::Edit || state == DataSetState::Insert)
            screen_.form.sbtConfirmar->Click();
    } else if (key == Qt::Key_F12 && (shift & ~Qt::KeypadModifier) == Qt::NoModifier
               && QApplication::mouseButtons() == Qt::NoButton) {
        if (QWidget* control = SelectNextControl(&screen_.pages.inner(), false, true, false))
            SelectFirstControl(control->parentWidget());
    }
}

// A command that hands the work to another window stores what is being typed first; a refused or
// failed post ends the command with the edit still on screen.
void ScreenCommands::postPendingEdit()
{
    if (DataSet* pending = screen_.pages.pendingEdit())
        pending->post();
}

void ScreenCommands::sbtImprimirClick()
{
    postPendingEdit();
    Cli_qmv00502::CriaRelFotoMan();
}

// The sibling screen receives this screen's code and the main form, as a reference held in an integer.
void ScreenCommands::sbtManualCiaClick()
{
    postPendingEdit();
    LoadBPL(QStringLiteral("QMV01200"), QVariantList{QStringLiteral("QMV00500"), Cli_qmv00500::mainFormReference()});
}

void ScreenCommands::sbtImpFotoClick()
{
    postPendingEdit();
    Cli_qmv00503::CriaImpFotoMan();
}

// Sim keeps the window when the post fails, Não drops the edit, Cancelar keeps the window.
bool ScreenCommands::askToSaveOnClose()
{
    DataSet* pending = screen_.pages.pendingEdit();
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

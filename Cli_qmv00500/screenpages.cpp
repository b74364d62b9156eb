#include "Cli_qmv00500/screenpages.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QSplitter>
#include <QVBoxLayout>
#include <tuple>

#include "Cli_qmv00500/datessheet.h"
#include "Cli_qmv00500/equipmentlist.h"
#include "Cli_qmv00500/instructionssheet.h"
#include "Cli_qmv00500/photopage.h"
#include "Cli_qmv00500/productlist.h"
#include "Cli_qmv00500/subgroupsheet.h"
#include "host/guard.h"
#include "host/tcustompagecontrol98.h"
#include "lookup/selectionpanel.h"
#include "platform/dataset.h"
#include "platform/datasource.h"

namespace qmv {

namespace {

QWidget* sheetNamed(const QString& name)
{
    auto* page = new QWidget;
    page->setObjectName(name);
    return page;
}

QAction* menuEntry(QObject* parent, const QString& name, const QString& caption)
{
    auto* action = new QAction(caption, parent);
    action->setObjectName(name);
    action->setCheckable(true);
    return action;
}

bool editing(const DataSet& ds)
{
    return ds.state() == DataSetState::Edit || ds.state() == DataSetState::Insert;
}

}  // namespace

ScreenPages::ScreenPages(const Screen& screen, QObject* parent) : QObject(parent), screen_(screen)
{
    build();
    buildMenus();
    bind();
}

void ScreenPages::attach(const Parts& parts)
{
    parts_.emplace(parts);
}

void ScreenPages::build()
{
    TCustomPageControl98& pages = screen_.pages;
    pages.setTabText(pages.indexOf(&screen_.subGroupSheet), QStringLiteral("Sub-Grupo"));
    tshFotoServ_ = pages.addSheet(sheetNamed(QStringLiteral("tshFotoServ")), QStringLiteral("Foto Sub-Grupo"));
    tshProdRec_ = pages.addSheet(sheetNamed(QStringLiteral("tshProdRec")), QStringLiteral("Produto/Receita"));
    tshFotoServ_->setEnabled(false);

    splFotoServ_ = new QSplitter(Qt::Horizontal, tshFotoServ_);
    splFotoServ_->setObjectName(QStringLiteral("splFotoServ"));
    splFotoServ_->setHandleWidth(3);
    splFotoServ_->setChildrenCollapsible(false);
    auto* layout = new QVBoxLayout(tshFotoServ_);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(splFotoServ_);

    pgcSubGrupo_ = new TCustomPageControl98(splFotoServ_, QStringLiteral("pgcSubGrupo"));
    pgcSubGrupo_->setMinimumWidth(453);
    const std::pair<const char*, QString> inner[] = {{"tshInstMont", QStringLiteral("Instruções de Montagem")},
                                                     {"tshEquipamento", QStringLiteral("Equipamentos")},
                                                     {"tshDadosAdic", QStringLiteral("Dados Adicionais")}};
    for (int i = 0; i < 3; ++i)
        inner_[i] = pgcSubGrupo_->addSheet(sheetNamed(QLatin1String(inner[i].first)), inner[i].second);
    splFotoServ_->addWidget(pgcSubGrupo_);
    splFotoServ_->setStretchFactor(0, 1);
}

// Ahead of the operations menu's own entries.
void ScreenPages::buildMenus()
{
    entries_ = {menuEntry(this, QStringLiteral("mnuFolhaDados"), QStringLiteral("&Sub-Grupo")),
                menuEntry(this, QStringLiteral("mnuFormulario"), QStringLiteral("&Foto Sub-Grupo")),
                menuEntry(this, QStringLiteral("mnuProdRec"), QStringLiteral("Produto/Receita"))};
    QAction* first = screen_.operations.actions().value(0);
    for (QAction* entry : entries_)
        screen_.operations.insertAction(first, entry);
    screen_.operations.insertSeparator(first);
    entries_[0]->setChecked(true);
}

void ScreenPages::bind()
{
    connect(&screen_.pages, &TCustomPageControl98::Change, this, guarded([this] { pgcPadraoChange(); }));
    connect(pgcSubGrupo_, &TCustomPageControl98::Change, this, guarded([this] { pgcSubGrupoChange(); }));
    connect(entries_[0], &QAction::triggered, this, guarded([this] { mnuFolhaDadosClick(); }));
    connect(entries_[1], &QAction::triggered, this, guarded([this] { mnuFormularioClick(); }));
    connect(entries_[2], &QAction::triggered, this, guarded([this] { mnuProdRecClick(); }));
}

QWidget& ScreenPages::sheet(MainPage page) const
{
    QWidget* const pages[] = {&screen_.subGroupSheet, tshFotoServ_, tshProdRec_};
    return *pages[static_cast<int>(page)];
}

QWidget& ScreenPages::innerSheet(InnerPage page) const
{
    return *inner_[static_cast<int>(page)];
}

MainPage ScreenPages::inView() const
{
    const QWidget* page = screen_.pages.ActivePage();
    if (page == tshFotoServ_)
        return MainPage::FotoServ;
    return page == tshProdRec_ ? MainPage::ProdRec : MainPage::SubGrupo;
}

InnerPage ScreenPages::innerInView() const
{
    const QWidget* page = pgcSubGrupo_->ActivePage();
    if (page == inner_[1])
        return InnerPage::Equipamento;
    return page == inner_[2] ? InnerPage::DadosAdic : InnerPage::InstMont;
}

void ScreenPages::show(MainPage page)
{
    screen_.pages.SetActivePage(&sheet(page));
    pgcPadraoChange();
}

void ScreenPages::showFirst()
{
    screen_.pages.SetActivePage(&screen_.subGroupSheet);
    pgcSubGrupo_->SetActivePage(inner_[0]);
    checkMenus(MainPage::SubGrupo);
}

void ScreenPages::setDataSheetsEnabled(bool enabled)
{
    for (QWidget* page : {tshFotoServ_, inner_[0], tshProdRec_})
        page->setEnabled(enabled);
    for (int i = 0; i < 3; ++i)
        entries_[i]->setEnabled(sheet(static_cast<MainPage>(i)).isEnabled());
}

void ScreenPages::setEnabled(const std::array<bool, 3>& pages, const std::array<bool, 3>& inner)
{
    for (int i = 0; i < 3; ++i) {
        sheet(static_cast<MainPage>(i)).setEnabled(pages[i]);
        inner_[i]->setEnabled(inner[i]);
        entries_[i]->setEnabled(pages[i]);
    }
}

void ScreenPages::checkMenus(MainPage page)
{
    for (int i = 0; i < 3; ++i)
        entries_[i]->setChecked(static_cast<int>(page) == i);
}

void ScreenPages::loadPageData(DataSet& target)
{
    const Parts& p = *parts_;
    if (&target == &p.instructions.records())
        p.instructions.load();
    else if (&target == &p.photo.records())
        p.photo.load();
    else if (&target == &p.equipment.records())
        p.equipment.load();
    else if (&target == &p.products.records())
        p.products.load(screen_.selection.rows().medFilial->text(), p.subGroups.records());
    else if (&target == &p.subGroups.records())
        p.subGroups.load();
}

void ScreenPages::reloadAfterRefusal(DataSet& target)
{
    if (&target == &parts_->subGroups.records())
        return parts_->subGroups.reloadKeepingRow();
    const int row = target.recNo();
    loadPageData(target);
    if (row > 0 && row <= target.recordCount())
        target.setRecNo(row);
}

void ScreenPages::reloadInView()
{
    const Parts& p = *parts_;
    const InnerPage inner = innerInView();
    if (inView() == MainPage::ProdRec)
        loadPageData(p.products.records());
    else if (inView() == MainPage::SubGrupo || inner == InnerPage::DadosAdic)
        p.subGroups.load();
    else if (inner == InnerPage::InstMont)
        loadPageData(p.instructions.records());
    else
        loadPageData(p.equipment.records());
}

// The current sub-group stays until the record waiting in edit is confirmed or cancelled.
QString ScreenPages::pendingPage() const
{
    const Parts& p = *parts_;
    const std::tuple<const DataSet*, const QTabWidget*, QWidget*> pages[] = {
        {&p.photo.records(), &screen_.pages, tshFotoServ_},
        {&p.instructions.records(), pgcSubGrupo_, inner_[0]},
        {&p.equipment.records(), pgcSubGrupo_, inner_[1]},
        {&p.products.records(), &screen_.pages, tshProdRec_},
    };
    for (const auto& [ds, control, page] : pages) {
        if (editing(*ds))
            return control->tabText(control->indexOf(page));
    }
    return {};
}

DataSet* ScreenPages::pendingEdit() const
{
    DataSet* pending = nullptr;
    if (!parts_)  // still being built
        return pending;
    const Parts& p = *parts_;
    for (DataSet* ds : {&p.subGroups.records(), &p.photo.records(), &p.instructions.records(),
                        &p.equipment.records(), &p.products.records()}) {
        if (editing(*ds))
            pending = ds;
    }
    return pending;
}

// The current sub-group's instructions, read again and shown in the instruction editor.
void ScreenPages::showInstructions()
{
    loadPageData(parts_->instructions.records());
    screen_.commandSource.setDataSet(&parts_->instructions.records());
    parts_->instructions.showInEditor();
}

void ScreenPages::pgcPadraoChange()
{
    const Parts& p = *parts_;
    DataSet& instructions = p.instructions.records();
    if (instructions.state() == DataSetState::Insert && instructions.changeCount() == 0)
        instructions.cancelUpdates();
    const MainPage page = inView();
    if (page == MainPage::SubGrupo) {
        screen_.commandSource.setDataSet(&p.subGroups.records());
    } else if (page == MainPage::FotoServ) {
        const InnerPage inner = innerInView();
        if (inner == InnerPage::InstMont) {
            showInstructions();
        } else if (inner == InnerPage::Equipamento) {
            loadPageData(p.equipment.records());
            screen_.commandSource.setDataSet(&p.equipment.records());
        } else {
            screen_.commandSource.setDataSet(&p.subGroups.records());
            p.dates.clearBlankDates();
        }
        loadPageData(p.photo.records());
    } else {
        loadPageData(p.products.records());
        screen_.commandSource.setDataSet(&p.products.records());
    }
    checkMenus(page);
    p.photo.dtsFotoSeMaStateChange();
}

// Choosing the instructions loads those of the current sub-group, never another's left from before.
void ScreenPages::pgcSubGrupoChange()
{
    const InnerPage inner = innerInView();
    if (inner == InnerPage::InstMont) {
        showInstructions();
    } else if (inner == InnerPage::Equipamento) {
        screen_.commandSource.setDataSet(&parts_->equipment.records());
        loadPageData(parts_->equipment.records());
    } else {
        screen_.commandSource.setDataSet(&parts_->subGroups.records());
    }
}

void ScreenPages::mnuFolhaDadosClick()
{
    show(MainPage::SubGrupo);
}

void ScreenPages::mnuFormularioClick()
{
    show(MainPage::FotoServ);
}

void ScreenPages::mnuProdRecClick()
{
    show(MainPage::ProdRec);
}

}  // namespace qmv

// Journeys through the real shell and main screen under a window manager, with real message boxes
// and list windows: the selection panel as a person meets it, and what must not happen to it when
// menus, dialogs, the busy window and the pages take the focus for a while.
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QStyleOptionHeader>
#include <QStyleOptionViewItem>
#include <QTabBar>
#include <QTest>
#include <gtest/gtest.h>

#include "Cli_qmv00500/screenpages.h"
#include "Cli_qmv00500/subgroupsheet.h"
#include "Cli_qmv00500/tfrmfotomontmanual.h"
#include "host/controls.h"
#include "host/searchlistdialog.h"
#include "host/shell/hostlook.h"
#include "host/shell/shellwindow.h"
#include "host/tbtnpesquisa.h"
#include "host/tbuttonflat.h"
#include "host/tcustompagecontrol98.h"
#include "host/ui.h"
#include "platform/dataset.h"
#include "platform/dbgrid.h"
#include "realwindow/realshell.h"
#include "support/named.h"

namespace qmv {
namespace {

using test::named;
using test::RealShell;

// A list window answered as a person does: the code typed into its search box, then Enter.
std::function<void(SearchListDialog&)> pick(const QString& code)
{
    return [code](SearchListDialog& list) {
        QTest::keyClicks(list.searchBox(), code);
        QTest::keyClick(list.windowHandle(), Qt::Key_Return);
    };
}

class Journey : public ::testing::Test {
protected:
    TfrmFotoMontManual& f() { return s.form(); }
    bool inPanel() { return s.focus() && f().panFiltro->isAncestorOf(s.focus()); }

    void loadService()
    {
        s.typeKey("CIA1", "1", "1.01.001");  // the last Tab leaves the panel
        ASSERT_TRUE(s.messages.isEmpty()) << s.messages.join('|').toStdString();
        ASSERT_TRUE(f().loaded());
        ASSERT_EQ(f().subGroupSheet().records().recordCount(), 3);
    }

    void expectStillLoaded(QWidget* page)
    {
        EXPECT_TRUE(f().loaded());
        EXPECT_EQ(f().subGroupSheet().records().recordCount(), 3);
        EXPECT_FALSE(inPanel()) << (s.focus() ? s.focus()->objectName().toStdString() : "nothing");
        EXPECT_EQ(f().pgcPadrao->currentWidget(), page);
        EXPECT_EQ(f().pgcPadrao->tabBar()->currentIndex(), f().pgcPadrao->indexOf(page));
    }

    RealShell s;
};

TEST_F(Journey, TheScreenOpensReadyForTypingWithTheDataPagesLocked)
{
    EXPECT_TRUE(s.shell().isMaximized());
    EXPECT_EQ(s.focus(), static_cast<QWidget*>(f().selection().rows().medCdCia));
    for (QWidget* sheet : {&f().pages().sheet(MainPage::FotoServ), &f().pages().sheet(MainPage::ProdRec)})
        EXPECT_FALSE(sheet->isEnabled()) << sheet->objectName().toStdString();
    for (const char* entry : {"mnuFormulario", "mnuProdRec", "mnuFiltro", "mnuImpFoto"})
        EXPECT_FALSE(named<QAction>(f(), entry)->isEnabled()) << entry;

    s.clickTab(*f().pgcPadrao, f().pages().sheet(MainPage::ProdRec));
    EXPECT_EQ(f().pgcPadrao->currentWidget(), f().tshPadrao);
    s.press(Qt::Key_Tab);
    EXPECT_EQ(s.focus(), static_cast<QWidget*>(f().selection().rows().medCdManCia));
    EXPECT_TRUE(s.messages.isEmpty()) << s.messages.join('|').toStdString();
}

TEST_F(Journey, ListButtonsOpenTheirListsWhateverTheOtherFieldsHold)
{
    s.type("CI");  // half a company, never validated
    s.onList = pick("CIA1");
    s.click(*f().selection().rows().btpCompanhia);
    EXPECT_EQ(f().selection().rows().edtNmCia->text(), "Companhia Um");

    s.press(Qt::Key_Tab);
    s.type("9");  // a manual that does not exist
    s.onList = pick("0001");
    s.click(*f().selection().rows().btpManualCia);
    EXPECT_EQ(f().selection().rows().edtDsManCia->text(), "Manual A");

    s.onList = pick("");  // the first service, as the list opens on it
    s.click(*f().selection().rows().btpServManual);
    EXPECT_EQ(f().selection().rows().edtDsServico->text(), "Almoço");
    EXPECT_EQ(s.lists, QStringList({"Companhia", "Manual", "Serviço"}));
    EXPECT_TRUE(s.messages.isEmpty()) << s.messages.join('|').toStdString();
    EXPECT_EQ(s.focus(), static_cast<QWidget*>(f().selection().rows().medCdServico));
}

// Each step leaves the panel by Tab from "Serviço" and must give exactly one message, titled with
// the application's name, with the focus in the field it names.
TEST_F(Journey, LeavingAnIncompletePanelNamesOneFieldAndPutsTheFocusThere)
{
    s.click(*f().selection().rows().medFilial);
    s.press(Qt::Key_End);
    for (int i = 0; i < 4; ++i)
        s.press(Qt::Key_Backspace);
    s.click(*f().selection().rows().medCdServico);
    struct Step {
        QString typeFirst;
        int tabs;
        QString message;
        QLineEdit* focus;
    };
    const Step steps[] = {
        {"", 1, "Filial deve ser informada.", f().selection().rows().medFilial},
        {"0001", 4, "Companhia deve ser informada.", f().selection().rows().medCdCia},
        {"CIA1", 3, "Manual deve ser informado.", f().selection().rows().medCdManCia},
        {"1", 2, "Serviço deve ser informado.", f().selection().rows().medCdServico},
    };
    for (const Step& step : steps) {
        const qsizetype before = s.messages.size();
        s.type(step.typeFirst);
        for (int i = 0; i < step.tabs; ++i)
            s.press(Qt::Key_Tab);
        EXPECT_EQ(s.messages.mid(before), QStringList({step.message}));
        EXPECT_EQ(s.focus(), static_cast<QWidget*>(step.focus)) << step.message.toStdString() << " -> "
                                        << (s.focus() ? s.focus()->objectName().toStdString() : "nothing");
        EXPECT_FALSE(f().loaded());
    }
    EXPECT_EQ(s.titles.value(0), QString::fromUtf8(hostDisplayName));
}

TEST_F(Journey, AMenuClosedByEscapeIsNoLeavingOfThePanel)
{
    QMenuBar& bar = *f().mnuMenu;
    s.click(bar, bar.actionGeometry(f().mnuOperacao->menuAction()).center());
    ASSERT_TRUE(test::eventually([] { return QApplication::activePopupWidget() != nullptr; }));
    s.press(Qt::Key_Escape);
    s.press(Qt::Key_Escape);
    EXPECT_TRUE(s.messages.isEmpty()) << s.messages.join('|').toStdString();
    EXPECT_EQ(s.focus(), static_cast<QWidget*>(f().selection().rows().medCdCia));
}

TEST_F(Journey, MenusDialogsAndPagesLeaveTheLoadedDataAlone)
{
    loadService();
    s.clickGridRow(1);
    QMenuBar& bar = *f().mnuMenu;
    s.click(bar, bar.actionGeometry(f().mnuOperacao->menuAction()).center());
    s.press(Qt::Key_Escape);
    s.press(Qt::Key_Escape);
    expectStillLoaded(f().tshPadrao);

    s.press(Qt::Key_T, Qt::ControlModifier);  // the shell's "open by code" dialog, closed by Escape
    expectStillLoaded(f().tshPadrao);
    s.clickTab(*f().pgcPadrao, f().pages().sheet(MainPage::FotoServ));
    expectStillLoaded(&f().pages().sheet(MainPage::FotoServ));
    s.clickTab(*f().pgcPadrao, f().pages().sheet(MainPage::ProdRec));
    expectStillLoaded(&f().pages().sheet(MainPage::ProdRec));
    EXPECT_TRUE(s.messages.isEmpty()) << s.messages.join('|').toStdString();
}

TEST_F(Journey, AFailedLoadShowsItsErrorOverTheBusyWindowAndKeepsTheFocusInThePanel)
{
    s.type("CIA1");
    s.press(Qt::Key_Tab);
    s.type("1");
    s.press(Qt::Key_Tab);
    s.onList = pick("");
    s.click(*f().selection().rows().btpServManual);
    ASSERT_FALSE(f().selection().rows().edtDsServico->text().isEmpty());
    s.stopServer();
    s.press(Qt::Key_Tab);
    ASSERT_TRUE(test::eventually([this] { return !s.messages.isEmpty(); }));
    s.settle(300);
    EXPECT_EQ(s.messages.size(), 1) << s.messages.join('|').toStdString();
    EXPECT_EQ(s.busyInView, QList<bool>({false}));
    EXPECT_FALSE(f().loaded());
    EXPECT_EQ(s.focus(), static_cast<QWidget*>(f().selection().rows().medCdServico));
}

TEST_F(Journey, GridColumnsAndScreenCodesShowTheirTextsWhole)
{
    loadService();
    DBGrid& grid = *f().dbgPadrao;
    QHeaderView& header = *grid.horizontalHeader();
    for (int column = 0; column < grid.model()->columnCount(); ++column) {
        QStyleOptionHeader title;
        title.initFrom(&header);
        title.text = grid.model()->headerData(column, Qt::Horizontal).toString();
        const QSize needed = header.style()->sizeFromContents(QStyle::CT_HeaderSection, &title, QSize(), &header);
        EXPECT_LE(needed.width(), header.sectionSize(column)) << title.text.toStdString();
    }
    for (const char* field : {"NRORDSUMA", "VRPELOADSUMA"}) {
        const int column = IndiceCol(grid, field);
        for (int row = 0; row < grid.model()->rowCount(); ++row) {
            const QModelIndex cell = grid.model()->index(row, column);
            QStyleOptionViewItem option;
            option.initFrom(grid.viewport());
            const int needed = grid.itemDelegateForIndex(cell)->sizeHint(option, cell).width() + 1;
            EXPECT_LE(needed, grid.columnWidth(column)) << field << " " << cell.data().toString().toStdString();
        }
    }
    EXPECT_LE(f().lblCodTela->sizeHint().width(), f().lblCodTela->width());

    int importCode = -1;
    s.onOtherModal = [&importCode](QWidget& dialog) {
        if (auto* code = dialog.findChild<QLabel*>("lblCodTela"))
            importCode = code->width() - code->sizeHint().width();
        dialog.close();
    };
    s.click(*named<TButtonFlat>(f(), "sbtImpFoto"));
    ASSERT_TRUE(test::eventually([&importCode] { return importCode != -1; }));
    EXPECT_GE(importCode, 0) << "the import dialog's screen code is clipped";
}

TEST_F(Journey, QtsOwnDialogsSpeakPortuguese)
{
    QStringList texts;
    s.onOtherModal = [&texts](QWidget& dialog) {
        for (const QPushButton* button : dialog.findChildren<QPushButton*>())
            texts << button->text().remove('&');
        for (const QLabel* label : dialog.findChildren<QLabel*>())
            texts << label->text().remove('&');
        QTest::keyClick(dialog.windowHandle(), Qt::Key_Escape);
    };
    ui().saveFileName("Salvar relatório", "Texto|*.txt", "txt");
    EXPECT_TRUE(texts.contains("Salvar")) << texts.join('|').toStdString();
    EXPECT_TRUE(texts.contains("Cancelar")) << texts.join('|').toStdString();
    EXPECT_FALSE(texts.contains("Look in:")) << texts.join('|').toStdString();
    EXPECT_FALSE(texts.contains("File name:")) << texts.join('|').toStdString();
}

}  // namespace
}  // namespace qmv

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

#include "host/controls.h"
#include "host/finddialog.h"
#include "host/pesquisa.h"
#include "host/qtui.h"
#include "host/busywindow.h"
#include "host/searchlistdialog.h"
#include "host/tbtnpesquisa.h"
#include "platform/dbgrid.h"
#include "support/scriptedui.h"

namespace qmv {
namespace {

DataPacket companies(int rows)
{
    DataPacket p;
    p.fields = {FieldDef{"CDCIA", FieldKind::Text, 4, "Código", false},
                FieldDef{"SGCIA", FieldKind::Text, 5, "Sigla"},
                FieldDef{"NMCIA", FieldKind::Text, 50, "Nome"}};
    const QStringList names = {"ALFA", "BETA", "GAMA", "DELTA"};
    for (int i = 0; i < rows; ++i)
        p.rows << Row{QString("000%1").arg(i + 1), names[i % 4], "Companhia " + names[i % 4]};
    return p;
}

struct Source {
    DataSet ds;
    DataSource source;
    explicit Source(int rows)
    {
        ds.loadPacket(companies(rows));
        source.setDataSet(&ds);
    }
};

auto pickRow(int recNo)
{
    return [recNo](DataSource& s, const QString&) {
        s.dataSet()->setRecNo(recNo);
        return true;
    };
}

TEST(Pesquisar, ThePickedRowBecomesCurrent)
{
    ScriptedUi ui;
    Source s(4);
    ui.answerSearch(pickRow(3));
    EXPECT_TRUE(Pesquisar(s.source, "Companhia", false, true));
    EXPECT_EQ(s.ds.fieldByName("SGCIA").asString(), "GAMA");
    EXPECT_EQ(ui.searchTitles, QStringList{"Companhia"});

    ui.answerSearch([](DataSource&, const QString&) { return false; });
    EXPECT_FALSE(Pesquisar(s.source, "Companhia"));
    EXPECT_EQ(s.ds.recNo(), 3);
}

TEST(Pesquisar, AnEmptyOrClosedSourceShowsNoList)
{
    ScriptedUi ui;
    Source s(0);
    EXPECT_FALSE(Pesquisar(s.source, "Companhia"));
    s.ds.close();
    EXPECT_FALSE(Pesquisar(s.source, "Companhia"));
    EXPECT_TRUE(ui.searchTitles.isEmpty());
}

TEST(PesquisaLista, JoinsTheMarkedCodesAndKeepsTheOldResultOnCancel)
{
    ScriptedUi ui;
    Source s(4);
    QString result = "'antes'";
    ui.answerSearchMany([](DataSource& src, const QString& field, const QStringList& titles) {
        EXPECT_EQ(titles, (QStringList{"Sub-Grupos", "Não há sub-grupos."}));
        const Field& f = src.dataSet()->fieldByName(field);
        return QStringList{f.valueAt(0).toString(), f.valueAt(2).toString()};
    });
    ui.answerSearchMany([](DataSource&, const QString&, const QStringList&) { return QStringList(); });
    EXPECT_TRUE(PesquisaLista(s.source, "CDCIA", "Sub-Grupos|Não há sub-grupos.", false, result));
    EXPECT_EQ(result, "'0001','0003'");
    EXPECT_FALSE(PesquisaLista(s.source, "CDCIA", "Sub-Grupos|Não há sub-grupos.", false, result));
    EXPECT_EQ(result, "'0001','0003'");
}

TEST(PesquisaLista, AnEmptyListShowsItsTextAndAnUnknownFieldIsRefused)
{
    ScriptedUi ui;
    Source empty(0);
    QString result;
    EXPECT_FALSE(PesquisaLista(empty.source, "CDCIA", "Sub-Grupos|Não há sub-grupos.", false, result));
    EXPECT_EQ(ui.errors, QStringList{"Não há sub-grupos."});
    Source s(2);
    EXPECT_THROW(PesquisaLista(s.source, "CDSUBARV", "T|V", false, result), DataSetError);
    EXPECT_TRUE(result.isEmpty());
}

TEST(TBtnPesquisa, ShowsEmptyErrorWhenTheListHasNoRows)
{
    ScriptedUi ui;
    Source s(0);
    QLineEdit code;
    TBtnPesquisa button(nullptr, "btpCompanhia");
    button.setAssociate(&code);
    button.setTitle("Companhia");
    button.setDataSource(&s.source);
    button.setEmptyError("Não há companhia cadastrada para a filial cadastrada.");
    int before = 0, after = 0;
    button.BeforePesq = [&](QObject* sender, bool&) {
        EXPECT_EQ(sender, &button);
        ++before;
    };
    button.AfterPesq = [&](QObject*) { ++after; };
    button.click();
    EXPECT_EQ(before, 1);
    EXPECT_EQ(after, 0);
    EXPECT_EQ(ui.errors, QStringList{"Não há companhia cadastrada para a filial cadastrada."});
    EXPECT_TRUE(ui.searchTitles.isEmpty());
}

TEST(TBtnPesquisa, ListsTheSourceLoadedBeforeAndRunsAfterPesqOnAPick)
{
    ScriptedUi ui;
    Source s(0);
    QWidget window;
    auto* code = new QLineEdit(&window);
    TBtnPesquisa button(&window, "btpCompanhia");
    button.setAssociate(code);
    button.setTitle("Companhia");
    button.setDataSource(&s.source);
    window.show();
    QApplication::setActiveWindow(&window);
    button.BeforePesq = [&](QObject*, bool&) { s.ds.loadPacket(companies(4)); };
    button.AfterPesq = [&](QObject*) { code->setText(s.ds.fieldByName("SGCIA").asString()); };
    ui.answerSearch(pickRow(2));
    button.click();
    EXPECT_EQ(code->text(), "BETA");
    EXPECT_EQ(ui.searchTitles, QStringList{"Companhia"});
    EXPECT_TRUE(code->hasFocus());

    ui.answerSearch([](DataSource&, const QString&) { return false; });
    code->clear();
    button.click();
    EXPECT_EQ(code->text(), "");  // cancelled: no AfterPesq
}

TEST(TBtnPesquisa, BeforePesqCanStopItAndItsErrorsGoThroughTheGuard)
{
    ScriptedUi ui;
    Source s(3);
    TBtnPesquisa button;
    button.setDataSource(&s.source);
    button.BeforePesq = [](QObject*, bool& proceed) { proceed = false; };
    button.click();
    EXPECT_TRUE(ui.searchTitles.isEmpty());
    button.BeforePesq = [](QObject*, bool&) { throw std::runtime_error("Banco indisponível"); };
    button.click();
    EXPECT_EQ(ui.errors, QStringList{"Banco indisponível"});
}

TEST(SearchListDialog, PicksOneRowOrTheValuesOfManyRows)
{
    Source s(4);
    SearchListDialog single(s.source, "Companhia", SearchListDialog::Single);
    EXPECT_EQ(single.windowTitle(), "Companhia");
    EXPECT_EQ(single.table()->model()->columnCount(), 2);  // CDCIA is not visible
    QTest::keyClicks(single.searchBox(), "ga");
    EXPECT_EQ(single.pickedRows(), QList<int>{2});
    EXPECT_TRUE(single.positionOnPick());
    EXPECT_EQ(s.ds.recNo(), 3);

    SearchListDialog many(s.source, "Sub-Grupos", SearchListDialog::Many);
    EXPECT_FALSE(many.positionOnPick());
    many.table()->selectRow(3);
    many.table()->selectRow(1);
    EXPECT_EQ(many.pickedValues("CDCIA"), (QStringList{"0002", "0004"}));
    EXPECT_EQ(s.ds.recNo(), 3);  // listing never moves the dataset
}

// A list whose first column is the same on many rows: the box looks in the column the list is
// sorted by, and before any sort in every column, starts-with first, then contains.
TEST(SearchListDialog, TheSearchBoxLooksInTheSortedColumnOrElseInEveryColumn)
{
    DataPacket p;
    p.fields = {FieldDef{"CDCIA", FieldKind::Text, 4, "Código", false}, FieldDef{"SGCIA", FieldKind::Text, 5, "Sigla"},
                FieldDef{"NMCIA", FieldKind::Text, 50, "Nome"}};
    p.rows = {Row{"0001", "BETA", "Arroz doce"}, Row{"0002", "ZETA", "Molho branco"},
              Row{"0003", "ALFA", "Doce de leite"}, Row{"0004", "GAMA", "Arroz branco"}};
    struct Case {
        int sortedBy;  // the column whose title is clicked, -1 for none
        const char* typed;
        int picked;  // the list opens on the first row
    };
    const Case cases[] = {
        {-1, "doce", 2}, {-1, "branco", 1}, {-1, "gam", 3}, {1, "arroz", 3}, {1, "gam", 0},
    };
    for (const Case& c : cases) {
        DataSet ds;
        ds.loadPacket(p);
        DataSource source;
        source.setDataSet(&ds);
        SearchListDialog list(source, "Sub-Grupos", SearchListDialog::Single);
        list.show();
        QHeaderView* header = list.table()->horizontalHeader();
        if (c.sortedBy >= 0)
            QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                              QPoint(header->sectionViewportPosition(c.sortedBy) + header->sectionSize(c.sortedBy) / 2,
                                     header->height() / 2));
        QTest::keyClicks(list.searchBox(), c.typed);
        EXPECT_EQ(list.pickedRows(), QList<int>{c.picked}) << c.sortedBy << " " << c.typed;
    }
}

TEST(FindDialog, MakesTheFoundRecordCurrentOrSaysItWasNotFound)
{
    Source s(4);
    FindDialog dialog(s.ds);
    dialog.fieldBox()->setCurrentIndex(dialog.fieldBox()->findData("NMCIA"));
    dialog.valueBox()->setText("companhia del");
    EXPECT_TRUE(dialog.find());
    EXPECT_EQ(s.ds.fieldByName("SGCIA").asString(), "DELTA");
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    FindDialog again(s.ds);
    again.valueBox()->setText("ZETA");
    EXPECT_FALSE(again.find());
    EXPECT_EQ(again.statusLabel()->text(), "Registro não encontrado.");
    EXPECT_EQ(s.ds.fieldByName("SGCIA").asString(), "DELTA");
}

TEST(Procura, AsksTheSeamOnlyForADataSetWithRows)
{
    ScriptedUi ui;
    Source s(3);
    ui.answerFind([](DataSet& ds) { return ds.locate("SGCIA", {"GAMA"}); });
    EXPECT_TRUE(Procura(s.ds));
    EXPECT_EQ(s.ds.recNo(), 3);
    s.ds.close();
    EXPECT_FALSE(Procura(s.ds));
    EXPECT_EQ(ui.log, QStringList{"find"});
}

TEST(IndiceCol, FindsTheColumnOfAField)
{
    DBGrid grid;
    grid.setColumns({{"NRORDSUMA", 26}, {"CDSUBARV", 99}, {"OBS", 28}});
    EXPECT_EQ(IndiceCol(grid, "OBS"), 2);
    EXPECT_EQ(IndiceCol(grid, "cdsubarv"), 1);
    EXPECT_EQ(IndiceCol(grid, "TXCOMSUMA"), -1);
}

TEST(QtUi, FileFiltersAndBusyCaptions)
{
    EXPECT_EQ(qtFileFilter("Todos (*.jpg;*.jpeg;*.bmp)|*.jpg;*.jpeg;*.bmp|Bitmaps (*.bmp)|*.bmp"),
              "Todos (*.jpg;*.jpeg;*.bmp) (*.jpg *.jpeg *.bmp);;Bitmaps (*.bmp) (*.bmp)");
    EXPECT_EQ(qtFileFilter("Texto (*.txt)"), "Texto (*.txt)");
    EXPECT_NE(BusyWindow::captionFor(0), BusyWindow::captionFor(6));
    EXPECT_NE(BusyWindow::captionFor(1), BusyWindow::captionFor(6));
}

TEST(QtUi, WaitCursorIsSetAndRestored)
{
    QtUi ui;
    ui.setCursor(CursorShape::Wait);
    ui.setCursor(CursorShape::Wait);
    ASSERT_TRUE(QApplication::overrideCursor());
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    ui.setCursor(CursorShape::Default);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(ui.cursor(), CursorShape::Default);
}

}  // namespace
}  // namespace qmv

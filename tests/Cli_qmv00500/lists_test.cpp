// The equipment list and the product/recipe list of the current sub-group over the real server,
// every call recorded: what a post checks, rewrites and sends, what a deletion sends, what the grid
// keys leave alone, and the texts of a product row.
#include <QApplication>
#include <QLocale>
#include <QSqlQuery>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>
#include <optional>

#include "Cli_qmv00500/equipmentlist.h"
#include "Cli_qmv00500/loadedscreen.h"
#include "Cli_qmv00500/productlist.h"
#include "Cli_qmv00500/productrules.h"
#include "Cli_qmv00500/screenpages.h"
#include "host/guard.h"
#include "host/tbuttonflat.h"
#include "host/tcustompagecontrol98.h"
#include "platform/dataset.h"
#include "platform/dbgrid.h"
#include "support/named.h"

namespace qmv {
namespace {

using test::named;

class Lists : public ::testing::Test {
protected:
    TfrmFotoMontManual& f() { return s.form(); }
    void showEquipment()
    {
        s.choosePage(f().pages().sheet(MainPage::FotoServ));
        s.chooseInnerPage(f().pages().innerSheet(InnerPage::Equipamento));
        s.takeCalls();
    }
    QVariant stored(const QString& sql)
    {
        QSqlQuery query(s.database().db());
        return query.exec(sql) && query.next() ? query.value(0) : QVariant();
    }
    QString keys()
    {
        QStringList values;
        for (const char* key : {"CDFILIAL", "CDCIA", "CDESPEPROD", "CDPRODUTO"})
            values << f().equipmentList().records().fieldByName(QLatin1String(key)).asString();
        return values.join('/');
    }
    test::LoadedScreen s;
};

TEST_F(Lists, EquipmentPostRewritesTheKeysChecksTheQuantityAndSendsAtOnce)
{
    struct Row {
        const char* quantity;
        bool failSend;
        const char* error;  // part of the message shown, empty for none
        DataSetState state;
        QStringList calls;
        double stored;
    };
    const QStringList sent = {"SetEquiSubSeMa(<delta:U>)"};
    const QStringList refusedAndReloaded = {"SetEquiSubSeMa(<delta:U>)", R"(GetEquiSubSeMa("S1","E1","3"))"};
    const Row rows[] = {
        {"3", false, "", DataSetState::Browse, sent, 3},
        {"-1", false, "", DataSetState::Browse, sent, -1},
        {"0", false, "Quantidade deve ser informada.", DataSetState::Edit, {}, -1},
        {"", false, "Quantidade deve ser informada.", DataSetState::Edit, {}, -1},
        {"5", true, "Servidor fora", DataSetState::Browse, refusedAndReloaded, -1},
    };
    showEquipment();
    DataSet& ds = f().equipmentList().records();
    for (const Row& row : rows) {
        if (row.failSend)
            s.transport().fail("SetEquiSubSeMa", "Servidor fora");
        s.ui().errors.clear();
        const double before = ds.fieldByName("QTEQUISUMA").asFloat();
        guard([&] {
            ds.edit();
            for (const char* key : {"CDFILIAL", "CDCIA", "CDESPEPROD", "CDPRODUTO"})
                ds.fieldByName(QLatin1String(key)).setAsString("XX");
            ds.fieldByName("QTEQUISUMA").setText(row.quantity);
            ds.post();
        });
        const std::string what = std::string("quantity '") + row.quantity + "'";
        EXPECT_EQ(keys(), "0001/0001/E1/S1") << what;
        EXPECT_EQ(s.ui().errors.join('|').contains(row.error), true) << what << s.ui().errors.join('|').toStdString();
        EXPECT_EQ(s.ui().errors.isEmpty(), *row.error == 0) << what;
        EXPECT_EQ(ds.state(), row.state) << what;
        EXPECT_EQ(s.takeCalls(), row.calls) << what;
        EXPECT_EQ(stored("SELECT QTEQUISUMA FROM EQUISUBSEMA WHERE CDESPEPROD = 'E1'").toDouble(), row.stored) << what;
        EXPECT_FALSE(s.ui().busyVisible()) << what;
        if (!row.calls.isEmpty()) {
            EXPECT_EQ(s.ui().lastBusyKind(), 1) << what;
        }
        if (row.failSend) {
            EXPECT_EQ(ds.fieldByName("QTEQUISUMA").asFloat(), before) << what << ": the refused change is dropped";
        }
        if (ds.state() == DataSetState::Edit) {
            ds.cancel();
            EXPECT_EQ(ds.fieldByName("QTEQUISUMA").asFloat(), before) << what;
        }
    }
}

TEST_F(Lists, DeletionsAreSentAtOnceAndCtrlDeleteLeavesTheEquipment)
{
    struct Row {
        const char* what;
        std::function<void(TfrmFotoMontManual&)> act;
        std::optional<bool> answer;  // the confirmation, when one is asked
        QStringList calls;
        const char* list;  // the dataset's object name
        int rowsLeft;
        const char* storedCount;
    };
    using F = TfrmFotoMontManual;
    const char* equipment = "SELECT COUNT(*) FROM EQUISUBSEMA WHERE CDESPEPROD = 'E1'";
    const char* products = "SELECT COUNT(*) FROM PRODRECSEMA WHERE CDESPEPROD = 'E1'";
    const Row rows[] = {
        {"Ctrl+Delete on equipment",
         [](F& f) { QTest::keyClick(named<DBGrid>(f, "dbgEquiSubSeMa"), Qt::Key_Delete, Qt::ControlModifier); },
         {}, {}, "cdsEquiSubSeMa", 1, equipment},
        {"delete command on equipment", [](F& f) { f.sbtExcluir->Click(); }, true, {"SetEquiSubSeMa(<delta:D>)"},
         "cdsEquiSubSeMa", 0, equipment},
        {"Ctrl+Delete on products, refused",
         [](F& f) { QTest::keyClick(named<DBGrid>(f, "dbgProRecSeMa"), Qt::Key_Delete, Qt::ControlModifier); },
         false, {}, "cdsProRecSeMa", 2, products},
        {"Ctrl+Delete on products",
         [](F& f) { QTest::keyClick(named<DBGrid>(f, "dbgProRecSeMa"), Qt::Key_Delete, Qt::ControlModifier); },
         true, {"SetProRecSeMa(<delta:D>)"}, "cdsProRecSeMa", 1, products},
    };
    showEquipment();
    for (const Row& row : rows) {
        if (QLatin1String(row.list) == QLatin1String("cdsProRecSeMa")
            && f().pgcPadrao->currentWidget() != &f().pages().sheet(MainPage::ProdRec)) {
            s.choosePage(f().pages().sheet(MainPage::ProdRec));
            s.takeCalls();
        }
        s.ui().questions.clear();
        if (row.answer)
            s.ui().answerYesNo(*row.answer);
        row.act(f());
        EXPECT_EQ(s.ui().questions.size(), row.answer ? 1 : 0) << row.what;
        EXPECT_EQ(s.takeCalls(), row.calls) << row.what;
        EXPECT_EQ(named<DataSet>(f(), row.list)->recordCount(), row.rowsLeft) << row.what;
        EXPECT_EQ(stored(row.storedCount).toInt(), row.rowsLeft) << row.what;
        EXPECT_TRUE(s.ui().errors.isEmpty()) << row.what << s.ui().errors.join('|').toStdString();
    }
}

TEST_F(Lists, InsertAndTheDownArrowOnTheLastRowAddNoRow)
{
    showEquipment();
    for (DBGrid* grid : {named<DBGrid>(f(), "dbgEquiSubSeMa"), named<DBGrid>(f(), "dbgProRecSeMa")}) {
        if (grid == named<DBGrid>(f(), "dbgProRecSeMa"))
            s.choosePage(f().pages().sheet(MainPage::ProdRec));
        s.takeCalls();
        DataSet& ds = *grid->dataSet();
        const int rows = ds.recordCount();
        grid->setFocus();
        grid->setCurrentIndex(grid->model()->index(rows - 1, 0));
        for (Qt::Key key : {Qt::Key_Insert, Qt::Key_Down}) {
            QTest::keyClick(grid, key);
            EXPECT_EQ(ds.rowCount(), rows) << grid->objectName().toStdString() << " key " << key;
            EXPECT_EQ(ds.state(), DataSetState::Browse) << grid->objectName().toStdString();
        }
        EXPECT_TRUE(s.takeCalls().isEmpty());
    }
    EXPECT_TRUE(s.ui().errors.isEmpty());
}

TEST(ProductRules, OrderAndCodeTexts)
{
    const std::pair<const char*, const char*> orders[] = {{"7", "007"}, {"12", "012"}, {"123", "123"},
                                                          {" 7 ", "007"}, {"", ""}, {"   ", ""}};
    for (const auto& [typed, order] : orders)
        EXPECT_EQ(productOrder(typed), order) << "'" << typed << "'";
    const char mask[] = "9.99.999;0; ";
    EXPECT_EQ(productCodeText("P", "201001", mask), "2.01.001");
    EXPECT_EQ(productCodeText("R", "501001", mask), "5.01.001");
    EXPECT_EQ(productCodeText("X", "501001", mask), "");
    EXPECT_EQ(productCodeText("", "501001", mask), "");
}

// A person typing into a cell of the current row of a list grid and leaving the cell.
void typeInCell(DBGrid& grid, const QString& field, const QString& text)
{
    int column = 0;
    while (column < grid.columnCount() && grid.columnField(column) != field)
        ++column;
    const QModelIndex cell = grid.model()->index(grid.dataSet()->currentRow(), column);
    grid.setFocus();
    grid.setCurrentIndex(cell);
    grid.edit(cell);
    QWidget* editor = grid.indexWidget(cell) ? grid.indexWidget(cell) : QApplication::focusWidget();
    QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(editor, Qt::Key_Delete);
    QTest::keyClicks(editor, text);
    QTest::keyClick(editor, Qt::Key_Tab);
}

TEST_F(Lists, ProductOrderAndCommentAreTypedCheckedAndKept)
{
    s.choosePage(f().pages().sheet(MainPage::ProdRec));
    EXPECT_EQ(s.takeCalls(), QStringList{R"(GetProRecSeMa("0001","0001","0001","0000001001","S1","0001","0001"))"});
    DBGrid& grid = *named<DBGrid>(f(), "dbgProRecSeMa");
    DataSet& ds = f().products().records();
    ASSERT_TRUE(ds.locate("CDPRODINSUMO", {"P1"}));
    typeInCell(grid, "NRORDEM", "7");
    typeInCell(grid, "TXCOMENT", "Sem sal");  // Tab from the last column leaves the row, which posts it
    EXPECT_EQ(s.takeCalls(), QStringList{"SetProRecSeMa(<delta:U>)"});
    EXPECT_EQ(s.ui().lastBusyKind(), 1);
    ASSERT_TRUE(ds.locate("CDPRODINSUMO", {"P1"}));
    EXPECT_EQ(ds.fieldByName("NRORDEM").asString(), "007");
    EXPECT_EQ(stored("SELECT NRORDEM || '/' || TXCOMENT FROM PRODRECSEMA WHERE CDPRODINSUMO = 'P1'"), "007/Sem sal");

    f().sbtVerificar->Click();
    ASSERT_TRUE(ds.locate("CDPRODINSUMO", {"P1"}));
    EXPECT_EQ(ds.fieldByName("NRORDEM").asString() + "/" + ds.fieldByName("TXCOMENT").asString(), "007/Sem sal");

    typeInCell(grid, "NRORDEM", "");
    const int other = 1 - ds.currentRow();
    grid.setCurrentIndex(grid.model()->index(other, 0));
    EXPECT_EQ(s.ui().errors, QStringList{"A ordem de classificação deve ser informada."});
    EXPECT_EQ(ds.state(), DataSetState::Edit);
    EXPECT_EQ(grid.columnField(grid.currentIndex().column()), "NRORDEM");
    ds.cancel();
    ASSERT_TRUE(ds.locate("CDPRODINSUMO", {"P1"}));
    EXPECT_EQ(ds.fieldByName("NRORDEM").asString(), "007");
    s.takeCalls();

    s.transport().fail("SetProRecSeMa", "Servidor fora");
    guard([&] {
        ds.edit();
        ds.fieldByName("TXCOMENT").setText("Perdido");
        ds.post();
    });
    EXPECT_EQ(ds.fieldByName("TXCOMENT").asString(), "Sem sal");
    EXPECT_EQ(ds.changeCount(), 0);
    EXPECT_FALSE(s.ui().busyVisible());
}

TEST_F(Lists, ProductCodeAndQuantityAreShownAsTheUserReadsThem)
{
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
    s.choosePage(f().pages().sheet(MainPage::ProdRec));
    DataSet& ds = f().products().records();
    ASSERT_TRUE(ds.locate("CDPRODINSUMO", {"R1"}));
    EXPECT_EQ(ds.fieldByName("CODIGO").displayText(), "5.01.001");
    EXPECT_EQ(ds.fieldByName("QUANTIDADE").displayText(), "1,000");
    ASSERT_TRUE(ds.locate("CDPRODINSUMO", {"P1"}));
    EXPECT_EQ(ds.fieldByName("QUANTIDADE").displayText(), "0,500");
    QLocale::setDefault(saved);
}

}  // namespace
}  // namespace qmv

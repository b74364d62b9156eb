#include <QAbstractItemModelTester>
#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>
#include <stdexcept>

#include "host/abort.h"
#include "host/menserro.h"
#include "platform/datasetmodel.h"
#include "platform/dbedit.h"
#include "platform/dbgrid.h"
#include "platform/dbnavigator.h"
#include "platform/dbtext.h"
#include "support/scriptedui.h"

namespace qmv {
namespace {

DataPacket subGroups(int rows)
{
    DataPacket p;
    p.fields = {FieldDef{"CDSUBGRU", FieldKind::Text, 10, "Código"},
                FieldDef{"NRORDSUMA", FieldKind::Text, 3, "Clas."},
                FieldDef{"DSSUBGRU", FieldKind::Text, 50, "Descrição"},
                FieldDef{"VRPELOADSUMA", FieldKind::Float, 0, "Loading"}};
    p.fields[3].displayFormat = "#####0%";
    for (int i = 1; i <= rows; ++i)
        p.rows << Row{QString("SG%1").arg(i), QString::number(i), QString("Sub-grupo %1").arg(i), 10.0 * i};
    return p;
}

struct GridFixture {
    ScriptedUi ui;
    DataSet ds;
    DataSource source;
    QWidget window;
    DBGrid* grid = new DBGrid(&window, "dbgPadrao");
    QLineEdit* other = new QLineEdit(&window);

    explicit GridFixture(int rows = 3)
    {
        ds.setObjectName("cdsSubGruSeMa");
        ds.loadPacket(subGroups(rows));
        source.setDataSet(&ds);
        grid->setDataSource(&source);
        grid->setColumns({{"NRORDSUMA", 26}, {"CDSUBGRU", 99, true}, {"DSSUBGRU", 246}, {"VRPELOADSUMA", 44}});
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(grid);
        layout->addWidget(other);
        window.resize(600, 300);
        window.show();
        QApplication::setActiveWindow(&window);
        grid->setFocus();
    }
    // Keys go where a person's would: to the widget with the focus (an open cell editor).
    void key(int k, Qt::KeyboardModifiers m = {})
    {
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : grid;
        QTest::keyClick(target, Qt::Key(k), m);
        QCoreApplication::processEvents();  // a cell editor commits on a queued call
    }
    QModelIndex cell(int row, int column) const { return grid->model()->index(row, column); }
};

TEST(DataSetModel, PassesTheModelTesterThroughLoadsEditsInsertsAndDeletes)
{
    ScriptedUi ui;
    DataSet ds;
    ds.loadPacket(subGroups(4));
    DataSetModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    model.setDataSet(&ds);
    model.setFieldNames({"NRORDSUMA", "DSSUBGRU", "VRPELOADSUMA"});
    EXPECT_EQ(model.rowCount(), 4);
    EXPECT_EQ(model.columnCount(), 3);
    ds.setRecNo(2);
    ds.edit();
    ds.fieldByName("DSSUBGRU").setAsString("Novo");
    ds.post();
    ds.append();
    EXPECT_EQ(model.rowCount(), 5);
    ds.cancel();
    EXPECT_EQ(model.rowCount(), 4);
    ds.first();
    ds.remove();
    EXPECT_EQ(model.rowCount(), 3);
    ds.loadPacket(subGroups(7));
    EXPECT_EQ(model.rowCount(), 7);
    ds.close();
    EXPECT_EQ(model.rowCount(), 0);
}

TEST(DataSetModel, ShowsDisplayTextsLabelsAndTheVisibleFieldsByDefault)
{
    DataSet ds;
    ds.loadPacket(subGroups(2));
    ds.fieldByName("CDSUBGRU").setVisible(false);
    DataSetModel model;
    model.setDataSet(&ds);
    ASSERT_EQ(model.columnCount(), 3);
    EXPECT_EQ(model.headerData(0, Qt::Horizontal).toString(), "Clas.");
    EXPECT_EQ(model.data(model.index(1, 2)).toString(), "20%");
    model.setTitles({"", "Nome"});
    EXPECT_EQ(model.headerData(1, Qt::Horizontal).toString(), "Nome");
    EXPECT_EQ(model.headerData(0, Qt::Horizontal).toString(), "Clas.");
}

TEST(DataSetModel, EditingACellEditsTheRowWithoutPostingIt)
{
    ScriptedUi ui;
    DataSet ds;
    ds.loadPacket(subGroups(3));
    DataSetModel model;
    model.setDataSet(&ds);
    model.setFieldNames({"NRORDSUMA", "DSSUBGRU"});
    model.setReadOnlyColumns({false, true});
    EXPECT_FALSE(model.flags(model.index(0, 1)) & Qt::ItemIsEditable);
    EXPECT_FALSE(model.setData(model.index(0, 1), "x"));
    EXPECT_TRUE(model.setData(model.index(2, 0), "9"));
    EXPECT_EQ(ds.recNo(), 3);
    EXPECT_EQ(ds.state(), DataSetState::Edit);
    EXPECT_EQ(ds.fieldByName("NRORDSUMA").asString(), "9");
    EXPECT_EQ(ds.changeCount(), 0);
}

TEST(DBGrid, SharesTheCurrentRowWithTheDataSet)
{
    GridFixture f;
    int scrolls = 0;
    f.ds.afterScroll = [&](DataSet&) { ++scrolls; };
    f.key(Qt::Key_Down);
    EXPECT_EQ(f.ds.recNo(), 2);
    EXPECT_EQ(scrolls, 1);
    f.ds.last();
    EXPECT_EQ(f.grid->currentIndex().row(), 2);
    f.ds.first();
    EXPECT_EQ(f.grid->currentIndex().row(), 0);
    f.grid->setCurrentIndex(f.cell(1, 2));
    EXPECT_EQ(f.ds.recNo(), 2);
    EXPECT_EQ(f.grid->selectedField()->name(), "DSSUBGRU");
}

TEST(DBGrid, InPlaceEditingEditsTheRowAndLeavingItPostsIt)
{
    GridFixture f;
    int posts = 0;
    f.ds.afterPost = [&](DataSet&) { ++posts; };
    f.grid->setCurrentIndex(f.cell(0, 0));
    f.key(Qt::Key_5);  // typing starts the editor with the key
    f.key(Qt::Key_Return);
    EXPECT_EQ(f.ds.state(), DataSetState::Edit);
    EXPECT_EQ(f.ds.fieldByName("NRORDSUMA").asString(), "5");
    EXPECT_EQ(posts, 0);
    f.key(Qt::Key_Down);
    EXPECT_EQ(posts, 1);
    EXPECT_EQ(f.ds.state(), DataSetState::Browse);
    EXPECT_EQ(f.ds.recNo(), 2);
    EXPECT_EQ(f.ds.changeCount(), 1);
}

TEST(DBGrid, APostThatAbortsKeepsTheGridOnTheRowInEdit)
{
    GridFixture f;
    f.ds.beforePost = [](DataSet& ds) {
        if (ds.fieldByName("NRORDSUMA").asString().isEmpty())
            MensErro("A ordem de classificação deve ser informada.", true);
    };
    f.grid->setCurrentIndex(f.cell(1, 0));
    f.ds.edit();
    f.ds.fieldByName("NRORDSUMA").clear();
    f.key(Qt::Key_Down);
    EXPECT_EQ(f.ui.errors, QStringList{"A ordem de classificação deve ser informada."});
    EXPECT_EQ(f.ds.state(), DataSetState::Edit);
    EXPECT_EQ(f.ds.recNo(), 2);
    EXPECT_EQ(f.grid->currentIndex().row(), 1);
    QTest::mouseClick(f.grid->viewport(), Qt::LeftButton, {}, f.grid->visualRect(f.cell(0, 2)).center());
    EXPECT_EQ(f.ui.errors.size(), 2);
    EXPECT_EQ(f.grid->currentIndex().row(), 1);
    EXPECT_EQ(f.ds.recNo(), 2);
}

TEST(DBGrid, InsertAndDownOnTheLastRowGoThroughBeforeInsert)
{
    GridFixture f;
    int refused = 0;
    f.ds.beforeInsert = [&](DataSet&) {
        ++refused;
        throw Abort();
    };
    f.key(Qt::Key_Insert);
    f.ds.last();
    f.key(Qt::Key_Down);
    EXPECT_EQ(refused, 2);
    EXPECT_EQ(f.ds.recordCount(), 3);
    EXPECT_EQ(f.ds.state(), DataSetState::Browse);
    EXPECT_TRUE(f.ui.errors.isEmpty());  // a silent refusal

    f.ds.beforeInsert = nullptr;
    f.key(Qt::Key_Down);
    EXPECT_EQ(f.ds.state(), DataSetState::Insert);
    EXPECT_EQ(f.grid->currentIndex().row(), 3);
    f.key(Qt::Key_Down);  // a blank new row gets no second one
    EXPECT_EQ(f.ds.rowCount(), 4);
    f.key(Qt::Key_Escape);
    EXPECT_EQ(f.ds.state(), DataSetState::Browse);
    EXPECT_EQ(f.ds.rowCount(), 3);
}

TEST(DBGrid, CellEditorsKeepToTheFieldsEditMask)
{
    GridFixture f;
    f.ds.fieldByName("NRORDSUMA").setEditMask("999;0; ");
    f.grid->setCurrentIndex(f.cell(0, 0));
    f.key(Qt::Key_A);  // a letter does not fit a digit position
    f.key(Qt::Key_4);
    f.key(Qt::Key_2);
    f.key(Qt::Key_Return);
    EXPECT_EQ(f.ds.fieldByName("NRORDSUMA").asString(), "42");
    EXPECT_TRUE(f.ui.errors.isEmpty());
}

TEST(DBGrid, ReadOnlyGridNeitherEditsNorInserts)
{
    GridFixture f;
    f.grid->setReadOnly(true);
    f.ds.last();
    f.key(Qt::Key_Down);
    f.key(Qt::Key_Insert);
    f.key(Qt::Key_7);
    EXPECT_EQ(f.ds.state(), DataSetState::Browse);
    EXPECT_EQ(f.ds.rowCount(), 3);
}

TEST(DBGrid, KeyHandlersSeeKeysFirstAndCanDiscardThem)
{
    GridFixture f;
    QList<int> keys;
    QString typed;
    f.grid->onKeyDown = [&](DBGrid& g, int& key, Qt::KeyboardModifiers) {
        keys << key;
        if (g.columnField(g.selectedIndex()) == "CDSUBGRU")
            key = 0;
    };
    f.grid->onKeyPress = [&](DBGrid&, QChar& c) {
        typed += c;
        c = QChar();
    };
    f.grid->setCurrentIndex(f.cell(0, 1));
    f.key(Qt::Key_Down);
    EXPECT_EQ(f.ds.recNo(), 1);  // discarded
    f.grid->setCurrentIndex(f.cell(0, 2));
    f.key(Qt::Key_X);
    EXPECT_EQ(typed, "x");
    EXPECT_EQ(f.ds.state(), DataSetState::Browse);  // the character never reached the cell
    EXPECT_EQ(keys, (QList<int>{Qt::Key_Down, Qt::Key_X}));
}

TEST(DBGrid, EllipsisButtonTitleCellAndDoubleClicksReachTheForm)
{
    GridFixture f;
    f.grid->setColumnButtonStyle(2, ButtonStyle::Ellipsis);
    QStringList events;
    f.grid->onEditButtonClick = [&](DBGrid& g, int c) { events << "button:" + g.columnField(c); };
    f.grid->onTitleClick = [&](DBGrid&, int c) { events << QString("title:%1").arg(c); };
    f.grid->onCellClick = [&](DBGrid&, int c) { events << QString("cell:%1").arg(c); };
    f.grid->onDblClick = [&](DBGrid&) { events << "dbl"; };
    f.grid->setCurrentIndex(f.cell(1, 2));
    const QRect button = f.grid->editButtonRect(f.cell(1, 2));
    ASSERT_FALSE(button.isEmpty());
    EXPECT_TRUE(f.grid->editButtonRect(f.cell(1, 0)).isEmpty());
    QTest::mouseClick(f.grid->viewport(), Qt::LeftButton, {}, button.center());
    QTest::mouseClick(f.grid->viewport(), Qt::LeftButton, {}, f.grid->visualRect(f.cell(0, 0)).center());
    QTest::mouseClick(f.grid->horizontalHeader()->viewport(), Qt::LeftButton, {},
                      QPoint(f.grid->horizontalHeader()->sectionViewportPosition(3) + 5, 5));
    QTest::mouseDClick(f.grid->viewport(), Qt::LeftButton, {}, f.grid->visualRect(f.cell(0, 1)).center());
    ASSERT_GE(events.size(), 4);
    EXPECT_EQ(events.mid(0, 3), (QStringList{"button:DSSUBGRU", "cell:0", "title:3"}));
    EXPECT_TRUE(events.contains("dbl"));
    f.grid->setCurrentIndex(f.cell(2, 2));
    f.key(Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(events.last(), "button:DSSUBGRU");
}

TEST(DBGrid, ColumnsKeepTheirWidthsAndTitlesAcrossLoads)
{
    GridFixture f;
    f.grid->setColumnTitle(3, "Carga", Qt::AlignRight);
    f.ds.loadPacket(subGroups(5));
    EXPECT_EQ(f.grid->columnWidth(2), 246);
    EXPECT_EQ(f.grid->model()->headerData(3, Qt::Horizontal).toString(), "Carga");
    EXPECT_EQ(f.grid->model()->rowCount(), 5);
    EXPECT_EQ(f.grid->currentIndex().row(), 0);
}

TEST(DBGrid, KeepsItsColumnWhenTheRowsAreReloaded)
{
    GridFixture f;
    f.grid->setCurrentIndex(f.cell(1, 2));
    f.ds.loadPacket(subGroups(4));
    EXPECT_EQ(f.grid->currentIndex(), f.cell(0, 2));
    f.ds.append();
    f.ds.cancel();
    EXPECT_EQ(f.grid->currentIndex().column(), 2);
}

TEST(DBEdit, TypingEditsTheRecordAndTheEditFollowsTheRecord)
{
    ScriptedUi ui;
    DataSet ds;
    ds.loadPacket(subGroups(2));
    DataSource source;
    source.setDataSet(&ds);
    QWidget window;
    auto* edit = new DBEdit(&window, "dbeDsSubGru");
    auto* other = new QLineEdit(&window);
    (new QVBoxLayout(&window))->addWidget(edit);
    window.layout()->addWidget(other);
    edit->setDataSource(&source);
    edit->setDataField("DSSUBGRU");
    window.show();
    QApplication::setActiveWindow(&window);
    EXPECT_EQ(edit->text(), "Sub-grupo 1");
    ds.next();
    EXPECT_EQ(edit->text(), "Sub-grupo 2");
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, "Novo");
    EXPECT_EQ(edit->text(), "Novo");
    EXPECT_EQ(ds.state(), DataSetState::Edit);
    EXPECT_EQ(ds.fieldByName("DSSUBGRU").asString(), "Novo");
    ds.post();
    EXPECT_EQ(ds.changeCount(), 1);
    ds.first();
    EXPECT_EQ(edit->text(), "Sub-grupo 1");
}

TEST(DBEdit, KeepsToTheFieldsEditMask)
{
    ScriptedUi ui;
    DataSet ds;
    ds.loadPacket(subGroups(1));
    ds.fieldByName("NRORDSUMA").setEditMask("999;0; ");
    DataSource source;
    source.setDataSet(&ds);
    QWidget window;
    auto* edit = new DBEdit(&window, "dbeOrdem");
    (new QVBoxLayout(&window))->addWidget(edit);
    edit->setDataSource(&source);
    edit->setDataField("NRORDSUMA");
    window.show();
    QApplication::setActiveWindow(&window);
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, "4a2");
    EXPECT_EQ(ds.fieldByName("NRORDSUMA").asString(), "42");
}

TEST(DBNavigatorAndDBText, FollowThePositionAndTheRecord)
{
    ScriptedUi ui;
    DataSet ds;
    ds.loadPacket(subGroups(3));
    DataSource source;
    source.setDataSet(&ds);
    DBNavigator nav(nullptr, "dbnPadrao");
    DBText name(nullptr, "dbtNome");
    nav.setDataSource(&source);
    name.setDataSource(&source);
    name.setDataField("DSSUBGRU");
    EXPECT_EQ(name.text(), "Sub-grupo 1");
    EXPECT_FALSE(nav.button(NavigateButton::Prior)->isEnabled());
    EXPECT_TRUE(nav.button(NavigateButton::Next)->isEnabled());
    nav.BtnClick(NavigateButton::Last);
    EXPECT_EQ(ds.recNo(), 3);
    EXPECT_EQ(name.text(), "Sub-grupo 3");
    EXPECT_FALSE(nav.button(NavigateButton::Next)->isEnabled());
    EXPECT_TRUE(nav.button(NavigateButton::First)->isEnabled());
    nav.BtnClick(NavigateButton::Prior);
    EXPECT_EQ(ds.recNo(), 2);
    bool asked = false;
    nav.confirmDelete = [&] {
        asked = true;
        return false;
    };
    nav.button(NavigateButton::Delete)->setVisible(true);
    nav.BtnClick(NavigateButton::Delete);
    EXPECT_TRUE(asked);
    EXPECT_EQ(ds.recordCount(), 3);
    ds.edit();
    EXPECT_TRUE(nav.button(NavigateButton::Post)->isEnabled());
    EXPECT_FALSE(nav.button(NavigateButton::Delete)->isEnabled());
    ds.close();
    EXPECT_EQ(name.text(), "");
    EXPECT_FALSE(nav.button(NavigateButton::Next)->isEnabled());
}

}  // namespace
}  // namespace qmv

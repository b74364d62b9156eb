// The equipment inclusion dialog opened by Include on the equipment sheet, over the real server with
// every call recorded: what confirming sends and reloads, the Cd_Inv test, a failure part way, the
// toggles by each input, mark and unmark all, the search and the cancel.
#include <QApplication>
#include <QHeaderView>
#include <QSqlQuery>
#include <QTest>
#include <gtest/gtest.h>

#include "Cli_qmv00500/cli_qmv00500.h"
#include "Cli_qmv00500/equipmentlist.h"
#include "Cli_qmv00500/loadedscreen.h"
#include "Cli_qmv00500/screenpages.h"
#include "Cli_qmv00505/cli_qmv00505.h"
#include "Cli_qmv00505/tfrmcadautequip.h"
#include "host/tbuttonflat.h"
#include "platform/dataset.h"
#include "platform/dbgrid.h"

namespace qmv {
namespace {

const char kList[] = R"(GetEquipamentos("0001","0001","","3"))";

QString aux(const char* subGroup, const char* equipment)
{
    return QString(R"(GetEquipAux("0001","0001","0001","0000001001","0001","0001","%1","%2"))")
        .arg(QLatin1String(subGroup), QLatin1String(equipment));
}

class Inclusion : public ::testing::Test {
protected:
    Inclusion()
    {
        Cli_qmv00500::frmFotoMontManual = &f();
        s.choosePage(f().pages().sheet(MainPage::FotoServ));
        s.chooseInnerPage(f().pages().innerSheet(InnerPage::Equipamento));
        s.takeCalls();
    }
    TfrmFotoMontManual& f() { return s.form(); }
    // Include, with the person's moves inside the dialog; true when the dialog was still open after them.
    bool include(const std::function<void(TfrmCadAutEquip&)>& act)
    {
        bool open = false;
        s.ui().actInModal([&](QWidget& form) {
            act(static_cast<TfrmCadAutEquip&>(form));
            open = form.isVisible();
        });
        f().sbtIncluir->Click();
        return open;
    }
    // The equipment of the main screen's list as "name:quantity".
    QStringList equipment()
    {
        DataSet& ds = f().equipmentList().records();
        QStringList rows;
        for (int row = 0; row < ds.recordCount(); ++row)
            rows << ds.fieldByName("NMPRODUTO").valueAt(row).toString() + ":"
                        + ds.fieldByName("QTEQUISUMA").valueAt(row).toString();
        return rows;
    }
    test::LoadedScreen s;
};

QString ticks(const TfrmCadAutEquip& d)
{
    QString all;
    for (int row = 0; row < d.cdsEquipamentos->rowCount(); ++row)
        all += d.cdsEquipamentos->fieldByName("IDCHECK").valueAt(row).toString();
    return all;
}

void goTo(TfrmCadAutEquip& d, int row)
{
    d.dbgEquipamento->setCurrentIndex(d.dbgEquipamento->model()->index(row, 1));
}

void confirm(TfrmCadAutEquip& d)
{
    d.sbtConfirma->Click();
}

TEST_F(Inclusion, ConfirmLinksTheTickedEquipmentTheSubGroupLacksAndReloads)
{
    struct Row {
        const char* what;
        bool emptyList;
        std::function<void(TfrmCadAutEquip&)> act;
        const char* error;
        QStringList calls;
        QStringList equipment;
    };
    const QString reload = R"(GetEquiSubSeMa("S1","E1","3"))";
    const auto space = [](TfrmCadAutEquip& d) { QTest::keyClick(d.dbgEquipamento, Qt::Key_Space); };
    const Row rows[] = {
        {"empty list", true, confirm, "", {kList, reload}, {"Bandeja:2"}},
        {"no ticks", false, confirm, "", {kList, reload}, {"Bandeja:2"}},
        {"ticked current row already in the list", false,
         [&](TfrmCadAutEquip& d) { space(d); confirm(d); }, "Equipamento já cadastrado.", {kList}, {"Bandeja:2"}},
        {"all ticked, the linked one skipped", false,
         [](TfrmCadAutEquip& d) {
             QTest::keyClick(d.dbgEquipamento, Qt::Key_Space, Qt::ControlModifier);
             goTo(d, 1);
             confirm(d);
         },
         "", {kList, aux("S1", "EQ1"), aux("S1", "EQ2"), R"(InsereEquip("0001","0001","E1","EQ2","S1",1))", reload},
         {"Bandeja:2", "Prato Raso:1"}},
        {"an unticked current row does not block the ticked ones", false,
         [&](TfrmCadAutEquip& d) {
             goTo(d, 1);
             space(d);
             goTo(d, 0);
             confirm(d);
         },
         "", {kList, aux("S1", "EQ2"), reload}, {"Bandeja:2", "Prato Raso:1"}},
    };
    for (const Row& row : rows) {
        if (row.emptyList)
            s.transport().answerPacket("GetEquipamentos", DataPacket{});
        s.ui().errors.clear();
        const bool open = include(row.act);
        EXPECT_EQ(s.ui().errors.join('|'), row.error) << row.what;
        EXPECT_EQ(open, *row.error != 0) << row.what;
        EXPECT_EQ(s.takeCalls(), row.calls) << row.what;
        EXPECT_EQ(equipment(), row.equipment) << row.what;
    }
    f().sbtVerificar->Click();
    EXPECT_EQ(equipment(), (QStringList{"Bandeja:2", "Prato Raso:1"})) << "after Verify";
}

TEST_F(Inclusion, AFailurePartWayKeepsTheDialogOpenAndTheMainScreenShowsWhatWasLinked)
{
    s.goToRow(1);
    s.takeCalls();
    include([&](TfrmCadAutEquip& d) {
        QTest::keyClick(d.dbgEquipamento, Qt::Key_Space, Qt::ControlModifier);
        QSqlQuery(s.database().db()).exec("DELETE FROM EQUIPCIA WHERE CDPRODUTO = 'EQ2'");  // gone meanwhile
        confirm(d);
        EXPECT_TRUE(d.isVisible());
        EXPECT_FALSE(d.cdsEquipamentos->filtered());
        EXPECT_EQ(ticks(d), "SS");
        EXPECT_TRUE(d.updatesEnabled());
        EXPECT_EQ(equipment(), QStringList{"Bandeja:1"});
    });
    ASSERT_EQ(s.ui().errors.size(), 1);
    EXPECT_TRUE(s.ui().errors[0].contains("EQ2")) << s.ui().errors[0].toStdString();
    EXPECT_EQ(s.takeCalls(), (QStringList{kList, aux("S2", "EQ1"), R"(InsereEquip("0001","0001","E2","EQ1","S2",1))",
                                          aux("S2", "EQ2"), R"(InsereEquip("0001","0001","E2","EQ2","S2",1))",
                                          R"(GetEquiSubSeMa("S2","E2","3"))"}));
}

TEST_F(Inclusion, EachInputTogglesOrMarksAsThePersonExpects)
{
    struct Step {
        const char* what;
        std::function<void(TfrmCadAutEquip&)> act;
        const char* ticks;
        int row;
    };
    const auto cell = [](TfrmCadAutEquip& d, int row, int column) {
        return d.dbgEquipamento->visualRect(d.dbgEquipamento->model()->index(row, column)).center();
    };
    // A person's double click: the first press moves the cursor, the second one double-clicks.
    const auto dblClick = [&](TfrmCadAutEquip& d, int row, int column) {
        QTest::mouseClick(d.dbgEquipamento->viewport(), Qt::LeftButton, {}, cell(d, row, column));
        QTest::mouseDClick(d.dbgEquipamento->viewport(), Qt::LeftButton, {}, cell(d, row, column));
    };
    const auto title = [](TfrmCadAutEquip& d, int column) {
        QHeaderView& header = *d.dbgEquipamento->horizontalHeader();
        QTest::mouseClick(header.viewport(), Qt::LeftButton, {}, QPoint(header.sectionViewportPosition(column) + 4, 4));
    };
    const auto key = [](Qt::KeyboardModifiers shift) {
        return [shift](TfrmCadAutEquip& d) { QTest::keyClick(d.dbgEquipamento, Qt::Key_Space, shift); };
    };
    const Step steps[] = {
        {"single click on the check cell", [&](auto& d) { QTest::mouseClick(d.dbgEquipamento->viewport(), Qt::LeftButton, {}, cell(d, 0, 0)); }, "NN", 0},
        {"double click on a name", [&](auto& d) { dblClick(d, 0, 1); }, "SN", 0},
        {"space", key({}), "NN", 0},
        {"space on the second row", [&](auto& d) { goTo(d, 1); key({})(d); }, "NS", 1},
        {"shift+space", key(Qt::ShiftModifier), "NN", 1},
        {"ctrl+space over an unticked row", key(Qt::ControlModifier), "SS", 0},
        {"ctrl+space over a ticked row", key(Qt::ControlModifier), "NN", 0},
        {"check title over an unticked row", [&](auto& d) { title(d, 0); }, "SS", 0},
        {"another title", [&](auto& d) { goTo(d, 1); title(d, 1); }, "SS", 0},
        {"double click on the second row", [&](auto& d) { dblClick(d, 1, 2); }, "SN", 1},
        {"check title over the unticked second row", [&](auto& d) { title(d, 0); }, "SS", 0},
    };
    bool searched = false;
    s.ui().answerFind([&](DataSet& ds) {
        searched = ds.objectName() == "cdsEquipamentos";
        return false;
    });
    include([&](TfrmCadAutEquip& d) {
        QApplication::setActiveWindow(&d);
        d.dbgEquipamento->setFocus();
        ASSERT_EQ(ticks(d), "NN");
        for (const Step& step : steps) {
            step.act(d);
            EXPECT_EQ(ticks(d), step.ticks) << step.what;
            EXPECT_EQ(d.cdsEquipamentos->currentRow(), step.row) << step.what;
        }
        QTest::keyClick(d.dbgEquipamento, Qt::Key_F7);
    });
    EXPECT_TRUE(searched) << "F7 searches the list";
    EXPECT_EQ(s.ui().cursor(), CursorShape::Default);
    EXPECT_TRUE(s.ui().errors.isEmpty()) << s.ui().errors.join('|').toStdString();
}

TEST_F(Inclusion, CancelDropsThePendingEditOfTheEquipmentList)
{
    DataSet& list = f().equipmentList().records();
    list.edit();
    list.fieldByName("QTEQUISUMA").setAsFloat(9);
    s.ui().actInModal([](QWidget& form) { static_cast<TfrmCadAutEquip&>(form).sbtCancel->Click(); });
    Cli_qmv00505::CriaIncluEqui();
    EXPECT_EQ(list.state(), DataSetState::Browse);
    EXPECT_EQ(equipment(), QStringList{"Bandeja:2"});
    EXPECT_EQ(s.takeCalls(), QStringList{kList});
}

}  // namespace
}  // namespace qmv

// A value typed into a grid cell and not yet committed (no Enter, no Tab) as a person leaves it in
// real windows: every way out keeps it until it is stored, or asks first; and a send that fails keeps
// it on screen until the server is back.
#include <QTest>
#include <gtest/gtest.h>

#include "Cli_qmv00500/cli_qmv00500.h"
#include "Cli_qmv00500/screenpages.h"
#include "Cli_qmv00500/subgroupsheet.h"
#include "Cli_qmv00500/tfrmfotomontmanual.h"
#include "host/controls.h"
#include "host/tbuttonflat.h"
#include "host/tcustompagecontrol98.h"
#include "platform/dataset.h"
#include "platform/dbgrid.h"
#include "realwindow/realshell.h"

namespace qmv {
namespace {

using test::RealShell;

class TypedCell : public ::testing::Test {
protected:
    TfrmFotoMontManual& f() { return s.form(); }

    // Clicks the cell, then types: the first key opens the cell's editor.
    void typeInto(int row, const QString& field, const QString& text)
    {
        DBGrid& grid = *f().dbgPadrao;
        const QRect cell = grid.visualRect(grid.model()->index(row, IndiceCol(grid, field)));
        s.click(*grid.viewport(), cell.center());
        s.type(text);
    }

    QString stored(const QString& subGroup, const QString& field) const
    {
        return s.database()
            .scalar(QStringLiteral("SELECT %1 FROM SUBGRUSEMA WHERE CDFILIAL = '0001' AND CDCLASSE = '0001' "
                                   "AND CDSUBGRU = ?")
                        .arg(field),
                    {subGroup})
            .toString();
    }

    RealShell s;
};

TEST_F(TypedCell, EveryWayOutKeepsTheTypedValueUntilItIsStored)
{
    s.typeKey("CIA1", "1", "1.01.001");
    ASSERT_TRUE(f().loaded());
    const auto confirm = [this] { s.click(*f().sbtConfirmar); };
    struct Case {
        const char* name;
        int row;
        const char* subGroup;
        const char* field;
        const char* typed;
        std::function<void()> leave;   // the person's move away from the cell
        std::function<void()> finish;  // what stores it afterwards, if the move did not
        const char* shown;             // the message the move brought, if any
    } cases[] = {
        {"a click into the panel", 1, "S2", "DSSUBGRUPO", "Carne NOVA",
         [this] { s.click(*f().selection().rows().medCdCia); }, confirm, ""},
        {"Verify", 2, "S3", "NRORDSUMA", "066", [this] { s.click(*f().sbtVerificar); }, confirm, ""},
        {"a page tab", 1, "S2", "NRORDSUMA", "077",
         [this] { s.clickTab(*f().pgcPadrao, f().pages().sheet(MainPage::ProdRec)); }, confirm, ""},
        {"the server stopped before the post", 1, "S2", "DSSUBGRUPO", "Sem servidor",
         [this] {
             s.stopServer();
             s.press(Qt::Key_Down);
         },
         [this, confirm] {
             s.startServer();
             confirm();
         },
         "A alteração do sub-grupo não foi gravada"},
        {"the screen's close button", 0, "S1", "DSSUBGRUPO", "Prato NOVO", [this] { s.click(*f().sbtFechar); }, {},
         "Deseja salvar as alterações?"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        s.messages.clear();
        typeInto(c.row, QString::fromLatin1(c.field), QString::fromUtf8(c.typed));
        ASSERT_EQ(f().subGroupSheet().records().state(), DataSetState::Edit) << "the first key puts the record in edit";
        EXPECT_FALSE(f().selection().rows().medCdCia->isEnabled());
        EXPECT_FALSE(f().sbtVerificar->isEnabled());
        c.leave();
        EXPECT_EQ(s.messages.join('|').left(QString::fromUtf8(c.shown).size()), QString::fromUtf8(c.shown));
        EXPECT_FALSE(s.messages.join('|').contains(QStringLiteral("SetSubGruSeMa")));
        if (c.finish) {
            ASSERT_EQ(f().subGroupSheet().records().state(), DataSetState::Edit);
            EXPECT_NE(stored(c.subGroup, c.field), QString::fromUtf8(c.typed));
            c.finish();
        }
        EXPECT_EQ(stored(c.subGroup, c.field), QString::fromUtf8(c.typed)) << s.messages.join('|').toStdString();
    }
    EXPECT_TRUE(test::eventually([] { return !Cli_qmv00500::frmFotoMontManual; }));
}

// Escape undoes the cell, and a second Escape the row: nothing typed is stored.
TEST_F(TypedCell, EscapeUndoesTheCellThenTheRow)
{
    s.typeKey("CIA1", "1", "1.01.001");
    ASSERT_TRUE(f().loaded());
    typeInto(1, QStringLiteral("DSSUBGRUPO"), QStringLiteral("Desfeito"));
    s.press(Qt::Key_Escape);
    EXPECT_EQ(f().subGroupSheet().records().state(), DataSetState::Edit);
    EXPECT_EQ(f().subGroupSheet().records().fieldByName(QStringLiteral("DSSUBGRUPO")).asString(), QStringLiteral("Salada"));
    s.press(Qt::Key_Escape);
    EXPECT_EQ(f().subGroupSheet().records().state(), DataSetState::Browse);
    EXPECT_TRUE(f().selection().rows().medCdCia->isEnabled());
    EXPECT_EQ(stored(QStringLiteral("S2"), QStringLiteral("DSSUBGRUPO")), QStringLiteral("Salada"));
    EXPECT_TRUE(s.messages.isEmpty()) << s.messages.join('|').toStdString();
}

// A refused row keeps the grid's highlight on it, not on the row the person was moving to.
TEST_F(TypedCell, ARefusedRowKeepsTheHighlight)
{
    s.typeKey("CIA1", "1", "1.01.001");
    ASSERT_TRUE(f().loaded());
    typeInto(0, QStringLiteral("NRORDSUMA"), QStringLiteral("5"));
    s.press(Qt::Key_Backspace);
    s.clickGridRow(2);
    EXPECT_EQ(s.messages, QStringList{QStringLiteral("A ordem de classificação deve ser informada.")});
    EXPECT_EQ(f().subGroupSheet().records().currentRow(), 0);
    EXPECT_EQ(f().dbgPadrao->currentIndex().row(), 0);
    EXPECT_EQ(f().dbgPadrao->selectionModel()->selectedIndexes().value(0).row(), 0);
}

}  // namespace
}  // namespace qmv

// The principal sub-group's code box in real windows: a click into the empty masked box starts
// typing at its first position, an unknown code gives one message, and an emptied code is no
// principal.
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

#include "Cli_qmv00500/screenpages.h"
#include "Cli_qmv00500/subgroupsheet.h"
#include "Cli_qmv00500/tfrmfotomontmanual.h"
#include "host/tbuttonflat.h"
#include "host/tcustompagecontrol98.h"
#include "host/tdbdateeditplus.h"
#include "platform/dataset.h"
#include "platform/dbedit.h"
#include "realwindow/realshell.h"
#include "support/named.h"

namespace qmv {
namespace {

using test::named;

TEST(PrincipalCodeBox, TypesFromItsStartWhenEmptyAndAnEmptiedCodeIsNoPrincipal)
{
    test::RealShell s;
    TfrmFotoMontManual& f = s.form();
    s.typeKey("CIA1", "1", "1.01.001");
    ASSERT_TRUE(f.loaded());
    s.clickTab(*f.pgcPadrao, f.pages().sheet(MainPage::FotoServ));
    s.clickTab(f.pages().inner(), f.pages().innerSheet(InnerPage::DadosAdic));
    DBEdit& box = *named<DBEdit>(f, "dbeCdSubGruPri");
    const auto empty = [&] {
        s.press(Qt::Key_A, Qt::ControlModifier);
        s.press(Qt::Key_Delete);
    };
    const auto field = [&](const char* name) { return f.subGroupSheet().records().fieldByName(name).asString(); };

    s.click(box);
    empty();
    s.click(*named<TDBDateEditPlus>(f, "depApresent"));
    s.click(box, QPoint(box.width() - 4, box.height() / 2));
    EXPECT_EQ(box.cursorPosition(), 0);
    s.type("301003");
    s.click(*named<TDBDateEditPlus>(f, "depApresent"));
    EXPECT_EQ(box.text(), "3.01.003");
    EXPECT_EQ(field("DSSUBGRUPRI"), "Sobremesa");
    s.click(*f.sbtConfirmar);
    EXPECT_EQ(field("CDPRODUTOPRI"), "S3");

    s.click(box);
    s.press(Qt::Key_A, Qt::ControlModifier);
    s.type("999999");
    s.click(*named<TDBDateEditPlus>(f, "depApresent"));
    EXPECT_EQ(s.messages, QStringList({"Sub-grupo não cadastrado para o manual."}));
    EXPECT_EQ(s.focus(), static_cast<QWidget*>(&box));

    empty();
    s.click(*f.sbtConfirmar);
    EXPECT_EQ(s.messages.size(), 1) << s.messages.join('|').toStdString();
    EXPECT_EQ(f.subGroupSheet().records().state(), DataSetState::Browse);
    for (const char* name : {"CDSUBARVPRI", "DSSUBGRUPRI", "CDPRODUTOPRI"})
        EXPECT_EQ(field(name), "") << name;
}

}  // namespace
}  // namespace qmv

// The sub-group sheet over the real server: what a post sends and what survives Verify, the checks
// before a post with the focus they leave, a refused send, the loading value's text and the
// observation column.
#include <QAbstractItemModel>
#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

#include "Cli_qmv00500/equipmentlist.h"
#include "Cli_qmv00500/loadedscreen.h"
#include "Cli_qmv00500/productlist.h"
#include "Cli_qmv00500/screenpages.h"
#include "Cli_qmv00500/subgroupsheet.h"
#include "host/abort.h"
#include "host/tbuttonflat.h"
#include "host/tcustompagecontrol98.h"
#include "host/tdbdateeditplus.h"
#include "platform/dataset.h"
#include "platform/dbgrid.h"
#include "support/named.h"

namespace qmv {
namespace {

using test::named;

class SubGroupSheet : public ::testing::Test {
protected:
    TfrmFotoMontManual& f() { return s.form(); }
    DataSet& ds() { return f().subGroupSheet().records(); }
    QString field(const char* name) { return ds().fieldByName(name).asString(); }
    QString cell(int row, int column) { return f().dbgPadrao->model()->index(row, column).data().toString(); }

    test::LoadedScreen s;
};

TEST_F(SubGroupSheet, EditsTypedInTheGridAreSentWhenTheRowIsLeftAndSurviveVerify)
{
    s.goToRow(1);
    s.typeInCell("NRORDSUMA", "7");
    s.typeInCell("VRPELOADSUMA", "33.4");
    s.typeInCell("DSSUBGRUPO", "Salada verde");
    EXPECT_TRUE(s.takeCalls().isEmpty());  // nothing goes before the row is left
    s.goToRow(2);
    const QStringList calls = s.takeCalls();
    ASSERT_EQ(calls.size(), 1) << calls.join('\n').toStdString();
    EXPECT_TRUE(calls[0].startsWith(R"(SetSubGruSeMa(<delta:U>,"_)")) << calls[0].toStdString();
    EXPECT_TRUE(calls[0].endsWith(R"(_OBS"))"));
    EXPECT_EQ(ds().changeCount(), 0);

    f().sbtVerificar->Click();
    ASSERT_TRUE(s.ui().errors.isEmpty()) << s.ui().errors.join('|').toStdString();
    ASSERT_TRUE(ds().locate("CDSUBGRU", {"S2"}));
    EXPECT_EQ(field("NRORDSUMA"), "7");
    EXPECT_EQ(field("VRPELOADSUMA"), "33.4");
    EXPECT_EQ(field("DSSUBGRUPO"), "Salada verde");
    EXPECT_EQ(cell(1, 3), "33%");
}

TEST_F(SubGroupSheet, NothingIsSentWhenNothingChanged)
{
    ds().edit();
    ds().post();
    s.goToRow(1);
    EXPECT_TRUE(s.takeCalls().isEmpty());
}

// Another user's change refuses ours: the screen then shows what the server holds.
TEST_F(SubGroupSheet, ARefusedSendShowsTheStoredValuesAndNoPendingChange)
{
    s.database().exec("UPDATE SUBGRUSEMA SET NRORDSUMA = '050' WHERE CDFILIAL = '0001' AND CDCLASSE = '0001' "
                      "AND CDSUBGRU = 'S1'");
    ds().edit();
    ds().fieldByName("NRORDSUMA").setAsString("9");
    f().sbtConfirmar->Click();
    ASSERT_EQ(s.ui().errors.size(), 1);
    EXPECT_TRUE(s.ui().errors[0].startsWith("Outro usuário alterou")) << s.ui().errors[0].toStdString();
    EXPECT_EQ(field("CDSUBGRU"), "S1");
    EXPECT_EQ(field("NRORDSUMA"), "050");
    EXPECT_EQ(cell(0, 0), "050");
    EXPECT_EQ(ds().changeCount(), 0);
    EXPECT_EQ(ds().state(), DataSetState::Browse);
    EXPECT_FALSE(s.ui().busyVisible());
}

TEST_F(SubGroupSheet, AnEmptyOrderIsRefusedOnlyOnTheSubGroupSheet)
{
    ds().edit();
    ds().fieldByName("NRORDSUMA").setAsString("");
    f().sbtConfirmar->Click();
    EXPECT_EQ(s.ui().errors, QStringList({"A ordem de classificação deve ser informada."}));
    EXPECT_EQ(ds().state(), DataSetState::Edit);
    EXPECT_EQ(f().dbgPadrao->selectedField()->name(), "NRORDSUMA");
    EXPECT_TRUE(s.takeCalls().isEmpty());
    ds().cancel();

    s.choosePage(f().pages().sheet(MainPage::FotoServ));
    s.chooseInnerPage(f().pages().innerSheet(InnerPage::DadosAdic));
    s.takeCalls();
    ds().edit();
    ds().fieldByName("NRORDSUMA").setAsString("");
    f().sbtConfirmar->Click();
    EXPECT_EQ(s.ui().errors.size(), 1);
    EXPECT_EQ(s.takeCalls().filter("SetSubGruSeMa").size(), 1);
}

TEST_F(SubGroupSheet, TheRevisionDateFollowsTheEffectiveDateOnTheServer)
{
    s.choosePage(f().pages().sheet(MainPage::FotoServ));
    s.chooseInnerPage(f().pages().innerSheet(InnerPage::DadosAdic));
    const auto type = [&](TDBDateEditPlus* box, const char* text) {
        box->setFocus();
        box->selectAll();
        box->insert(QString::fromLatin1(text));
    };
    // S1: both dates 10/03, so the revision follows a new effective date.
    type(named<TDBDateEditPlus>(f(), "depEfetivacao"), "15/03/2026");
    f().sbtConfirmar->Click();
    EXPECT_EQ(s.stored("S1", "DTREVISUMA").toDateTime().date(), QDate(2026, 3, 15));
    // Its own revision date now earlier than a new effective date: refused, focus on the revision.
    type(named<TDBDateEditPlus>(f(), "depRevisao"), "16/03/2026");
    f().sbtConfirmar->Click();
    type(named<TDBDateEditPlus>(f(), "depEfetivacao"), "20/03/2026");
    f().sbtConfirmar->Click();
    EXPECT_EQ(s.ui().errors, QStringList({"Data da revisão não pode ser menor que a data da efetivação."}));
    EXPECT_EQ(QApplication::focusWidget(), named<TDBDateEditPlus>(f(), "depRevisao"));
    EXPECT_EQ(s.stored("S1", "DTEFETSUMA").toDateTime().date(), QDate(2026, 3, 15));
    ds().cancel();
    // S2: no dates; a first effective date fills the revision date too.
    s.goToRow(1);
    type(named<TDBDateEditPlus>(f(), "depEfetivacao"), "01/04/2026");
    f().sbtConfirmar->Click();
    EXPECT_EQ(s.stored("S2", "DTREVISUMA").toDateTime().date(), QDate(2026, 4, 1));
}

TEST_F(SubGroupSheet, TheObservationColumnOpensTheEditorAndTakesNoText)
{
    DBGrid& grid = *f().dbgPadrao;
    const int obs = 5;
    grid.setFocus();
    grid.setCurrentIndex(grid.model()->index(0, obs));
    EXPECT_TRUE(grid.showsEditButton(grid.currentIndex()));
    QTest::keyClick(&grid, Qt::Key_F9);
    QTest::keyClick(&grid, Qt::Key_Return);
    QTest::keyClicks(&grid, "x");
    EXPECT_EQ(s.ui().modalForms, QStringList({"frmObsSubGrupo", "frmObsSubGrupo"}));
    EXPECT_EQ(ds().state(), DataSetState::Browse);

    named<TButtonFlat>(f(), "sbtAutoExibe")->setChecked(true);
    QTest::keyClick(&grid, Qt::Key_F9);
    EXPECT_EQ(s.ui().modalForms.size(), 2);
    named<TButtonFlat>(f(), "sbtAutoExibe")->setChecked(false);
}

TEST_F(SubGroupSheet, NoRowIsAddedOrDeletedFromTheScreen)
{
    f().sbtIncluir->setEnabled(true);
    f().sbtIncluir->Click();
    EXPECT_THROW(ds().remove(), Abort);
    EXPECT_EQ(s.ui().errors, QStringList({"Sub-grupos não podem ser excluídos: a lista vem da definição do serviço."}));
    EXPECT_EQ(ds().recordCount(), 3);
    EXPECT_EQ(ds().changeCount(), 0);
    EXPECT_FALSE(f().sbtExcluir->isEnabled());
}

TEST_F(SubGroupSheet, AnEditOnAnotherPageKeepsTheSubGroupAndSaysWhere)
{
    struct Case {
        QWidget* page;
        QWidget* innerPage;
        DataSet* edited;
        const char* message;
    };
    const ScreenPages& pages = f().pages();
    const Case cases[] = {
        {&pages.sheet(MainPage::FotoServ), &pages.innerSheet(InnerPage::InstMont), named<DataSet>(f(), "cdsFotoSubMa"),
         "Instruções de Montagem"},
        {&pages.sheet(MainPage::FotoServ), &pages.innerSheet(InnerPage::Equipamento), &f().equipmentList().records(),
         "Equipamentos"},
        {&pages.sheet(MainPage::ProdRec), nullptr, &f().products().records(), "Produto/Receita"},
    };
    for (const Case& c : cases) {
        s.choosePage(*c.page);
        if (c.innerPage)
            s.chooseInnerPage(*c.innerPage);
        c.edited->edit();
        s.ui().errors.clear();
        EXPECT_THROW(ds().next(), Abort) << c.message;
        EXPECT_EQ(s.ui().errors, QStringList({QString("Confirme ou cancele a alteração em %1 antes de mudar de sub-grupo.")
                                                  .arg(QString::fromUtf8(c.message))}));
        EXPECT_EQ(ds().recNo(), 1);
        c.edited->cancel();
    }
}

TEST_F(SubGroupSheet, ClosingOverAPendingEditAsksAndKeepsTheWindowUnlessItWasSaved)
{
    ds().edit();
    ds().fieldByName("NRORDSUMA").setAsString("5");
    s.ui().answerYesNoCancel(Answer::Cancel);
    EXPECT_FALSE(f().close());
    EXPECT_EQ(ds().state(), DataSetState::Edit);

    s.transport().fail("SetSubGruSeMa", "Servidor fora do ar.");
    s.ui().answerYesNoCancel(Answer::Yes);
    EXPECT_FALSE(f().close());  // the save failed: the window stays, with the server's values
    EXPECT_EQ(s.ui().questions, QStringList({"Deseja salvar as alterações?", "Deseja salvar as alterações?"}));
    EXPECT_EQ(field("NRORDSUMA"), "001");
}

}  // namespace
}  // namespace qmv

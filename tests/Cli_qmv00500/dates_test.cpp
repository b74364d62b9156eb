// The sheet "Dados Adicionais" and the observation editor over the real server: the weekday
// beside each date, the principal sub-group chosen from the list or typed, the date copy from the
// first sub-group, and the observation stored as plain text.
#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

#include <functional>

#include "Cli_qmv00500/cli_qmv00500.h"
#include "Cli_qmv00500/loadedscreen.h"
#include "Cli_qmv00500/screenpages.h"
#include "Cli_qmv00500/subgroupsheet.h"
#include "Cli_qmv00506/tfrmobssubgrupo.h"
#include "host/formatpanel.h"
#include "host/tbtnpesquisa.h"
#include "host/tbuttonflat.h"
#include "host/tdbdateeditplus.h"
#include "platform/dataset.h"
#include "platform/datasource.h"
#include "platform/dbedit.h"
#include "platform/dbgrid.h"
#include "platform/dbrichedit.h"
#include "server/changesetprotocol.h"
#include "support/named.h"

namespace qmv {
namespace {

using test::named;

class AdditionalData : public ::testing::Test {
protected:
    AdditionalData()
    {
        s.choosePage(f().pages().sheet(MainPage::FotoServ));
        s.chooseInnerPage(f().pages().innerSheet(InnerPage::DadosAdic));
        s.takeCalls();
    }

    TfrmFotoMontManual& f() { return s.form(); }
    DataSet& ds() { return f().subGroupSheet().records(); }
    QString field(const char* name) { return ds().fieldByName(name).asString(); }

    void type(QLineEdit& box, const QString& text)
    {
        box.setFocus();
        box.selectAll();
        QTest::keyClicks(&box, text);
    }

    test::LoadedScreen s;
};

TEST_F(AdditionalData, TheWeekdayShowsOnLeavingADateAndThenFollowsIt)
{
    // S1's dates are 10/03/2026 (a Tuesday); the boxes start without a weekday.
    EXPECT_EQ(named<QLineEdit>(f(), "edtNmDiaEfet")->text(), "");
    struct Step {
        const char* what;
        std::function<void()> act;
        const char* weekday;
    };
    const Step steps[] = {
        {"left the date", [&] { named<TDBDateEditPlus>(f(), "depEfetivacao")->setFocus(); named<TDBDateEditPlus>(f(), "depApresent")->setFocus(); }, "Terça"},
        {"a key clears it", [&] { named<TDBDateEditPlus>(f(), "depEfetivacao")->setFocus(); QTest::keyClick(named<TDBDateEditPlus>(f(), "depEfetivacao"), Qt::Key_End); }, ""},
        {"typed date, left", [&] { type(*named<TDBDateEditPlus>(f(), "depEfetivacao"), "13/03/2026"); named<TDBDateEditPlus>(f(), "depRevisao")->setFocus(); }, "Sexta"},
        {"the record changes under it", [&] { f().subGroupSheet().records().cancel(); }, "Terça"},
    };
    for (const Step& step : steps) {
        step.act();
        EXPECT_EQ(named<QLineEdit>(f(), "edtNmDiaEfet")->text(), QString::fromUtf8(step.weekday)) << step.what;
    }
    EXPECT_TRUE(s.ui().errors.isEmpty()) << s.ui().errors.join('|').toStdString();
}

TEST_F(AdditionalData, AnInvalidDateIsReportedOnLeavingItAndKeepsTheFocus)
{
    type(*named<TDBDateEditPlus>(f(), "depApresent"), "31/02/2026");
    named<TDBDateEditPlus>(f(), "depRevisao")->setFocus();
    EXPECT_EQ(s.ui().errors.size(), 1);
    EXPECT_EQ(QApplication::focusWidget(), named<TDBDateEditPlus>(f(), "depApresent"));
}

TEST_F(AdditionalData, ThePrincipalComesFromTheListOrFromATypedCode)
{
    // The service list opened and dismissed on another service: the loaded service still counts.
    s.ui().answerSearch([](DataSource& source, const QString&) {
        DataSet& services = *source.dataSet();
        for (services.first(); !services.eof() && services.fieldByName("CDSERVICO").asString() == "0000001001";)
            services.next();
        EXPECT_EQ(services.fieldByName("CDSERVICO").asString(), "0000001002");
        return false;
    });
    f().selection().rows().btpServManual->click();
    s.takeCalls();
    // The list, then the choice copied.
    s.ui().answerSearch([](DataSource& source, const QString&) {
        return source.dataSet()->locate("CDSUBGRU", {"S3"});
    });
    named<TBtnPesquisa>(f(), "btpSubGruPrin")->click();
    EXPECT_EQ(s.takeCalls(), QStringList({R"(GetSubGruPrin("0001","0001","0001","0000001001","0001","0001","S1",""))"}));
    EXPECT_EQ(field("CDSUBARVPRI"), "3.01.003");
    EXPECT_EQ(field("CDPRODUTOPRI"), "S3");
    EXPECT_EQ(field("DSSUBGRUPRI"), "Sobremesa");
    f().sbtConfirmar->Click();
    EXPECT_EQ(s.stored("S1", "CDPRODUTOPRI").toString(), "S3");

    // A code typed over it drops the old principal and is looked up on leaving the box.
    type(*named<DBEdit>(f(), "dbeCdSubGruPri"), "3.01.002");
    EXPECT_EQ(field("CDPRODUTOPRI"), "");
    named<TDBDateEditPlus>(f(), "depApresent")->setFocus();
    EXPECT_EQ(field("CDPRODUTOPRI"), "S2");
    EXPECT_EQ(field("DSSUBGRUPRI"), "Salada");

    // A code that is not a sub-group of the manual: message, focus back, the post refused.
    type(*named<DBEdit>(f(), "dbeCdSubGruPri"), "9.99.999");
    named<TDBDateEditPlus>(f(), "depApresent")->setFocus();
    EXPECT_EQ(s.ui().errors, QStringList({"Sub-grupo não cadastrado para o manual."}));
    EXPECT_EQ(QApplication::focusWidget(), named<DBEdit>(f(), "dbeCdSubGruPri"));
    f().sbtConfirmar->Click();
    EXPECT_EQ(s.ui().errors.size(), 2);
    EXPECT_EQ(ds().state(), DataSetState::Edit);
}

TEST_F(AdditionalData, AnEmptiedPrincipalCodeIsNoPrincipalOnTheServer)
{
    s.ui().answerSearch([](DataSource& source, const QString&) {
        return source.dataSet()->locate("CDSUBGRU", {"S3"});
    });
    named<TBtnPesquisa>(f(), "btpSubGruPrin")->click();
    f().sbtConfirmar->Click();
    ASSERT_EQ(s.stored("S1", "CDPRODUTOPRI").toString(), "S3");

    named<DBEdit>(f(), "dbeCdSubGruPri")->setFocus();
    named<DBEdit>(f(), "dbeCdSubGruPri")->selectAll();
    QTest::keyClick(named<DBEdit>(f(), "dbeCdSubGruPri"), Qt::Key_Delete);
    named<TDBDateEditPlus>(f(), "depApresent")->setFocus();
    f().sbtConfirmar->Click();
    EXPECT_TRUE(s.ui().errors.isEmpty()) << s.ui().errors.join('|').toStdString();
    EXPECT_EQ(ds().state(), DataSetState::Browse);
    EXPECT_TRUE(s.stored("S1", "CDPRODUTOPRI").isNull());
    f().sbtVerificar->Click();
    for (const char* name : {"CDSUBARVPRI", "DSSUBGRUPRI", "CDPRODUTOPRI"})
        EXPECT_EQ(field(name), "") << name;
}

TEST_F(AdditionalData, TheDateCopyRunsOnlyFromTheFirstSubGroupAndFillsOnlyBlankDates)
{
    s.goToRow(1);
    type(*named<TDBDateEditPlus>(f(), "depApresent"), "02/03/2026");
    f().sbtConfirmar->Click();
    EXPECT_EQ(s.takeCalls().filter("SetSubGruSeMa").size(), 1);  // S2 only: no copy from here
    EXPECT_TRUE(s.stored("S3", "DTAPRESUMA").isNull());

    s.goToRow(0);
    type(*named<TDBDateEditPlus>(f(), "depApresent"), "01/03/2026");
    f().sbtConfirmar->Click();
    // S2 kept its own presentation date and took the effective and revision dates; S3 took all.
    EXPECT_EQ(s.stored("S2", "DTAPRESUMA").toDateTime().date(), QDate(2026, 3, 2));
    EXPECT_EQ(s.stored("S2", "DTEFETSUMA").toDateTime().date(), QDate(2026, 3, 10));
    EXPECT_EQ(s.stored("S3", "DTAPRESUMA").toDateTime().date(), QDate(2026, 3, 1));
    EXPECT_EQ(s.stored("S3", "DTREVISUMA").toDateTime().date(), QDate(2026, 3, 10));
    EXPECT_EQ(ds().recNo(), 1);
    EXPECT_FALSE(Cli_qmv00500::boControle);
}

TEST_F(AdditionalData, AFailedPostInsideTheDateCopyStopsItAndTheRulesStayOn)
{
    type(*named<TDBDateEditPlus>(f(), "depApresent"), "01/03/2026");
    s.transport().answer("SetSubGruSeMa", RemoteResult{true, {}, QCborValue(0)});
    s.transport().fail("SetSubGruSeMa", "Servidor fora do ar.");
    f().sbtConfirmar->Click();
    EXPECT_EQ(s.ui().errors, QStringList({"Servidor fora do ar."}));
    EXPECT_FALSE(Cli_qmv00500::boControle);
}

class ObservationEditor : public ::testing::Test {
protected:
    TfrmFotoMontManual& f() { return s.form(); }
    DataSet& ds() { return f().subGroupSheet().records(); }

    // Opens the editor from the "Obs." column; `act` runs inside it.
    void open(std::function<void(TfrmObsSubGrupo&)> act)
    {
        s.ui().actInModal([act](QWidget& form) { act(static_cast<TfrmObsSubGrupo&>(form)); });
        f().subGroupSheet().dbgPadraoEditButtonClick(*f().dbgPadrao, 5);
    }

    test::LoadedScreen s{};
};

TEST_F(ObservationEditor, StoresThePlainTextCutTo200AndCloses)
{
    f().dbgPadrao->setSelectedIndex(5);
    bool closed = false;
    open([&](TfrmObsSubGrupo& editor) {
        EXPECT_EQ(editor.dbrObsSubGrupo->plainContent(), "Quente");
        editor.dbrObsSubGrupo->selectAll();
        editor.fpnPreparo->boldButton()->click();
        editor.dbrObsSubGrupo->setHtml("<b>Servir</b> <i>bem</i> quente " + QString(200, 'x'));
        editor.sbtConfirma->Click();
        closed = !editor.isVisible();
    });
    EXPECT_TRUE(closed);
    const QString stored = s.stored("S1", "TXCOMSUMA").toString();
    EXPECT_EQ(stored.size(), 200);
    EXPECT_TRUE(stored.startsWith("Servir bem quente xx"));
    EXPECT_EQ(ds().fieldByName("TXCOMSUMA").asString(), stored);
}

// A refused post, or a send without a verdict, keeps the window open with what was typed.
TEST_F(ObservationEditor, AFailedConfirmKeepsTheWindowOpenWithTheText)
{
    struct Case {
        const char* name;
        std::function<void()> fault;
        QString shown;
    } cases[] = {
        {"the date rule",
         [&] {
             ds().edit();
             ds().fieldByName("DTREVISUMA").setAsDateTime(QDateTime(QDate(2026, 3, 1), QTime(0, 0)));
         },
         "Data da revisão não pode ser menor que a data da efetivação."},
        {"no verdict",
         [&] {
             s.transport().answer("SetSubGruSeMa",
                                  RemoteResult{false, "A conexão caiu.", {}, {}, Delivery::MayHaveReached});
         },
         unsentChangeMessage(Delivery::MayHaveReached, "do sub-grupo")},
    };
    f().dbgPadrao->setSelectedIndex(5);
    for (const Case& c : cases) {
        s.ui().errors.clear();
        c.fault();
        open([&](TfrmObsSubGrupo& editor) {
            editor.dbrObsSubGrupo->setPlainText("Nova observação");
            editor.sbtConfirma->Click();
            EXPECT_TRUE(editor.isVisible()) << c.name;
            EXPECT_EQ(editor.dbrObsSubGrupo->plainContent(), "Nova observação") << c.name;
        });
        EXPECT_EQ(s.ui().errors, QStringList{c.shown}) << c.name;
        EXPECT_EQ(s.stored("S1", "TXCOMSUMA").toString(), "Quente") << c.name;
        ds().cancel();
    }
}

}  // namespace
}  // namespace qmv

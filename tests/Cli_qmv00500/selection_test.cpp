// The selection panel over the recording transport: creation from the host, the order of the
// panel exit's checks and messages with the focus where each puts it, the load request's exact
// arguments under the busy indicator, the unlocking and locking of sheets, commands and menus.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <gtest/gtest.h>

#include "Cli_qmv00500/equipmentlist.h"
#include "Cli_qmv00500/productlist.h"
#include "Cli_qmv00500/screenpages.h"
#include "Cli_qmv00500/selectionscreen.h"
#include "Cli_qmv00500/subgroupsheet.h"
#include "host/tbtnpesquisa.h"
#include "host/tbuttonflat.h"
#include "lookup/codelookup.h"
#include "lookup/selectionpanel.h"
#include "lookup/tadoibquery.h"
#include "platform/dataset.h"
#include "platform/datasource.h"
#include "platform/dbgrid.h"
#include "platform/editmask.h"
#include "support/named.h"

namespace qmv {
namespace {

using test::named;
using test::SelectionScreen;

const QString kLoad = QStringLiteral(R"(GetSubGruSeMa("0001","0001","0001","000000100100010001","2","2"))");

class Selection : public ::testing::Test {
protected:
    TfrmFotoMontManual& f() { return s.form(); }

    // Company CIA1, manual 0001 and service 1.01.001 in class ECON, cycle 1, as typed and validated.
    void typeValidKey()
    {
        s.transport().answerPacket("GetServManual", test::servicePacket({
            {"1.01.001", "0000001001", "0001", "0001", "Almoço", "ECON", "Ciclo 1"},
            {"1.01.001", "0000001001", "0002", "0001", "Almoço", "EXEC", "Ciclo 1"}}));
        s.typeKey("cia1", "1", "1.01.001");
    }

    // The next `times` loads answer one sub-group.
    void answerLoads(int times)
    {
        for (int i = 0; i < times; ++i)
            s.transport().answerPacket("GetSubGruSeMa", test::subGroupPacket({{"S1", "3.01.001", "Prato Quente", "001"}}));
    }

    QStringList loads() const
    {
        QStringList out;
        for (const QString& call : s.transport().calls())
            if (call.startsWith("GetSubGruSeMa"))
                out << call;
        return out;
    }

    bool unlocked()
    {
        const ScreenPages& pages = f().pages();
        return pages.sheet(MainPage::FotoServ).isEnabled() && pages.innerSheet(InnerPage::InstMont).isEnabled()
               && pages.sheet(MainPage::ProdRec).isEnabled();
    }

    SelectionScreen s{SelectionScreen::Server::Recording};
};

TEST_F(Selection, CreationShowsTheHostsBranchAndLocksTheSheets)
{
    EXPECT_EQ(f().selection().rows().medFilial->text(), "0001");
    EXPECT_EQ(f().selection().rows().edtNmFilial->text(), "Cozinha Teste");
    EXPECT_TRUE(f().selection().rows().medFilial->isEnabled());
    EXPECT_TRUE(f().selection().rows().btnFilial->isEnabled());
    EXPECT_FALSE(f().pages().sheet(MainPage::FotoServ).isEnabled());
    EXPECT_FALSE(named<QAction>(f(), "mnuFormulario")->isEnabled());
    EXPECT_TRUE(named<QAction>(f(), "mnuFolhaDados")->isEnabled());
    EXPECT_TRUE(EditMask("9.99.999;1; ").inputMask().startsWith(f().selection().rows().medCdServico->inputMask()));
    EXPECT_FALSE(f().selection().rows().medCdServico->inputMask().isEmpty());
    EXPECT_EQ(f().selection().services().fieldByName("SERVICO").editMask(), "9.99.999;1; ");
}

TEST(SelectionModuFili, TheBranchIsFixedButStillValidatedOnLeavingThePanel)
{
    SelectionScreen s{SelectionScreen::Server::Recording, true, "0009"};
    TfrmFotoMontManual& f = s.form();
    EXPECT_FALSE(f.selection().rows().medFilial->isEnabled());
    EXPECT_FALSE(f.selection().rows().lblFilial->isEnabled());
    EXPECT_FALSE(f.selection().rows().btnFilial->isEnabled());
    EXPECT_EQ(f.selection().rows().medFilial->text(), "0009");
    s.enter(*f.selection().rows().medCdCia);
    s.leavePanel();
    EXPECT_EQ(s.ui().errors, QStringList({"Filial não cadastrada."}));
    EXPECT_NE(s.focus(), f.selection().rows().medFilial);
    EXPECT_TRUE(f.panFiltro->isAncestorOf(s.focus()));
    EXPECT_TRUE(s.transport().calls().filter("GetSubGruSeMa").isEmpty());
}

TEST_F(Selection, LeavingWithoutACompanySaysSoAndFocusesIt)
{
    s.enter(*f().selection().rows().medCdManCia);
    s.leavePanel();
    EXPECT_EQ(s.ui().errors, QStringList({"Companhia deve ser informada."}));
    EXPECT_EQ(s.focus(), f().selection().rows().medCdCia);
    EXPECT_TRUE(loads().isEmpty());
}

TEST_F(Selection, OnlyTheFirstEmptyFieldIsReported)
{
    s.type(*f().selection().rows().medCdCia, "CIA1");
    s.leavePanel();
    EXPECT_EQ(s.ui().errors, QStringList({"Manual deve ser informado."}));
    EXPECT_EQ(s.focus(), f().selection().rows().medCdManCia);

    s.type(*f().selection().rows().medCdManCia, "0001");
    s.leavePanel();
    EXPECT_EQ(s.ui().errors.last(), "Serviço deve ser informado.");
    EXPECT_EQ(s.focus(), f().selection().rows().medCdServico);
    EXPECT_EQ(s.ui().errors.size(), 2);
    EXPECT_TRUE(loads().isEmpty());
}

TEST_F(Selection, TheBranchIsCheckedBeforeTheOtherFields)
{
    s.type(*f().selection().rows().medFilial, "");
    s.leavePanel();
    EXPECT_EQ(s.ui().errors, QStringList({"Filial deve ser informada."}));
    EXPECT_EQ(s.focus(), f().selection().rows().medFilial);
    s.type(*f().selection().rows().medFilial, "9");
    EXPECT_EQ(s.ui().errors.last(), "Filial deve ser informada.");  // typing is not leaving
    f().selection().rows().medCdCia->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(s.ui().errors.last(), "Filial não cadastrada.");
    EXPECT_EQ(f().selection().rows().medFilial->text(), "0009");
    EXPECT_EQ(s.focus(), f().selection().rows().medFilial);
}

TEST_F(Selection, UnknownCodesAreReportedOnTheirOwnExit)
{
    s.type(*f().selection().rows().medCdCia, "CIA9");
    f().selection().rows().medCdManCia->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(s.ui().errors, QStringList({"Companhia não cadastrada."}));
    EXPECT_EQ(s.focus(), f().selection().rows().medCdCia);

    s.type(*f().selection().rows().medCdCia, "CIA1");
    s.type(*f().selection().rows().medCdManCia, "9");  // a cost table, not a manual
    f().selection().rows().medCdServico->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(s.ui().errors.last(), "Manual não cadastrado.");
    EXPECT_EQ(s.focus(), f().selection().rows().medCdManCia);

    s.type(*f().selection().rows().medCdManCia, "1");
    s.transport().answerPacket("GetServManual", test::servicePacket({}));
    s.type(*f().selection().rows().medCdServico, "9.99.999");
    s.leavePanel();
    EXPECT_EQ(s.ui().errors.last(), "Serviço não cadastrado.");
    EXPECT_EQ(s.focus(), f().selection().rows().medCdServico);
    EXPECT_EQ(s.ui().errors.size(), 3);
    EXPECT_TRUE(loads().isEmpty());
}

TEST_F(Selection, ATypedManualIsZeroFilled)
{
    s.type(*f().selection().rows().medCdCia, "CIA1");
    s.type(*f().selection().rows().medCdManCia, "2");
    f().selection().rows().medCdServico->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(f().selection().rows().medCdManCia->text(), "0002");
    EXPECT_EQ(f().selection().rows().edtDsManCia->text(), "Manual B");
    EXPECT_EQ(f().selection().key().manual, "0002");
}

TEST_F(Selection, ATypedServiceWithTwoClassesTakesTheFirstRow)
{
    typeValidKey();
    answerLoads(1);
    s.leavePanel();
    EXPECT_EQ(s.transport().calls().filter("GetServManual"),
              QStringList({R"(GetServManual("0001","0001","0001","1.01.001"))"}));
    EXPECT_EQ(f().selection().rows().edtDsServico->text(), "Almoço");
    EXPECT_EQ(f().selection().rows().edtClasse->text(), "ECON");
    EXPECT_EQ(f().selection().rows().edtCiclo->text(), "Ciclo 1");
    const auto key = [this](const char* name) { return f().property(name).toString(); };
    EXPECT_EQ(key("stCdServico") + key("stCdClasse") + key("stCdCiclo"), "000000100100010001");
}

TEST_F(Selection, LeavingWithACompleteKeyLoadsUnderTheBusyIndicatorAndUnlocks)
{
    typeValidKey();
    s.transport().answerPacket("GetSubGruSeMa", test::subGroupPacket({
        {"S1", "3.01.001", "Prato Quente", "001"}, {"S2", "3.01.002", "Salada", "002"}}));
    s.ui().log.clear();
    s.leavePanel();
    EXPECT_TRUE(s.ui().errors.isEmpty()) << s.ui().errors.join('|').toStdString();
    EXPECT_EQ(loads(), QStringList({kLoad}));
    EXPECT_EQ(s.ui().log, QStringList({"busy+6", "busy-"}));
    EXPECT_EQ(f().subGroupSheet().records().recordCount(), 2);
    EXPECT_TRUE(unlocked());
    for (const char* command : {"sbtFiltroD", "sbtAutoExibe", "sbtManualCia", "sbtImpFoto"})
        EXPECT_TRUE(named<TButtonFlat>(f(), command)->isEnabled()) << command;
    for (const char* entry : {"mnuFolhaDados", "mnuFormulario", "mnuProdRec", "mnuFiltro", "mnuExibeAuto",
                              "mnuEmiteManual", "mnuImpFoto"})
        EXPECT_TRUE(named<QAction>(f(), entry)->isEnabled()) << entry;
    EXPECT_EQ(s.focus(), static_cast<QWidget*>(f().dbgPadrao));
}

TEST_F(Selection, AServiceWithoutSubGroupsUnlocksTheCommandsButNotTheSheets)
{
    typeValidKey();
    s.transport().answerPacket("GetSubGruSeMa", test::subGroupPacket({}));
    s.leavePanel();
    EXPECT_TRUE(f().subGroupSheet().records().isActive());
    EXPECT_TRUE(f().subGroupSheet().records().isEmpty());
    EXPECT_TRUE(f().tshPadrao->isEnabled());
    EXPECT_FALSE(f().pages().sheet(MainPage::FotoServ).isEnabled());
    EXPECT_FALSE(f().pages().sheet(MainPage::ProdRec).isEnabled());
    EXPECT_FALSE(named<QAction>(f(), "mnuFormulario")->isEnabled());
    EXPECT_FALSE(named<QAction>(f(), "mnuProdRec")->isEnabled());
    EXPECT_TRUE(named<TButtonFlat>(f(), "sbtFiltroD")->isEnabled());
    EXPECT_TRUE(named<QAction>(f(), "mnuImpFoto")->isEnabled());
    EXPECT_TRUE(named<QAction>(f(), "mnuEmiteManual")->isEnabled());
}

TEST_F(Selection, AServerFailureIsReportedAndKeepsEverythingLocked)
{
    typeValidKey();
    s.transport().fail("GetSubGruSeMa", "banco indisponível");
    s.leavePanel();
    ASSERT_EQ(s.ui().errors.size(), 1);
    EXPECT_TRUE(s.ui().errors[0].contains("banco indisponível"));
    EXPECT_FALSE(s.ui().busyVisible());
    EXPECT_FALSE(f().subGroupSheet().records().isActive());
    EXPECT_FALSE(unlocked());
    EXPECT_FALSE(named<TButtonFlat>(f(), "sbtFiltroD")->isEnabled());
    EXPECT_TRUE(f().panFiltro->isAncestorOf(s.focus()));
}

TEST_F(Selection, EnteringThePanelClosesTheDataAndLocksAgain)
{
    typeValidKey();
    s.transport().answerPacket("GetSubGruSeMa", test::subGroupPacket({{"S1", "3.01.001", "Prato Quente", "001"}}));
    s.leavePanel();
    ASSERT_TRUE(unlocked());
    f().equipmentList().records().open();
    f().products().records().open();
    const int before = s.transport().calls().size();

    s.enter(*f().selection().rows().medCdManCia);
    EXPECT_FALSE(f().subGroupSheet().records().isActive());
    EXPECT_FALSE(f().equipmentList().records().isActive());
    EXPECT_FALSE(f().products().records().isActive());
    EXPECT_TRUE(f().selection().services().isActive());
    EXPECT_FALSE(unlocked());
    for (const char* command : {"sbtFiltroD", "sbtAutoExibe", "sbtManualCia", "sbtImpFoto"})
        EXPECT_FALSE(named<TButtonFlat>(f(), command)->isEnabled()) << command;
    for (const char* entry : {"mnuFormulario", "mnuProdRec", "mnuFiltro", "mnuExibeAuto", "mnuEmiteManual", "mnuImpFoto"})
        EXPECT_FALSE(named<QAction>(f(), entry)->isEnabled()) << entry;
    EXPECT_TRUE(named<QAction>(f(), "mnuFolhaDados")->isEnabled());
    EXPECT_EQ(s.transport().calls().size(), before);  // entering asks nothing
    EXPECT_TRUE(s.ui().errors.isEmpty());
}

TEST_F(Selection, MovingInsideThePanelNeitherLoadsNorLocks)
{
    typeValidKey();
    answerLoads(1);
    s.leavePanel();
    ASSERT_EQ(loads().size(), 1);
    s.enter(*f().selection().rows().medCdCia);
    f().selection().rows().medCdManCia->setFocus(Qt::TabFocusReason);
    f().selection().rows().medCdServico->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(loads().size(), 1);
    EXPECT_TRUE(s.ui().errors.isEmpty());
}

TEST_F(Selection, ReenteringAndLeavingReloadsTheSameKey)
{
    typeValidKey();
    answerLoads(2);
    s.leavePanel();
    s.enter(*f().selection().rows().medCdServico);
    s.leavePanel();
    EXPECT_EQ(loads(), QStringList({kLoad, kLoad}));
}

TEST_F(Selection, AnotherCompanyClearsManualAndServiceAndStopsTheNextExit)
{
    typeValidKey();
    answerLoads(1);
    s.leavePanel();
    s.type(*f().selection().rows().medCdCia, "CIA2");
    EXPECT_EQ(f().selection().rows().medCdManCia->text(), "");
    EXPECT_EQ(f().selection().rows().edtDsManCia->text(), "");
    const QLineEdit& service = *f().selection().rows().medCdServico;
    EXPECT_EQ(service.inputMask().isEmpty() ? service.text() : f().selection().serviceLookup().code(), "");
    EXPECT_EQ(f().selection().rows().edtDsServico->text(), "");
    EXPECT_EQ(f().selection().rows().edtClasse->text(), "");
    EXPECT_EQ(f().selection().rows().edtCiclo->text(), "");
    s.leavePanel();
    EXPECT_EQ(s.ui().errors, QStringList({"Manual deve ser informado."}));
    EXPECT_EQ(s.focus(), f().selection().rows().medCdManCia);
    EXPECT_EQ(loads().size(), 1);
}

TEST_F(Selection, TheSameCompanyTypedAgainKeepsManualAndService)
{
    typeValidKey();
    answerLoads(2);
    s.leavePanel();
    s.enter(*f().selection().rows().medCdCia);
    f().selection().rows().medCdCia->setText("CIA1");
    s.leavePanel();
    EXPECT_EQ(f().selection().rows().medCdManCia->text(), "0001");
    EXPECT_EQ(f().selection().rows().edtDsServico->text(), "Almoço");
    EXPECT_EQ(loads(), QStringList({kLoad, kLoad}));
}

TEST_F(Selection, TheServiceButtonListsUnderTheBusyIndicatorAndThePickFixesClassAndCycle)
{
    s.type(*f().selection().rows().medCdCia, "CIA1");
    s.type(*f().selection().rows().medCdManCia, "1");
    s.enter(*f().selection().rows().medCdServico);
    s.transport().answerPacket("GetServManual", test::servicePacket({
        {"1.01.001", "0000001001", "0001", "0001", "Almoço", "ECON", "Ciclo 1"},
        {"1.01.001", "0000001001", "0002", "0001", "Almoço", "EXEC", "Ciclo 1"}}));
    s.ui().answerSearch([](DataSource& source, const QString&) {
        return source.dataSet()->locate("SGCLASSE", {"EXEC"});
    });
    s.ui().log.clear();
    answerLoads(1);
    f().selection().rows().btpServManual->click();
    EXPECT_EQ(s.transport().calls().filter("GetServManual").last(),
              R"(GetServManual("0001","0001","0001",""))");
    EXPECT_EQ(s.ui().log.mid(0, 2), QStringList({"busy+6", "busy-"}));
    EXPECT_EQ(f().selection().rows().edtClasse->text(), "EXEC");
    EXPECT_EQ(f().selection().key().classCode, "0002");
    s.leavePanel();
    EXPECT_EQ(loads(), QStringList({R"(GetSubGruSeMa("0001","0001","0001","000000100100020001","2","2"))"}));
}

}  // namespace
}  // namespace qmv

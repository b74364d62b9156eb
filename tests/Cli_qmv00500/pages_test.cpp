// The pages and commands of the main screen over the real server, every call recorded: what each
// page change, sub-group change, inner page change and verify loads, with which arguments and in
// which order; what Include, the page menu entries and the keys do.
#include <QAction>
#include <QLineEdit>
#include <gtest/gtest.h>

#include "Cli_qmv00500/cli_qmv00500.h"
#include "Cli_qmv00500/equipmentlist.h"
#include "Cli_qmv00500/loadedscreen.h"
#include "Cli_qmv00500/productlist.h"
#include "Cli_qmv00500/screenpages.h"
#include "Cli_qmv00500/subgroupsheet.h"
#include "host/abort.h"
#include "host/tbuttonflat.h"
#include "host/tcustompagecontrol98.h"
#include "platform/dataset.h"
#include "platform/datasource.h"
#include "platform/dbnavigator.h"
#include "support/named.h"

namespace qmv {
namespace {

using test::named;

const char kSubGroups[] = R"(GetSubGruSeMa("0001","0001","0001","000000100100010001","2","2"))";

class Pages : public ::testing::Test {
protected:
    TfrmFotoMontManual& f() { return s.form(); }
    test::LoadedScreen s;
};

TEST_F(Pages, EachMoveLoadsThePageInViewForTheCurrentSubGroup)
{
    struct Step {
        const char* what;
        std::function<void(test::LoadedScreen&, TfrmFotoMontManual&)> act;
        QStringList calls;
        const char* padrao;  // the dataset behind the commands
    };
    using F = TfrmFotoMontManual;
    const Step steps[] = {
        {"photo page, instructions inside", [](auto& s, F& f) { s.choosePage(f.pages().sheet(MainPage::FotoServ)); },
         {R"(GetFotoSubMa("S1","E1"))", R"(GetFotoSeMa("S1","E1"))"}, "cdsFotoSubMa"},
        {"equipment sheet", [](auto& s, F& f) { s.chooseInnerPage(f.pages().innerSheet(InnerPage::Equipamento)); },
         {R"(GetEquiSubSeMa("S1","E1","3"))"}, "cdsEquiSubSeMa"},
        {"next sub-group on equipment", [](auto& s, F&) { s.goToRow(1); },
         {R"(GetEquiSubSeMa("S2","E2","3"))", R"(GetFotoSeMa("S2","E2"))"}, "cdsEquiSubSeMa"},
        {"additional data sheet", [](auto& s, F& f) { s.chooseInnerPage(f.pages().innerSheet(InnerPage::DadosAdic)); },
         {}, "cdsSubGruSeMa"},
        {"verify on additional data", [](auto&, F& f) { f.sbtVerificar->Click(); },
         {kSubGroups, R"(GetFotoSeMa("S1","E1"))"}, "cdsSubGruSeMa"},
        {"instructions sheet", [](auto& s, F& f) { s.chooseInnerPage(f.pages().innerSheet(InnerPage::InstMont)); },
         {R"(GetFotoSubMa("S1","E1"))"}, "cdsFotoSubMa"},
        {"verify on instructions", [](auto&, F& f) { f.sbtVerificar->Click(); },
         {R"(GetFotoSubMa("S1","E1"))"}, "cdsFotoSubMa"},
        {"products page", [](auto& s, F& f) { s.choosePage(f.pages().sheet(MainPage::ProdRec)); },
         {R"(GetProRecSeMa("0001","0001","0001","0000001001","S1","0001","0001"))"}, "cdsProRecSeMa"},
        {"verify on products", [](auto&, F& f) { f.sbtVerificar->Click(); },
         {R"(GetProRecSeMa("0001","0001","0001","0000001001","S1","0001","0001"))"}, "cdsProRecSeMa"},
        {"last sub-group on products", [](auto& s, F&) { s.goToRow(2); },
         {R"(GetProRecSeMa("0001","0001","0001","0000001001","S3","0001","0001"))"}, "cdsProRecSeMa"},
        {"sub-group sheet from its menu entry", [](auto&, F& f) { named<QAction>(f, "mnuFolhaDados")->trigger(); }, {},
         "cdsSubGruSeMa"},
        {"verify on the sub-group sheet", [](auto&, F& f) { f.sbtVerificar->Click(); }, {kSubGroups}, "cdsSubGruSeMa"},
        {"photo page from its menu entry", [](auto&, F& f) { named<QAction>(f, "mnuFormulario")->trigger(); },
         {R"(GetFotoSubMa("S1","E1"))", R"(GetFotoSeMa("S1","E1"))"}, "cdsFotoSubMa"},
    };
    for (const Step& step : steps) {
        step.act(s, f());
        EXPECT_EQ(s.takeCalls().join('\n').toStdString(), step.calls.join('\n').toStdString()) << step.what;
        EXPECT_EQ(f().dataSetPadrao(), named<DataSet>(f(), step.padrao)) << step.what;
        EXPECT_TRUE(s.ui().errors.isEmpty()) << step.what << ": " << s.ui().errors.join('|').toStdString();
    }
}

TEST_F(Pages, MenuEntriesAreCheckedForThePageInView)
{
    const auto checks = [&] {
        QString out;
        for (const char* entry : {"mnuFolhaDados", "mnuFormulario", "mnuProdRec"})
            out += named<QAction>(f(), entry)->isChecked() ? u'1' : u'0';
        return out;
    };
    named<QAction>(f(), "mnuProdRec")->trigger();
    EXPECT_EQ(checks(), "001");
    s.choosePage(f().pages().sheet(MainPage::FotoServ));
    EXPECT_EQ(checks(), "010");
    named<QAction>(f(), "mnuFolhaDados")->trigger();
    EXPECT_EQ(checks(), "100");
    EXPECT_EQ(f().pgcPadrao->ActivePage(), f().tshPadrao);
}

TEST_F(Pages, TheDeleteButtonOfThePhotoFollowsTheStoredPhoto)
{
    s.choosePage(f().pages().sheet(MainPage::FotoServ));
    EXPECT_TRUE(named<TButtonFlat>(f(), "sbtDelFotoServ")->isEnabled());  // S1 has a photo
    s.goToRow(2);
    EXPECT_FALSE(named<TButtonFlat>(f(), "sbtDelFotoServ")->isEnabled());  // S3 has none
}

TEST_F(Pages, IncludeOnTheEquipmentSheetOpensTheInclusionDialogAndAddsNoRow)
{
    s.choosePage(f().pages().sheet(MainPage::FotoServ));
    s.chooseInnerPage(f().pages().innerSheet(InnerPage::Equipamento));
    const int rows = f().equipmentList().records().recordCount();
    f().sbtIncluir->Click();
    EXPECT_EQ(s.ui().modalForms, QStringList({"frmCadAutEquip"}));
    EXPECT_EQ(f().equipmentList().records().recordCount(), rows);
    EXPECT_EQ(f().equipmentList().records().state(), DataSetState::Browse);
}

TEST_F(Pages, AFailedLoadKeepsTheDatasetAndEndsTheRoutine)
{
    s.choosePage(f().pages().sheet(MainPage::FotoServ));
    s.takeCalls();
    s.transport().fail("GetFotoSubMa", "servidor indisponível");
    s.goToRow(1);
    EXPECT_EQ(s.ui().errors.size(), 1);
    EXPECT_EQ(s.takeCalls(), QStringList({R"(GetFotoSubMa("S2","E2"))"}));  // the photo is not asked for
    EXPECT_EQ(named<DataSet>(f(), "cdsFotoSubMa")->fieldByName("CDESPEPROD").asString(), "E1");
}

TEST_F(Pages, WhileARecordIsPendingTheCurrentSubGroupStays)
{
    s.choosePage(f().pages().sheet(MainPage::ProdRec));
    ASSERT_FALSE(f().products().records().isEmpty());
    f().products().records().edit();
    f().products().records().fieldByName("TXCOMENT").setAsString("bem quente");
    s.takeCalls();
    EXPECT_THROW(f().subGroupSheet().records().next(), Abort);
    EXPECT_EQ(f().subGroupSheet().records().recNo(), 1);
    EXPECT_TRUE(s.takeCalls().isEmpty());
    EXPECT_EQ(f().products().records().fieldByName("TXCOMENT").asString(), "bem quente");
    EXPECT_FALSE(f().dbnPadrao->isEnabled());
    EXPECT_FALSE(f().tshPadrao->isEnabled());
    EXPECT_FALSE(f().selection().rows().medCdCia->isEnabled());
}

TEST_F(Pages, ConfirmOnTheSubGroupSheetRunsTheDateCopyWhenTheHiddenSheetIsAdditionalData)
{
    s.choosePage(f().pages().sheet(MainPage::FotoServ));
    s.chooseInnerPage(f().pages().innerSheet(InnerPage::DadosAdic));
    s.choosePage(*f().tshPadrao);
    const QDateTime march2(QDate(2026, 3, 2), QTime(0, 0));
    f().subGroupSheet().records().edit();
    f().subGroupSheet().records().fieldByName("DTAPRESUMA").setAsDateTime(march2);
    s.takeCalls();
    f().sbtConfirmar->Click();
    // S1 posts its own change; S2 and S3, which have no dates, take the three of S1 one by one.
    EXPECT_EQ(s.takeCalls().filter("SetSubGruSeMa(<delta:U>,").size(), 7);
    EXPECT_EQ(f().subGroupSheet().records().recNo(), 1);
    EXPECT_FALSE(Cli_qmv00500::boControle);
    for (const char* subGroup : {"S2", "S3"}) {
        EXPECT_EQ(s.stored(subGroup, "DTAPRESUMA").toDateTime().date(), march2.date()) << subGroup;
        EXPECT_EQ(s.stored(subGroup, "DTREVISUMA").toDateTime().date(), QDate(2026, 3, 10)) << subGroup;
    }
}

}  // namespace
}  // namespace qmv

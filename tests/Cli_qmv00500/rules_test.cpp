// The main screen's rules that need no window: what each state offers, the loading value's text,
// the cycle time and the revision date that follows the effective date.
#include <gtest/gtest.h>

#include "Cli_qmv00500/enablingrules.h"
#include "Cli_qmv00500/subgrouprules.h"
#include "platform/dataset.h"

namespace qmv {
namespace {

using S = DataSetState;
using M = MainPage;
using I = InnerPage;

// Offered commands as letters: I include, A edit (a when left to the base form), X delete,
// P find, V verify, F filter, D automatic display, S panel; pages and inner pages as 1/0.
QString offered(const Enabling& e)
{
    QString out;
    out += e.incluir ? u'I' : u'-';
    out += !e.alterar ? u'a' : (*e.alterar ? u'A' : u'-');
    out += e.excluir ? u'X' : u'-';
    out += e.procurar ? u'P' : u'-';
    out += e.verificar ? u'V' : u'-';
    out += e.filtro ? u'F' : u'-';
    out += e.autoExibe ? u'D' : u'-';
    out += e.panel ? u'S' : u'-';
    out += u' ';
    for (bool p : e.pages)
        out += p ? u'1' : u'0';
    out += u' ';
    for (bool q : e.inner)
        out += q ? u'1' : u'0';
    return out;
}

TEST(EnablingRules, EachStateOffersItsCommandsPagesAndPanel)
{
    struct Case {
        const char* what;
        ScreenState state;
        const char* expected;
    };
    const Case cases[] = {
        {"sub-group sheet in browse", {M::SubGrupo, I::InstMont, S::Browse, false, false, false}, "-a-PVFDS 111 111"},
        {"sub-group row in edit", {M::SubGrupo, I::InstMont, S::Edit, false, false, false}, "-a------ 100 100"},
        {"empty list", {M::SubGrupo, I::InstMont, S::Browse, true, false, true}, "-a---F-S 100 111"},
        {"instructions missing", {M::FotoServ, I::InstMont, S::Browse, true, false, false}, "I----FDS 111 111"},
        {"instructions present", {M::FotoServ, I::InstMont, S::Browse, false, false, false}, "-A--VFDS 111 111"},
        {"instruction inserted", {M::FotoServ, I::InstMont, S::Insert, false, false, false}, "-------- 010 100"},
        {"equipment listed", {M::FotoServ, I::Equipamento, S::Browse, false, false, false}, "IAX-VFDS 111 111"},
        {"equipment empty", {M::FotoServ, I::Equipamento, S::Browse, true, false, false}, "I----FDS 111 111"},
        {"equipment in edit", {M::FotoServ, I::Equipamento, S::Edit, false, false, false}, "-------- 010 010"},
        {"dates in edit", {M::FotoServ, I::DadosAdic, S::Edit, false, false, false}, "-------- 010 001"},
        {"automatic display on photos", {M::FotoServ, I::Equipamento, S::Browse, false, true, false}, "----VFDS 111 111"},
        {"automatic display on sub-groups", {M::SubGrupo, I::InstMont, S::Browse, false, true, false}, "---PVFDS 111 111"},
        {"automatic display on products", {M::ProdRec, I::Equipamento, S::Browse, false, true, false}, "---PVFDS 111 111"},
        {"products in edit", {M::ProdRec, I::DadosAdic, S::Edit, false, false, false}, "-a------ 001 001"},
        {"rebinding", {M::ProdRec, I::InstMont, S::Inactive, true, false, false}, "-a---FDS 111 111"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(offered(enablingFor(c.state)), QString::fromLatin1(c.expected)) << c.what;
}

TEST(EnablingRules, ThePanelLocksCommandsAndDataSheetsUntilAServiceIsLoaded)
{
    struct Case {
        bool loaded;
        bool subGroupsEmpty;
        const char* expected;  // commands, data sheets
    };
    const Case cases[] = {
        {false, false, "00"}, {false, true, "00"}, {true, true, "10"}, {true, false, "11"}};
    for (const Case& c : cases) {
        const PanelLock lock = panelLock(c.loaded, c.subGroupsEmpty);
        ASSERT_TRUE(lock.commands.has_value());
        EXPECT_EQ(QString("%1%2").arg(int(*lock.commands)).arg(int(lock.dataSheets)), c.expected)
            << "loaded " << c.loaded << ", no sub-groups " << c.subGroupsEmpty;
    }
}

TEST(SubGroupRules, TheLoadingValueShowsAsAWholePercentageOrAsTyped)
{
    const std::pair<const char*, const char*> cases[] = {
        {"12.6", "13%"}, {"7.6", "8%"}, {"7.4", "7%"}, {"0", "0%"}, {"22.9", "23%"},
        {"", ""}, {"15%", "15%"}, {"abc", "abc"}};
    for (const auto& [stored, shown] : cases)
        EXPECT_EQ(loadingText(QString::fromLatin1(stored)), QString::fromLatin1(shown)) << stored;
}

TEST(SubGroupRules, TheCycleTimeIsHoursMinutesSecondsOfOneCycle)
{
    EXPECT_EQ(cycleTime(0), "00:00:00");
    EXPECT_EQ(cycleTime(1), "01:00:00");
    EXPECT_EQ(cycleTime(7), "00:08:34");
    EXPECT_EQ(cycleTime(0.25), "04:00:00");
}

class RevisionRule : public ::testing::Test {
protected:
    RevisionRule()
    {
        ds.addField({QStringLiteral("DTEFETSUMA"), FieldKind::DateTime});
        ds.addField({QStringLiteral("DTREVISUMA"), FieldKind::DateTime});
    }

    // Loads one row with the two dates (day of March 2026, 0 for blank), edits the effective date
    // to `effective` and applies the rule; returns whether the post may go on and the revision.
    std::pair<bool, int> apply(int oldEffective, int revision, int effective)
    {
        DataPacket packet;
        packet.fields = {ds.field(0).def(), ds.field(1).def()};
        packet.rows = {Row{march(oldEffective), march(revision)}};
        ds.loadPacket(packet);
        ds.edit();
        ds.fieldByName(QStringLiteral("DTEFETSUMA")).setValue(march(effective));
        const bool ok = applyRevisionRule(ds);
        const QVariant r = ds.fieldByName(QStringLiteral("DTREVISUMA")).value();
        return {ok, r.isNull() ? 0 : r.toDateTime().date().day()};
    }

    static QVariant march(int day)
    {
        return day ? QVariant(QDateTime(QDate(2026, 3, day), QTime(0, 0))) : QVariant();
    }

    DataSet ds;
};

TEST_F(RevisionRule, TheRevisionFollowsTheEffectiveDateWhileTheyWereEqual)
{
    struct Case {
        const char* what;
        int oldEffective, revision, effective;
        bool ok;
        int revisionAfter;
    };
    const Case cases[] = {
        {"followed the effective date", 10, 10, 15, true, 15},
        {"had its own date, now earlier", 10, 12, 15, false, 12},
        {"both blank, first effective date", 0, 0, 15, true, 15},
        {"effective date cleared", 10, 10, 0, true, 10},
        {"blank revision, unchanged effective", 10, 0, 10, false, 0},
        {"unchanged and equal", 10, 10, 10, true, 10},
    };
    for (const Case& c : cases) {
        const auto [ok, revision] = apply(c.oldEffective, c.revision, c.effective);
        EXPECT_EQ(ok, c.ok) << c.what;
        EXPECT_EQ(revision, c.revisionAfter) << c.what;
    }
}

}  // namespace
}  // namespace qmv

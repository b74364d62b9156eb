#include <QDate>
#include <gtest/gtest.h>

#include "host/codestructure.h"
#include "host/hostconfig.h"
#include "host/routines.h"

namespace qmv {
namespace {

TEST(Ajusta, ZeroFillsToTheWidthsTheModuleUses)
{
    EXPECT_EQ(Ajusta("1", 4), "0001");
    EXPECT_EQ(Ajusta("12", 3), "012");
    EXPECT_EQ(Ajusta("7", 2), "07");
    EXPECT_EQ(Ajusta("123", 10), "0000000123");
    EXPECT_EQ(Ajusta("", 2), "00");
}

TEST(Ajusta, LeavesFullAndLongerTextsAloneAndDropsBlanks)
{
    EXPECT_EQ(Ajusta("0001", 4), "0001");
    EXPECT_EQ(Ajusta("12345", 4), "12345");
    EXPECT_EQ(Ajusta(" 1  ", 4), "0001");
    EXPECT_EQ(Ajusta("AB", 4), "00AB");
}

TEST(EmptyString, TrueOnlyForEmptyOrBlankText)
{
    EXPECT_TRUE(EmptyString(""));
    EXPECT_TRUE(EmptyString("   "));
    EXPECT_FALSE(EmptyString("0"));
    EXPECT_FALSE(EmptyString(" 1 "));
}

TEST(NomeSemana, NamesEveryWeekdayStartingOnSunday)
{
    // 2026-12-06 is a Sunday.
    const QStringList expected = {"Domingo", "Segunda", "Terça", "Quarta", "Quinta", "Sexta", "Sábado"};
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(NomeSemana(QDate(2026, 12, 6).addDays(i)), expected[i]) << i;
    EXPECT_EQ(NomeSemana(QDateTime(QDate(2000, 1, 1), QTime(23, 59))), "Sábado");
    EXPECT_EQ(NomeSemana(QDate()), "");
    EXPECT_EQ(NomeSemana(QDateTime()), "");
}

TEST(CodeStructure, CountsLevelsBetweenLiterals)
{
    EXPECT_EQ(CodeStructure("9.99.999;1; ").GetTtNiveis(), 3);
    EXPECT_EQ(CodeStructure("9.99.999;1; ").levelWidths(), (QList<int>{1, 2, 3}));
    EXPECT_EQ(CodeStructure("99-9999;0;_").levelWidths(), (QList<int>{2, 4}));
    EXPECT_EQ(CodeStructure(">aaaa;0; ").GetTtNiveis(), 1);
    EXPECT_EQ(CodeStructure("99\\.99;1; ").levelWidths(), (QList<int>{2, 2}));
    EXPECT_EQ(CodeStructure("").GetTtNiveis(), 0);
}

TEST(CodeStructure, DBPictGivesTheConfiguredMaskForTypeZeroOnly)
{
    const HostConfig saved = hostConfig();
    HostConfig config;
    config.codeMask = "99.999.9999;1; ";
    setHostConfig(config);
    EXPECT_EQ(DBPict(0), "99.999.9999;1; ");
    EXPECT_EQ(DBPictObj(0).GetTtNiveis(), 3);
    EXPECT_THROW(DBPict(1), std::out_of_range);
    setHostConfig(saved);
}

}  // namespace
}  // namespace qmv

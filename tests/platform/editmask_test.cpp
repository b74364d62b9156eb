// Edit masks in the module's notation and number/date display formats.
#include "platform/displayformat.h"
#include "platform/editmask.h"

#include <QLineEdit>
#include <gtest/gtest.h>

namespace qmv {
namespace {

TEST(EditMasks, TranslateToQtInputMasksOfTheSameMeaning)
{
    EXPECT_EQ(EditMask(">aaaa;0; ").inputMask(), ">nnnn; ");
    EXPECT_EQ(EditMask("9999;0; ").inputMask(), "0000; ");
    EXPECT_EQ(EditMask("999;0; ").inputMask(), "000; ");
    EXPECT_EQ(EditMask("9.99.999;1; ").inputMask(), "0.00.000; ");
    EXPECT_EQ(EditMask("00/00/0000;1;_").inputMask(), "99/99/9999;_");
    EXPECT_EQ(EditMask("LL-\\D;0; ").inputMask(), "AA-\\D; ");
}

TEST(EditMasks, QtWidgetsAcceptWhatTheMaskAllows)
{
    QLineEdit edit;
    edit.setInputMask(EditMask(">aaaa;0; ").inputMask());
    edit.insert("0001");
    EXPECT_EQ(edit.text(), "0001") << "a code with digits fits an alphanumeric mask";
    edit.clear();
    edit.insert("ab1");
    EXPECT_EQ(edit.text(), "AB1");
    edit.setInputMask(EditMask("9.99.999;1; ").inputMask());
    edit.insert("101001");
    EXPECT_EQ(edit.text(), "1.01.001");
}

TEST(EditMasks, AcceptNormalisesTypedText)
{
    EXPECT_EQ(EditMask(">aaaa;0; ").accept("ab1"), "AB1");
    EXPECT_EQ(EditMask(">aaaa;0; ").accept("0001"), "0001");
    EXPECT_EQ(EditMask(">aaaa;0; ").accept("ab-1"), std::nullopt);
    EXPECT_EQ(EditMask("9999;0; ").accept("12"), "12");
    EXPECT_EQ(EditMask("9999;0; ").accept("12a"), std::nullopt);
    EXPECT_EQ(EditMask("999;0; ").accept("1  "), "1");
    EXPECT_EQ(EditMask("999;0; ").accept("1234"), std::nullopt);
    EXPECT_EQ(EditMask("9.99.999;0; ").accept("1.01.001"), "101001");
    EXPECT_EQ(EditMask("9.99.999;1; ").accept("1.01.001"), "1.01.001");
    EXPECT_EQ(EditMask("9.99.999;1; ").accept("101001"), "1.01.001");
    EXPECT_EQ(EditMask("000;0; ").accept("12 "), std::nullopt) << "required digit missing";
    EXPECT_EQ(EditMask("").accept("free"), "free");
}

TEST(EditMasks, ABoxWithNothingTypedIsNoValueAndBlanksMayBeDropped)
{
    struct Case {
        const char* mask;
        const char* text;  // as an editor shows it, or as QLineEdit::text gives it
        std::optional<QString> value;
    };
    const Case cases[] = {
        {"9.99.999;1; ", " .  .   ", ""},
        {"9.99.999;1; ", "..", ""},
        {"9.99.999;0;_", "_.__.___", ""},
        {"000;0; ", "   ", ""},
        {">aaaa;0; ", "", ""},
        {"9.99.999;1; ", "1.0.", "1.0."},
        {"9.99.999;0; ", "1..1", "11"},
        {"9.99.999;1; ", "1. 1.   ", "1.1."},
        {"00.00;1; ", "1.23", std::nullopt},
        {"9.99.999;1; ", "a..", std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(EditMask(c.mask).accept(c.text), c.value) << c.mask << " / " << c.text;
        EXPECT_EQ(EditMask(c.mask).isBlank(c.text), c.value == QString()) << c.mask << " / " << c.text;
    }
}

TEST(EditMasks, FormatPutsLiteralsBackForShowing)
{
    EXPECT_EQ(EditMask("9.99.999;0; ").format("101001"), "1.01.001");
    EXPECT_EQ(EditMask("9.99.999;1; ").format("1.01.001"), "1.01.001");
    EXPECT_EQ(EditMask("9.99.999;0;_").format("1"), "1.__.___");
    EXPECT_EQ(EditMask(">aaaa;0; ").format("0001"), "0001");
}

TEST(DisplayFormats, NumbersRoundToThePlacesOfTheFormatWithoutScalingPercent)
{
    const QLocale c = QLocale::c();
    EXPECT_EQ(formatNumber(12.6, "#####0%", c), "13%");
    EXPECT_EQ(formatNumber(7.6, "#####0%", c), "8%");
    EXPECT_EQ(formatNumber(7.4, "#####0%", c), "7%");
    EXPECT_EQ(formatNumber(0.0, "#####0%", c), "0%");
    EXPECT_EQ(formatNumber(2.5, "#####0%", c), "3%") << "halves round away from zero";
    EXPECT_EQ(formatNumber(-2.5, "#####0%", c), "-3%");
    EXPECT_EQ(formatNumber(1.5, "0.000", c), "1.500");
    EXPECT_EQ(formatNumber(1.23456, "0.000", c), "1.235");
    EXPECT_EQ(formatNumber(1234567.891, "#,##0.00", c), "1,234,567.89");
    EXPECT_EQ(formatNumber(0.5, "#.##", c), ".5");
    EXPECT_EQ(formatNumber(-1, "0;(0);zero", c), "(1)");
    EXPECT_EQ(formatNumber(0, "0;(0);'zero'", c), "zero");
}

TEST(DisplayFormats, NumbersUseTheLocaleSeparators)
{
    const QLocale brazil(QLocale::Portuguese, QLocale::Brazil);
    EXPECT_EQ(formatNumber(1.5, "0.000", brazil), "1,500");
    EXPECT_EQ(formatNumber(1234.5, "#,##0.0", brazil), "1.234,5");
}

TEST(DisplayFormats, DatesUseTheClassicLetters)
{
    const QDateTime at(QDate(2026, 3, 10), QTime(14, 5, 9));
    const QLocale c = QLocale::c();
    EXPECT_EQ(formatDateTime(at, "dd/mm/yyyy", c), "10/03/2026");
    EXPECT_EQ(formatDateTime(at, "hh:nn:ss", c), "14:05:09");
    EXPECT_EQ(formatDateTime(at, "dd/mm/yy hh:mm", c), "10/03/26 14:05");
    EXPECT_EQ(formatDateTime(QDateTime(), "dd/mm/yyyy", c), "");
}

}  // namespace
}  // namespace qmv

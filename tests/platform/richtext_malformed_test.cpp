// Malformed RTF: every input gives a document or an RtfError, in bounded time.
#include "platform/plaintext.h"
#include "platform/rtfreader.h"
#include "platform/rtftokenizer.h"
#include "platform/rtfwriter.h"

#include <QFile>
#include <QTextBlock>
#include <QTextDocument>
#include <gtest/gtest.h>
#include <random>

namespace qmv {
namespace {

QString textOf(const QByteArray& rtf) { return plainTextOfRtf(rtf); }

TEST(RtfTokenizer, SplitsWordsWithClampedParametersSymbolsHexAndText)
{
    RtfTokenizer t(QByteArray("{\\b0 ab\\fs-20\\u99999999999999x\\'e7\\*\\\\}\\"));
    EXPECT_EQ(t.next().kind, RtfToken::GroupStart);
    RtfToken w = t.next();
    EXPECT_EQ(w.kind, RtfToken::Word);
    EXPECT_EQ(w.word, "b");
    EXPECT_TRUE(w.hasParam);
    EXPECT_EQ(w.param, 0);
    RtfToken text = t.next();
    EXPECT_EQ(text.kind, RtfToken::Text);
    EXPECT_EQ(text.word, "ab");  // the blank after \b0 delimits the word
    w = t.next();
    EXPECT_EQ(w.word, "fs");
    EXPECT_EQ(w.param, -20);
    w = t.next();
    EXPECT_EQ(w.word, "u");
    EXPECT_EQ(w.param, std::numeric_limits<int>::max());
    EXPECT_EQ(t.next().word, "x");
    RtfToken hex = t.next();
    EXPECT_EQ(hex.kind, RtfToken::HexByte);
    EXPECT_EQ(hex.param, 0xE7);
    EXPECT_EQ(t.next().symbol, '*');
    EXPECT_EQ(t.next().symbol, '\\');
    EXPECT_EQ(t.next().kind, RtfToken::GroupEnd);
    EXPECT_EQ(t.next().kind, RtfToken::End);  // a backslash at the very end
    EXPECT_TRUE(t.atEnd());
}

TEST(RtfTokenizer, SkipsBinaryDataNoFurtherThanTheEnd)
{
    RtfTokenizer t(QByteArray("abc"));
    t.skipBytes(std::numeric_limits<qint64>::max());
    EXPECT_TRUE(t.atEnd());
    EXPECT_EQ(t.next().kind, RtfToken::End);
}

TEST(RtfMalformed, UnbalancedBracesGiveTheTextReadSoFar)
{
    EXPECT_EQ(textOf(R"({\rtf1 one\par {\b two)"), "one\ntwo");
    EXPECT_EQ(textOf(R"({\rtf1 one}}} ignored {after})"), "one");
    EXPECT_EQ(textOf(R"({\rtf1 {\fonttbl{\f0 Arial;})"), "");
    EXPECT_EQ(textOf("{\\rtf1 {\\*\\unclosed destination"), "");
}

TEST(RtfMalformed, TruncatedInputGivesADocument)
{
    const QByteArray full = R"({\rtf1\ansi{\fonttbl{\f0\fswiss Arial;}}{\colortbl;\red255\green0\blue0;}\f0\fs24 )"
                            R"(\cf1 Caf\'e9 \u8364? {\b negrito}\par fim})";
    for (qsizetype n = 0; n <= full.size(); ++n) {
        QTextDocument doc;
        EXPECT_NO_THROW(readRtf(full.left(n), doc)) << n;
    }
    EXPECT_EQ(textOf(full.left(full.indexOf("\\u8364"))), "Caf\u00E9 ");
    EXPECT_EQ(textOf(full), "Caf\u00E9 \u20AC negrito\nfim");
}

TEST(RtfMalformed, HugeNumbersAreClamped)
{
    QTextDocument doc;
    readRtf(R"({\rtf1{\uc99999999999 \u999999999999?}\fs99999999999999999999 A\li-99999999999 B
\cf2147483647\highlight-5\ls99999999999\ilvl77 C\par\bin99999999999999 gone})", doc);
    EXPECT_EQ(doc.toPlainText(), "ABC");
    EXPECT_EQ(doc.begin().begin().fragment().charFormat().fontPointSize(), 1638);
    EXPECT_GE(doc.begin().blockFormat().leftMargin(), -31680 / 15.0);
}

TEST(RtfMalformed, NestingBeyondTheLimitIsAClearErrorAndLeavesTheDocumentEmpty)
{
    QTextDocument doc;
    doc.setPlainText("old");
    const QByteArray deep = "{\\rtf1 a" + QByteArray(100000, '{') + "b";
    try {
        readRtf(deep, doc);
        FAIL() << "no error";
    } catch (const RtfError& e) {
        EXPECT_NE(std::string(e.what()).find("nested deeper than 256"), std::string::npos) << e.what();
    }
    EXPECT_TRUE(doc.isEmpty());

    const QByteArray allowed = "{\\rtf1 a" + QByteArray(250, '{') + "b" + QByteArray(251, '}');
    EXPECT_EQ(textOf(allowed), "ab");
}

TEST(RtfMalformed, RandomDamageToRealDocumentsNeverCrashesOrHangs)
{
    QFile f(QStringLiteral(QMV_RTF_SAMPLES "/lists_table_picture.rtf"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray original = f.readAll();
    std::mt19937 random(20240305);
    const char alphabet[] = "{}\\'*0123456789-uacbfl; \n";
    int errors = 0;
    for (int round = 0; round < 300; ++round) {
        QByteArray damaged = original;
        for (int k = 0; k < 20; ++k) {
            const auto at = static_cast<qsizetype>(random() % damaged.size());
            damaged[at] = alphabet[random() % (sizeof alphabet - 1)];
        }
        QTextDocument doc;
        try {
            readRtf(damaged, doc);
        } catch (const RtfError&) {
            ++errors;
        }
        // Whatever was read writes out stably: the text at once, everything after one pass.
        QTextDocument back;
        readRtf(writeRtf(doc), back);
        ASSERT_EQ(back.toPlainText(), doc.toPlainText()) << round;
        QTextDocument again;
        readRtf(writeRtf(back), again);
        ASSERT_EQ(writeRtf(again), writeRtf(back)) << round;
    }
    EXPECT_EQ(errors, 0);  // damage never nests groups 256 deep
}

}  // namespace
}  // namespace qmv

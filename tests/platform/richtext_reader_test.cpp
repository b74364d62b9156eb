// Reading RTF as common word processors write it, and plain text files.
#include "platform/plaintext.h"
#include "platform/rtfreader.h"
#include "tests/platform/richtext_dump.h"
#include "tests/support/qtprinters.h"

#include <QFile>
#include <QTextDocument>
#include <QTextLayout>
#include <gtest/gtest.h>

namespace qmv {
namespace {

QByteArray sample(const char* name)
{
    QFile f(QStringLiteral(QMV_RTF_SAMPLES "/") + QLatin1String(name));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << name;
    return f.readAll();
}

QStringList read(const QByteArray& rtf)
{
    QTextDocument doc;
    readRtf(rtf, doc);
    return test::dumpDocument(doc);
}

QString textOf(const QByteArray& rtf) { return plainTextOfRtf(rtf); }

TEST(RtfReaderSamples, ReadsTextListsTableAndFormattingOfAFullWordProcessorDocument)
{
    const QStringList expected = {
        "C v0,10.6667: [Montagem do Prato Principal|Calibri 16 b fg#0000ff]",
        "L v0,10.6667: [Coloque o arroz no centro do prato, com a carne ao lado. Decore com |Calibri 11]"
        " [salsinha|Calibri 11 i] [ e |Calibri 11] [lim\u00E3o|Calibri 11 u fg#ff0000] [.|Calibri 11]",
        "L list1/1 v0,10.6667: [Prato raso aquecido|Calibri 11]",
        "L list1/1 v0,10.6667: [Talheres \u2013 garfo e faca|Calibri 11]",
        "L list2/2 v0,10.6667: [Guardanapo dobrado|Calibri 11]",
        "L list4/1 v0,10.6667: [Aque\u00E7a o molho|Calibri 11]",
        "L list4/1 v0,10.6667: [Sirva a 65\u00B0C|Calibri 11]",
        "L v0,10.6667: [Por\u00E7\u00F5es:|Calibri 11]",
        "L: [Item|Calibri 11 b]",  // a table of two rows of two cells
        "L: [Gramas|Calibri 11 b]",
        "L: [Arroz|Calibri 11]",
        "L: [150|Calibri 11]",
        "C v0,10.6667:",
        "L v0,10.6667: [Ver receita|Calibri 11 u fg#0000ff]",
        "L v0,10.6667: [Observa\u00E7\u00E3o: at\u00E9 75 \u2103 no m\u00E1ximo|Calibri 11]",
    };
    EXPECT_EQ(read(sample("lists_table_picture.rtf")), expected);
}

TEST(RtfReaderSamples, SkipsMetadataPicturesFieldInstructionsAndBookmarks)
{
    const QString text = textOf(sample("lists_table_picture.rtf"));
    for (const char* hidden : {"Cozinha Central", "Instru", "HYPERLINK", "89504e47", "0100090000",
                               "fim\n", "Normal;", "504b0304", "Times New Roman", "Wingdings"})
        EXPECT_FALSE(text.contains(QLatin1String(hidden))) << hidden;
}

TEST(RtfReaderSamples, ReadsOlderParagraphNumberingAndFontCodePages)
{
    const QStringList expected = {
        "R v0,13.3333: [Cart\u00E3o de Montagem|Calibri 14]",
        "L v0,13.3333: [Ingredientes:|Calibri 11]",
        "L list1/1 v0,13.3333: [Batata|Calibri 11]",
        "L list1/1 v0,13.3333: [Cenoura |Calibri 11] [cozida|Calibri 11 b fg#c00000]",
        "L list4/1 v0,13.3333: [Cortar|Calibri 11]",
        "L list4/1 v0,13.3333: [Servir|Calibri 11]",
        "L v0,13.3333: [riscado|Calibri 11 s fg#00b050] [ e x|Calibri 11] [2|Calibri 11 sup]"
        " [ e |Calibri 11] [\u041F\u0440\u0438\u0432\u0435\u0442|Arial Cyr 11]",
        "J m96,48,0 v6.66667,13.3333: [Recuado {chaves} e barra \\ final\u2028segunda linha\tfim|Calibri 11]",
    };
    EXPECT_EQ(read(sample("legacy_numbering.rtf")), expected);
}

TEST(RtfReaderSamples, ReadsFontTablesWithoutGroupsAndBackslashNewlineBreaks)
{
    const QStringList expected = {
        "L: [Montar \u201Cna hora\u201D e servir.|Helvetica 12 fg#262626]",
        "L: [Segunda linha com |Helvetica 12 fg#262626] [c\u00F3digo|Menlo-Regular 12 fg#262626]"
        " [.|Helvetica 12 fg#262626]",
        "L:",
        "L: [link|Helvetica 12 u fg#262626]",
    };
    EXPECT_EQ(read(sample("plain_editor.rtf")), expected);
}

TEST(RtfReaderPlainText, ReadsTextThatIsNotRtfAsPlainTextInUtf8OrWindows1252)
{
    EXPECT_EQ(textOf(sample("notes_1252.txt")), "Retire o prato\nServir quente \u00E9 melhor\n");
    EXPECT_EQ(textOf(sample("notes_utf8.txt")), "Molho \u00E0 parte\nSem sal\n");
    EXPECT_EQ(textOf("{rtf1 not rtf}"), "{rtf1 not rtf}");
    EXPECT_EQ(textOf("  \r\n{\\rtf1 lead}"), "lead");
    EXPECT_EQ(textOf(""), "");
}

TEST(RtfReaderCharacters, DecodesUnicodeWithItsFallbackCount)
{
    EXPECT_EQ(textOf(R"({\rtf1 a\u231?b})"), "a\u00E7b");
    EXPECT_EQ(textOf(R"({\rtf1\uc2 a\u231\'63\'3fb})"), "a\u00E7b");
    EXPECT_EQ(textOf(R"({\rtf1\uc0 a\u231 b})"), "a\u00E7b");
    EXPECT_EQ(textOf(R"({\rtf1 \u-3913?\u-10179?\u-8704?})"), QString(QChar(0xF0B7)) + "\U0001F600");
    // The count belongs to its group; a closing brace ends the fallback early.
    EXPECT_EQ(textOf(R"({\rtf1{\uc3 \u231?}xy})"), "\u00E7xy");
    EXPECT_EQ(textOf(R"({\rtf1 \u8364\'80 \u32?x})"), "\u20AC  x");
}

TEST(RtfReaderCharacters, DecodesHexEscapesInTheDocumentOrFontCodePage)
{
    EXPECT_EQ(textOf(R"({\rtf1\ansi \'e7\'80\'93\'94})"), "\u00E7\u20AC\u201C\u201D");
    EXPECT_EQ(textOf(R"({\rtf1\ansi\ansicpg1251 \'cf\'e0\'f1})"), "\u041F\u0430\u0441");
    EXPECT_EQ(textOf(R"({\rtf1\ansi{\fonttbl{\f0 A;}{\f1\fcharset238 B;}}\f1\'9c\f0\'9c})"), "\u015B\u0153");
    EXPECT_EQ(textOf(R"({\rtf1\ansi\ansicpg999 \'e7})"), "\u00E7");
    EXPECT_EQ(textOf(R"({\rtf1 a\'4\'00\'07\u8?\'09b})"), "a\tb");  // control characters dropped
}

TEST(RtfReaderCharacters, ReadsEscapesSymbolsAndBreaks)
{
    EXPECT_EQ(textOf(R"({\rtf1 \{a\}\\b\tab c\line d\par e\~f\emdash\endash\bullet\lquote\rquote\ldblquote\rdblquote})"),
              "{a}\\b\tc\nd\ne f\u2014\u2013\u2022\u2018\u2019\u201C\u201D");
    EXPECT_EQ(textOf("{\\rtf1 a\\\nb\\\r\nc}"), "a\nb\nc");
    EXPECT_EQ(textOf(R"({\rtf1 a\-b\_c\page d\sect e})"), "a\u00ADb\u2011c\nd\ne");
}

TEST(RtfReaderDestinations, SkipsIgnorableAndKnownDestinationsButShowsUnknownGroups)
{
    EXPECT_EQ(textOf(R"({\rtf1 a{\*\whatever x{y}z}b{\unknownword c}d})"), "abcd");
    EXPECT_EQ(textOf(R"({\rtf1 {\info{\title T}}{\header H}{\footnote F}{\pict 0a0b}ok})"), "ok");
    EXPECT_EQ(textOf(R"({\rtf1 {\pict\bin4 }{}}}x})"), "x");
    EXPECT_EQ(textOf(R"({\rtf1 {\field{\*\fldinst PAGE}{\fldrslt 7}} p})"), "7 p");
    EXPECT_EQ(textOf(R"({\rtf1 shown{\v hidden\'e7\u231?\tab}\v more\v0  again})"), "shown again");
}

TEST(RtfReaderFormatting, AppliesResetsAndTogglesOfCharacterProperties)
{
    const QStringList doc = read(R"({\rtf1{\fonttbl{\f0 Arial;}{\f1 Verdana;}}{\colortbl;\red1\green2\blue3;}
\b B\b0 n\i I\plain p\ul U\ulnone n\uldb D\ulc0 D\ul0 n{\f1\fs40\cf1\highlight1 V}\cf9 x\fs99999999999 h})");
    ASSERT_EQ(doc.size(), 1);
    EXPECT_EQ(doc[0], "L: [B|Arial 12 b] [n|Arial 12] [I|Arial 12 i] [p|Arial 12] [U|Arial 12 u] [n|Arial 12]"
                      " [DD|Arial 12 u] [n|Arial 12] [V|Verdana 20 fg#010203 bg#010203] [x|Arial 12]"
                      " [h|Arial 1638]");
}

TEST(RtfReaderFormatting, ParagraphPropertiesLastUntilPardAndTheClosingParAddsNoParagraph)
{
    const QStringList doc = read(R"({\rtf1\qc a\par b\par\pard c\par\qr\li300 d\par})");
    EXPECT_EQ(doc, (QStringList{"C: [a| 12]", "C: [b| 12]", "L: [c| 12]", "R m20,0,0: [d| 12]"}));
    EXPECT_EQ(read(R"({\rtf1 a\par\par})").size(), 2);
    EXPECT_EQ(read(R"({\rtf1 a})").size(), 1);
}

TEST(RtfReaderFormatting, ContinuesNumberingOfAListAcrossOtherParagraphs)
{
    QTextDocument doc;
    readRtf(R"({\rtf1{\*\listtable{\list{\listlevel\levelnfc4{\leveltext\'02\'00);}}\listid7}}
{\*\listoverridetable{\listoverride\listid7\ls3}}
\pard\ls3 a\par b\par\pard c\par\ls3 d\par\ls8 e\par})", doc);
    QTextBlock d = doc.findBlockByNumber(3);
    ASSERT_NE(d.textList(), nullptr);
    EXPECT_EQ(d.textList()->format().style(), QTextListFormat::ListLowerAlpha);
    EXPECT_EQ(d.textList()->itemText(d), "c.");
    EXPECT_EQ(doc.findBlockByNumber(2).textList(), nullptr);
    // A list missing from the table shows bullets.
    EXPECT_EQ(doc.findBlockByNumber(4).textList()->format().style(), QTextListFormat::ListDisc);
}

// "1.\tTexto" under a hanging indent: the text starts at the indent, where its wrapped lines start.
TEST(RtfReaderFormatting, TheTabOfAHangingIndentStopsAtTheIndent)
{
    for (const char* indent : {R"(\fi-360\li360)", R"(\fi-360\li720)"}) {
        QTextDocument doc;
        doc.setTextWidth(400);
        readRtf(QByteArray("{\\rtf1\\pard") + indent + " 1.\\tSeparar os utens\\'edlios e a lou\\'e7a indicados "
                                                   "na lista de equipamentos da montagem.\\par}",
                doc);
        (void)doc.size();  // lays the document out
        QTextLayout* layout = doc.firstBlock().layout();
        ASSERT_GE(layout->lineCount(), 2) << indent;
        const QTextLine first = layout->lineAt(0);
        EXPECT_NEAR(first.cursorToX(3), layout->lineAt(1).x(), 2.0) << indent;
    }
}

TEST(RtfReaderPlainText, DropsNulAndOtherControlCharactersOfPlainText)
{
    EXPECT_EQ(textOf(QByteArray("a\0b\x07\tc\r\nd\x1b", 10)), "ab\tc\nd");
}

}  // namespace
}  // namespace qmv

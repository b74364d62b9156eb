// Tables, raised and lowered text and many lists: read, written and read again.
#include "platform/plaintext.h"
#include "platform/rtfreader.h"
#include "platform/rtfwriter.h"
#include "tests/platform/richtext_dump.h"
#include "tests/support/qtprinters.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QTextList>
#include <QTextTable>
#include <optional>
#include <gtest/gtest.h>

namespace qmv {
namespace {

// A 3x3 table as a word processor writes it: row definitions, bold header cells, an accent, an
// empty cell, a paragraph before and after.
const char kTable[] = R"({\rtf1\ansi\ansicpg1252\deff0{\fonttbl{\f0 Arial;}}
Antes\par
\trowd\trgaph108\trleft0\cellx1500\cellx3000\cellx4500
\pard\intbl\b Item\b0\cell\pard\intbl\b Gramas\b0\cell\pard\intbl\b Ordem\b0\cell\row
\trowd\trgaph108\trleft0\cellx1500\cellx3000\cellx4500
\pard\intbl Feij\'e3o\cell\pard\intbl 150\cell\pard\intbl\qc 1\cell\row
\trowd\trgaph108\trleft0\cellx1500\cellx3000\cellx4500
\pard\intbl Arroz\par integral\cell\pard\intbl\cell\pard\intbl 2\cell\row
\pard Depois\par})";

// The first table of a document, one line per cell: "row,column: paragraphs of the cell".
QStringList tableCells(const QTextDocument& doc)
{
    QTextTable* table = nullptr;
    for (auto it = doc.rootFrame()->begin(); !it.atEnd() && !table; ++it)
        table = qobject_cast<QTextTable*>(it.currentFrame());
    if (!table)
        return {QStringLiteral("no table")};
    QStringList lines;
    for (int r = 0; r < table->rows(); ++r) {
        for (int c = 0; c < table->columns(); ++c) {
            const QTextTableCell cell = table->cellAt(r, c);
            QString line = QStringLiteral("%1,%2:").arg(r).arg(c);
            for (QTextBlock b = cell.firstCursorPosition().block();
                 b.isValid() && b.position() <= cell.lastCursorPosition().position(); b = b.next())
                line += " {" + test::dumpBlock(b) + "}";
            lines << line;
        }
    }
    return lines;
}

QTextDocument* read(const QByteArray& rtf, QTextDocument& doc)
{
    readRtf(rtf, doc);
    return &doc;
}

TEST(RtfTables, AreReadAsTablesWrittenAsRtfRowsAndReadBackWithTheSameCells)
{
    QTextDocument first;
    read(kTable, first);
    const QStringList cells = tableCells(first);
    ASSERT_EQ(cells.size(), 9) << cells.join('\n').toStdString();
    EXPECT_EQ(cells[0], "0,0: {L: [Item|Arial 12 b]}");
    EXPECT_EQ(cells[3], "1,0: {L: [Feij\u00E3o|Arial 12]}");
    EXPECT_EQ(cells[5], "1,2: {C: [1|Arial 12]}");
    EXPECT_EQ(cells[6], "2,0: {L: [Arroz|Arial 12]} {L: [integral|Arial 12]}");
    EXPECT_EQ(cells[7], "2,1: {L:}");
    EXPECT_EQ(plainText(first).split('\n').first(), "Antes");
    EXPECT_EQ(plainText(first).split('\n').last(), "Depois");

    const QByteArray written = writeRtf(first);
    EXPECT_EQ(written.count("\\trowd"), 3);
    EXPECT_EQ(written.count("\\cellx"), 9);
    EXPECT_EQ(written.count("\\cell\n"), 9);
    EXPECT_EQ(written.count("\\row"), 3);
    EXPECT_TRUE(written.contains("\\cellx1500")) << written.constData();
    QTextDocument second;
    read(written, second);
    EXPECT_EQ(tableCells(second), cells);
    EXPECT_EQ(test::dumpDocument(second), test::dumpDocument(first));
    EXPECT_EQ(writeRtf(second), written);
}

TEST(RtfTables, ATableAtTheStartOrEndOfADocumentAddsNoParagraphs)
{
    QTextDocument doc;
    QTextCursor(&doc).insertTable(2, 2)->cellAt(1, 1).firstCursorPosition().insertText("x");
    const QByteArray written = writeRtf(doc);
    EXPECT_FALSE(written.contains("\\par\n")) << written.constData();
    QTextDocument back;
    read(written, back);
    EXPECT_EQ(back.blockCount(), doc.blockCount());
    EXPECT_EQ(tableCells(back).size(), 4);
    EXPECT_TRUE(tableCells(back).last().contains("[x|")) << tableCells(back).last().toStdString();
    EXPECT_EQ(plainText(back), plainText(doc));
}

// Rows without their own definition, more cells than defined, and a row left short.
TEST(RtfTables, RowsAndCellsComeAsTheyAreGivenWhateverTheRowDefinitionSays)
{
    QTextDocument doc;
    read(R"({\rtf1\trowd\cellx100\intbl a\cell b\cell\row\intbl c\cell\row\pard after})", doc);
    const QStringList cells = tableCells(doc);
    ASSERT_EQ(cells.size(), 4) << cells.join('\n').toStdString();
    EXPECT_TRUE(cells[1].startsWith("0,1: {L: [b|"));
    EXPECT_TRUE(cells[2].startsWith("1,0: {L: [c|"));
    EXPECT_EQ(cells[3], "1,1: {L:}");
    EXPECT_EQ(doc.lastBlock().text(), "after");
}

// What a word processor installed here reads in an RTF document, as its lines of plain text;
// nullopt when none is installed.
std::optional<QStringList> officeText(const QByteArray& rtf)
{
    QString office = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (office.isEmpty())
        office = QStandardPaths::findExecutable(QStringLiteral("libreoffice"));
    if (office.isEmpty())
        return std::nullopt;
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("documento.rtf")));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(rtf);
    file.close();
    QProcess convert;
    convert.setWorkingDirectory(dir.path());
    convert.start(office, {"--headless", "-env:UserInstallation=file://" + dir.filePath("profile"),
                           "--convert-to", "txt:Text (encoded):UTF8", "--outdir", dir.path(), file.fileName()});
    EXPECT_TRUE(convert.waitForFinished(120000));
    QFile txt(dir.filePath(QStringLiteral("documento.txt")));
    EXPECT_TRUE(txt.open(QIODevice::ReadOnly));
    return QString::fromUtf8(txt.readAll()).remove(QChar(0xFEFF)).split(QRegularExpression("\r?\n"));
}

// A word processor installed here opens what we write as a table: one cell per line of its text.
TEST(RtfTables, AWordProcessorOpensTheWrittenTableAsATable)
{
    QTextDocument doc;
    read(kTable, doc);
    const std::optional<QStringList> lines = officeText(writeRtf(doc));
    if (!lines)
        GTEST_SKIP() << "no word processor installed";
    EXPECT_EQ(lines->mid(0, 12), (QStringList{"Antes", "Item", "Gramas", "Ordem", "Feij\u00E3o", "150", "1",
                                              "Arroz", "integral", "", "2", "Depois"}));
}

// ... and keeps the text after a superscript or a subscript.
TEST(RtfCharacters, AWordProcessorKeepsTheTextAfterRaisedAndLoweredText)
{
    QTextDocument doc;
    read(R"({\rtf1{\fonttbl{\f0 Arial;}{\f1 Arial;}}\f1\fs24 Forma 30 cm\super 2\nosupersub  \'b7 5\~kg\par
H\sub 2\nosupersub O fim\par Depois\par})",
         doc);
    const std::optional<QStringList> lines = officeText(writeRtf(doc));
    if (!lines)
        GTEST_SKIP() << "no word processor installed";
    EXPECT_EQ(lines->mid(0, 3), (QStringList{"Forma 30 cm2 \u00B7 5\u00A0kg", "H2O fim", "Depois"}));
}

TEST(RtfCharacters, RaisedAndLoweredTextIsKeptAsSuperscriptAndSubscript)
{
    QTextDocument doc;
    read(R"({\rtf1{\fonttbl{\f0 Arial;}}a{\up6 b}{\dn4 c}\up6 d\up0 e\super f\nosupersub g})", doc);
    EXPECT_EQ(test::dumpDocument(doc).value(0),
              "L: [a|Arial 12] [b|Arial 12 sup] [c|Arial 12 sub] [d|Arial 12 sup] [e|Arial 12]"
              " [f|Arial 12 sup] [g|Arial 12]");
}

// 60,000 short lists, each its own (numbers start again in each), as a word processor writes them:
// two list definitions and an override per list.
TEST(RtfLists, ThousandsOfListsAreWrittenAtAboutTheirInputSize)
{
    constexpr int kLists = 60000;
    QByteArray input = R"({\rtf1\ansi\deff0{\fonttbl{\f0 Arial;}}
{\*\listtable{\list{\listlevel\levelnfc23{\leveltext\'01\u8226 ?;}}\listid1}
{\list{\listlevel\levelnfc0{\leveltext\'02\'00.;}}\listid2}}
{\*\listoverridetable)";
    for (int i = 1; i <= kLists; ++i)
        input += "{\\listoverride\\listid" + QByteArray::number(2 - i % 2) + "\\listoverridecount0\\ls"
                 + QByteArray::number(i) + "}\n";
    input += "}\n";
    for (int i = 1; i <= kLists; ++i)
        input += "\\pard\\ls" + QByteArray::number(i) + " item " + QByteArray::number(i) + "\\par\n";
    input += "}";

    QTextDocument doc;
    read(input, doc);
    const QByteArray written = writeRtf(doc);
    EXPECT_LT(written.size(), 3 * input.size());
    EXPECT_EQ(written.count("{\\list\\"), 2);
    QTextDocument back;
    read(written, back);
    ASSERT_EQ(back.blockCount(), doc.blockCount());
    const QTextBlock last = back.lastBlock();
    ASSERT_NE(last.textList(), nullptr);
    EXPECT_EQ(last.textList()->itemText(last), "1.");
    EXPECT_NE(last.textList(), last.previous().textList());
    EXPECT_EQ(last.text(), "item 60000");
}

}  // namespace
}  // namespace qmv

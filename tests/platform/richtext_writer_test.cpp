// Writing documents as RTF and reading them back.
#include "platform/plaintext.h"
#include "platform/rtfreader.h"
#include "platform/rtfwriter.h"
#include "tests/platform/richtext_dump.h"

#include <QFile>
#include <QRegularExpression>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <gtest/gtest.h>

namespace qmv {
namespace {

QByteArray sample(const QString& name)
{
    QFile f(QStringLiteral(QMV_RTF_SAMPLES "/") + name);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << name.toStdString();
    return f.readAll();
}

QTextCharFormat format(const QString& family, qreal size)
{
    QTextCharFormat f;
    f.setFontFamilies(QStringList{family});
    f.setFontPointSize(size);
    return f;
}

// A document as the formatting bar makes them: runs of fonts, sizes, styles and colours,
// aligned paragraphs, bullets and numbers, text in several scripts.
void buildDocument(QTextDocument& doc)
{
    QTextCursor c(&doc);
    QTextCharFormat title = format("DejaVu Sans", 16);
    title.setFontWeight(QFont::Bold);
    title.setForeground(QColor(0x12, 0x34, 0x56));
    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    c.setBlockFormat(centred);
    c.insertText("T\u00EDtulo {com} \\chaves\\", title);
    QTextBlockFormat right;
    right.setAlignment(Qt::AlignRight);
    c.insertBlock(right, format("DejaVu Serif", 10.5));
    c.insertText("normal ");
    QTextCharFormat styled = format("DejaVu Serif", 10.5);
    styled.setFontItalic(true);
    styled.setFontUnderline(true);
    styled.setBackground(Qt::yellow);
    c.insertText("it\u00E1lico\tsublinhado", styled);
    c.insertText(QString(" fim") + QChar(QChar::LineSeparator) + "quebra \u20AC \u041F \U0001F600 \u00A0.",
                 format("DejaVu Serif", 10.5));
    c.insertBlock(QTextBlockFormat(), format("DejaVu Sans", 12));
    QTextListFormat bullets;
    bullets.setStyle(QTextListFormat::ListDisc);
    c.createList(bullets);
    c.insertText("primeiro");
    c.insertBlock();
    c.insertText("segundo");
    QTextListFormat numbers;
    numbers.setStyle(QTextListFormat::ListUpperRoman);
    numbers.setIndent(2);
    c.insertBlock();
    c.createList(numbers);
    c.insertText("aninhado");
    c.insertBlock(QTextBlockFormat());
    QTextBlockFormat margins;
    margins.setLeftMargin(40);
    margins.setTextIndent(-10);
    margins.setBottomMargin(8);
    c.insertBlock(margins);
    c.insertText("recuo");
}

TEST(RtfWriter, WritesAsciiOnlyRtfWithTablesEscapesAndBalancedGroups)
{
    QTextDocument doc;
    buildDocument(doc);
    const QByteArray rtf = writeRtf(doc);
    EXPECT_TRUE(rtf.startsWith("{\\rtf1\\ansi\\ansicpg1252\\deff0"));
    EXPECT_TRUE(std::all_of(rtf.begin(), rtf.end(), [](char c) { return c > 0 && c < 0x7F; }));
    for (const char* piece : {"{\\fonttbl", "DejaVu Serif;", "{\\colortbl;\\red18\\green52\\blue86;",
                              "T\\'edtulo \\{com\\} \\\\chaves\\\\", "\\'80", "\\u1055?",
                              "\\u-10179?\\u-8704?", "\\line ", "\\tab ", "\\~", "\\qc", "\\qr",
                              "\\levelnfc23", "\\levelnfc1", "\\ls1\\ilvl0", "\\ls2\\ilvl1", "\\fs21",
                              "\\b", "\\i", "\\ul", "\\highlight", "\\li600\\fi-150", "\\sa120"})
        EXPECT_TRUE(rtf.contains(piece)) << piece;
    int depth = 0;
    for (qsizetype i = 0; i < rtf.size(); ++i) {
        if (rtf[i] == '\\') {
            ++i;
            continue;
        }
        depth += rtf[i] == '{' ? 1 : rtf[i] == '}' ? -1 : 0;
        ASSERT_GE(depth, 0);
    }
    EXPECT_EQ(depth, 0);
}

TEST(RtfWriter, ReadingWhatItWroteGivesTheSameDocument)
{
    QTextDocument doc;
    buildDocument(doc);
    QTextDocument back;
    readRtf(writeRtf(doc), back);
    EXPECT_EQ(plainText(back), plainText(doc));
    const QStringList lines = test::dumpDocument(back);
    const QStringList expected = {
        "C: [T\u00EDtulo {com} \\chaves\\|DejaVu Sans 16 b fg#123456]",
        "R: [normal |DejaVu Serif 10.5] [it\u00E1lico\tsublinhado|DejaVu Serif 10.5 i u bg#ffff00]"
        " [ fim\u2028quebra \u20AC \u041F \U0001F600 \u00A0.|DejaVu Serif 10.5]",
        "L list1/1: [primeiro|DejaVu Sans 12]",
        "L list1/1: [segundo|DejaVu Sans 12]",
        "L list8/2: [aninhado|DejaVu Sans 12]",
        "L:",
        "L m40,0,-10 v0,8: [recuo|DejaVu Sans 12]",
    };
    EXPECT_EQ(lines, expected);
    EXPECT_EQ(writeRtf(back), writeRtf(doc));
}

// Every \super or \sub is ended (its group closed, or \nosupersub) before the next \plain:
// word processors that miss the end drop the text after it.
bool raisedRunsAreClosed(const QByteArray& rtf)
{
    static const QRegularExpression raised(QStringLiteral(R"(\\(super|sub)(?![a-z]))"));
    const QString text = QString::fromLatin1(rtf);
    for (auto it = raised.globalMatch(text); it.hasNext();) {
        const qsizetype from = it.next().capturedEnd();
        const qsizetype plain = text.indexOf(QStringLiteral("\\plain"), from);
        const qsizetype group = text.indexOf(QLatin1Char('}'), from);
        const qsizetype ended = text.indexOf(QStringLiteral("\\nosupersub"), from);
        const qsizetype end = std::min(group < 0 ? text.size() : group, ended < 0 ? text.size() : ended);
        if (plain >= 0 && plain < end)
            return false;
    }
    return true;
}

TEST(RtfWriter, SuperscriptAndSubscriptRunsAreClosedAndTheTextAfterThemIsKept)
{
    QTextDocument doc;
    QTextCursor c(&doc);
    const QTextCharFormat plain = format("DejaVu Sans", 12);
    QTextCharFormat sup = plain;
    sup.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    QTextCharFormat sub = plain;
    sub.setVerticalAlignment(QTextCharFormat::AlignSubScript);
    c.insertText("Forma 30 cm", plain);
    c.insertText("2", sup);
    c.insertText(" \u00B7 5\u00A0kg", plain);
    c.insertBlock();
    c.insertText("CO", plain);
    c.insertText("2", sub);
    c.insertText("3", sup);
    c.insertText(" fim", plain);
    const QByteArray rtf = writeRtf(doc);
    EXPECT_TRUE(raisedRunsAreClosed(rtf)) << rtf.constData();
    QTextDocument back;
    readRtf(rtf, back);
    EXPECT_EQ(test::dumpDocument(back),
              (QStringList{"L: [Forma 30 cm|DejaVu Sans 12] [2|DejaVu Sans 12 sup] [ \u00B7 5\u00A0kg|DejaVu Sans 12]",
                           "L: [CO|DejaVu Sans 12] [2|DejaVu Sans 12 sub] [3|DejaVu Sans 12 sup] [ fim|DejaVu Sans 12]"}));
}

TEST(RtfWriter, RoundTripsOfTheSamplesAreStable)
{
    for (const char* name : {"lists_table_picture.rtf", "legacy_numbering.rtf", "plain_editor.rtf"}) {
        QTextDocument first;
        readRtf(sample(name), first);
        const QByteArray written = writeRtf(first);
        QTextDocument second;
        readRtf(written, second);
        EXPECT_EQ(test::dumpDocument(second), test::dumpDocument(first)) << name;
        EXPECT_EQ(writeRtf(second), written) << name;
    }
}

TEST(RtfWriter, KeepsEmptyParagraphsAndUnformattedText)
{
    QTextDocument doc;
    doc.setPlainText("a\n\n\nb\n");
    QTextDocument back;
    readRtf(writeRtf(doc), back);
    EXPECT_EQ(back.blockCount(), 5);
    EXPECT_EQ(back.toPlainText(), "a\n\n\nb\n");
    // Text without its own font takes the document's default font.
    EXPECT_EQ(back.begin().begin().fragment().charFormat().fontFamilies().toStringList(),
              QStringList{doc.defaultFont().family()});

    QTextDocument empty;
    QTextDocument emptyBack;
    readRtf(writeRtf(empty), emptyBack);
    EXPECT_TRUE(emptyBack.isEmpty());
    EXPECT_EQ(emptyBack.blockCount(), 1);
}

TEST(RtfWriter, WritesListItemTextForReadersWithoutLists)
{
    QTextDocument doc;
    QTextCursor c(&doc);
    QTextListFormat decimal;
    decimal.setStyle(QTextListFormat::ListDecimal);
    c.createList(decimal);
    c.insertText("um");
    c.insertBlock();
    c.insertText("dois");
    const QByteArray rtf = writeRtf(doc);
    EXPECT_TRUE(rtf.contains("{\\listtext\\plain\\f0\\fs")) << rtf.constData();
    EXPECT_TRUE(rtf.contains(" 2.\\tab}dois"));
    EXPECT_EQ(plainTextOfRtf(rtf), "um\ndois");
}

}  // namespace
}  // namespace qmv

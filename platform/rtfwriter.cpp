#include "platform/rtfwriter.h"

#include "platform/rtfcodepage.h"
#include "platform/rtfqtliststyle.h"

#include <QColor>
#include <QFont>
#include <QHash>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextList>
#include <QTextTable>
#include <QVector>
#include <algorithm>
#include <cmath>

namespace qmv {
namespace {

constexpr double kTwipsPerPixel = 15.0;
constexpr int kLevels = 9;
constexpr int kTableTwips = 9000;  // the width of a table whose columns have no width of their own

QByteArray number(qint64 n) { return QByteArray::number(n); }

int twips(qreal pixels) { return static_cast<int>(std::lround(pixels * kTwipsPerPixel)); }

bool raisedOrLowered(const QTextCharFormat& format)
{
    return format.verticalAlignment() == QTextCharFormat::AlignSuperScript
           || format.verticalAlignment() == QTextCharFormat::AlignSubScript;
}

class RtfWriter {
public:
    explicit RtfWriter(const QTextDocument& document) : doc_(document) {}
    QByteArray write();

private:
    void collect();
    void header();
    void fontTable();
    void colorTable();
    void listTables();
    void listLevel(QTextListFormat::Style style, int level);
    void frame(QTextFrame::iterator it, bool topLevel);
    void table(const QTextTable& table);
    void rowDefinition(const QTextTable& table);
    void cell(const QTextTableCell& cell);
    void block(const QTextBlock& block, const char* end = "\\par\n", bool inTable = false);
    void paragraphProps(const QTextBlock& block);
    void listText(const QTextBlock& block);
    void charProps(const QTextCharFormat& format);
    void raisedRun(const QTextCharFormat& format, const QString& text);
    void text(const QString& text);
    QByteArray propsOf(const QTextCharFormat& format);
    QFont resolved(const QTextCharFormat& format) const;
    int fontIndex(const QString& family);
    int colorIndex(const QColor& color);

    const QTextDocument& doc_;
    QByteArray out_;
    QByteArray lastProps_;
    QStringList fonts_;
    QVector<QColor> colors_;
    QVector<QTextList*> lists_;
    QHash<const QTextList*, int> listNumbers_;      // each list's \ls, from 1
    QVector<QTextListFormat::Style> listStyles_;  // one list definition per style
};

QByteArray RtfWriter::write()
{
    collect();
    header();
    frame(doc_.rootFrame()->begin(), true);
    out_ += "}\n";
    return out_;
}

// Fonts, colours and lists are numbered in order of first use, the default font first.
void RtfWriter::collect()
{
    fonts_.append(resolved(QTextCharFormat()).family());
    for (QTextBlock b = doc_.begin(); b.isValid(); b = b.next()) {
        if (QTextList* list = b.textList(); list && !listNumbers_.contains(list)) {
            lists_.append(list);
            listNumbers_.insert(list, static_cast<int>(lists_.size()));
            if (!listStyles_.contains(list->format().style()))
                listStyles_.append(list->format().style());
        }
        propsOf(b.charFormat());
        for (auto it = b.begin(); !it.atEnd(); ++it)
            propsOf(it.fragment().charFormat());
    }
}

void RtfWriter::header()
{
    out_ += "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1\n";
    fontTable();
    colorTable();
    listTables();
    out_ += "\\viewkind4\n";
}

void RtfWriter::fontTable()
{
    out_ += "{\\fonttbl";
    for (int i = 0; i < fonts_.size(); ++i) {
        out_ += "{\\f" + number(i) + "\\fnil\\fcharset0 ";
        text(fonts_[i]);
        out_ += ";}";
    }
    out_ += "}\n";
}

void RtfWriter::colorTable()
{
    out_ += "{\\colortbl;";
    for (const QColor& c : colors_)
        out_ += "\\red" + number(c.red()) + "\\green" + number(c.green()) + "\\blue"
                + number(c.blue()) + ';';
    out_ += "}\n";
}

// One list definition per list style, its style at every level; each list of the document is an
// override of its style's definition (a numbered one starting again at 1), so thousands of lists
// cost a line each.
void RtfWriter::listTables()
{
    if (lists_.isEmpty())
        return;
    out_ += "{\\*\\listtable\n";
    for (int i = 0; i < listStyles_.size(); ++i) {
        out_ += "{\\list\\listtemplateid" + number(i + 1);
        for (int level = 0; level < kLevels; ++level)
            listLevel(listStyles_[i], level);
        out_ += "{\\listname ;}\\listid" + number(i + 1) + "}\n";
    }
    out_ += "}\n{\\*\\listoverridetable\n";
    for (int i = 0; i < lists_.size(); ++i) {
        const QTextListFormat::Style style = lists_[i]->format().style();
        out_ += "{\\listoverride\\listid" + number(listStyles_.indexOf(style) + 1);
        if (RtfListTable::numberFormatOf(rtfListStyle(style)) != 23)
            out_ += "\\listoverridecount1{\\lfolevel\\listoverridestartat\\levelstartat1}";
        else
            out_ += "\\listoverridecount0";
        out_ += "\\ls" + number(i + 1) + "}\n";
    }
    out_ += "}\n";
}

void RtfWriter::listLevel(QTextListFormat::Style style, int level)
{
    const int nfc = RtfListTable::numberFormatOf(rtfListStyle(style));
    out_ += "{\\listlevel\\levelnfc" + number(nfc) + "\\levelnfcn" + number(nfc)
            + "\\leveljc0\\leveljcn0\\levelfollow0\\levelstartat1{\\leveltext";
    if (nfc != 23)
        out_ += "\\'02\\'0" + number(level) + ".;}{\\levelnumbers\\'01;}";
    else if (style == QTextListFormat::ListCircle)
        out_ += "\\'01o;}{\\levelnumbers;}";
    else if (style == QTextListFormat::ListSquare)
        out_ += "\\'01\\u9642 ?;}{\\levelnumbers;}";
    else
        out_ += "\\'01\\u8226 ?;}{\\levelnumbers;}";
    out_ += "\\fi-360\\li" + number(720 * (level + 1)) + "}\n";
}

// The paragraphs and tables of a frame in order. A table stands where it is; the empty paragraphs
// that a document keeps around a table at its very start or end are not written.
void RtfWriter::frame(QTextFrame::iterator it, bool topLevel)
{
    for (; !it.atEnd(); ++it) {
        if (QTextFrame* child = it.currentFrame()) {
            if (auto* t = qobject_cast<QTextTable*>(child))
                table(*t);
            else
                frame(child->begin(), false);
            continue;
        }
        const QTextBlock b = it.currentBlock();
        if (topLevel && b.length() <= 1 && !b.textList()) {
            QTextFrame::iterator next = it;
            ++next;
            const bool first = it == doc_.rootFrame()->begin();
            const bool tableAfter = !next.atEnd() && qobject_cast<QTextTable*>(next.currentFrame());
            const bool last = next.atEnd();
            QTextFrame::iterator previous = it;
            const bool tableBefore = !first && qobject_cast<QTextTable*>((--previous).currentFrame());
            if ((first && tableAfter) || (last && tableBefore))
                continue;
        }
        block(b);
    }
}

// Each row repeats its definition: cell boundaries and single-line borders, so word processors
// show the table as it looks here.
void RtfWriter::table(const QTextTable& t)
{
    for (int row = 0; row < t.rows(); ++row) {
        rowDefinition(t);
        for (int column = 0; column < t.columns(); ++column) {
            const QTextTableCell c = t.cellAt(row, column);
            if (c.row() == row && c.column() == column)
                cell(c);
            else
                out_ += "\\pard\\intbl \\cell\n";  // covered by a merged cell
        }
        out_ += "\\row\n";
    }
}

void RtfWriter::rowDefinition(const QTextTable& t)
{
    out_ += "\\trowd\\trgaph70\\trleft0";
    const QVector<QTextLength> widths = t.format().columnWidthConstraints();
    const int columns = t.columns();
    int right = 0;
    for (int column = 0; column < columns; ++column) {
        const QTextLength width = widths.value(column);
        int w = kTableTwips / columns;
        if (width.type() == QTextLength::FixedLength && width.rawValue() > 0)
            w = twips(width.rawValue());
        else if (width.type() == QTextLength::PercentageLength && width.rawValue() > 0)
            w = static_cast<int>(std::lround(kTableTwips * width.rawValue() / 100));
        right += std::max(w, 1);
        out_ += "\\clbrdrt\\brdrs\\brdrw10\\clbrdrl\\brdrs\\brdrw10\\clbrdrb\\brdrs\\brdrw10"
                "\\clbrdrr\\brdrs\\brdrw10\\cellx" + number(right);
    }
    out_ += '\n';
}

// A cell's paragraphs, the last one ended by \cell; a table inside a cell gives its paragraphs.
void RtfWriter::cell(const QTextTableCell& c)
{
    QVector<QTextBlock> blocks;
    for (QTextFrame::iterator it = c.begin(); !it.atEnd(); ++it) {
        if (QTextFrame* inner = it.currentFrame()) {
            for (QTextBlock b = inner->firstCursorPosition().block();
                 b.isValid() && b.position() < inner->lastPosition(); b = b.next())
                blocks.append(b);
        } else {
            blocks.append(it.currentBlock());
        }
    }
    for (qsizetype i = 0; i < blocks.size(); ++i)
        block(blocks[i], i + 1 == blocks.size() ? "\\cell\n" : "\\par\n", true);
}

void RtfWriter::block(const QTextBlock& b, const char* end, bool inTable)
{
    paragraphProps(b);
    if (inTable)
        out_ += "\\intbl";
    out_ += ' ';
    if (b.textList())
        listText(b);
    for (auto it = b.begin(); !it.atEnd(); ++it) {
        const QTextCharFormat format = it.fragment().charFormat();
        if (raisedOrLowered(format)) {
            raisedRun(format, it.fragment().text());
            continue;
        }
        charProps(format);
        text(it.fragment().text());
    }
    if (b.length() <= 1) {
        QTextCharFormat mark = b.charFormat();
        mark.setVerticalAlignment(QTextCharFormat::AlignNormal);
        charProps(mark);
    }
    out_ += end;
}

void RtfWriter::paragraphProps(const QTextBlock& b)
{
    const QTextBlockFormat f = b.blockFormat();
    out_ += "\\pard";
    const Qt::Alignment align = f.alignment() & Qt::AlignHorizontal_Mask;
    out_ += align & Qt::AlignJustify   ? "\\qj"
            : align & Qt::AlignHCenter ? "\\qc"
            : align & Qt::AlignRight   ? "\\qr"
                                       : "\\ql";
    if (int v = twips(f.topMargin()))
        out_ += "\\sb" + number(v);
    if (int v = twips(f.bottomMargin()))
        out_ += "\\sa" + number(v);
    if (QTextList* list = b.textList()) {
        const int level = std::clamp(list->format().indent(), 1, kLevels) - 1;
        out_ += "\\ls" + number(listNumbers_.value(list)) + "\\ilvl" + number(level)
                + "\\fi-360\\li" + number(720 * (level + 1));
        return;
    }
    if (int v = twips(f.leftMargin()))
        out_ += "\\li" + number(v);
    if (int v = twips(f.rightMargin()))
        out_ += "\\ri" + number(v);
    if (int v = twips(f.textIndent()))
        out_ += "\\fi" + number(v);
}

// The number or bullet as text, for readers that show no lists.
void RtfWriter::listText(const QTextBlock& b)
{
    const QTextListFormat::Style style = b.textList()->format().style();
    QString item = b.textList()->itemText(b);
    if (style == QTextListFormat::ListCircle)
        item = QStringLiteral("o");
    else if (style == QTextListFormat::ListSquare)
        item = QString(QChar(0x25AA));
    else if (RtfListTable::numberFormatOf(rtfListStyle(style)) == 23)
        item = QString(QChar(0x2022));
    // The number takes the look of the paragraph's first character, as word processors show it.
    const QTextCharFormat look = b.begin().atEnd() ? b.charFormat() : b.begin().fragment().charFormat();
    out_ += "{\\listtext" + propsOf(look) + ' ';
    text(item);
    out_ += "\\tab}";
}

void RtfWriter::charProps(const QTextCharFormat& format)
{
    const QByteArray props = propsOf(format);
    if (props == lastProps_)
        return;
    out_ += props + ' ';
    lastProps_ = props;
}

// A superscript or subscript run is a group of its own: some word processors otherwise take
// everything after it, to the end of the paragraph, as part of it and drop it.
void RtfWriter::raisedRun(const QTextCharFormat& format, const QString& s)
{
    out_ += '{' + propsOf(format) + ' ';
    text(s);
    out_ += '}';
}

QByteArray RtfWriter::propsOf(const QTextCharFormat& format)
{
    const QFont font = resolved(format);
    qreal points = font.pointSizeF();
    if (points <= 0)
        points = font.pixelSize() > 0 ? font.pixelSize() * 0.75 : 12.0;
    QByteArray p = "\\plain\\f" + number(fontIndex(font.family())) + "\\fs"
                   + number(std::max<qint64>(2, std::lround(points * 2)));
    if (font.weight() >= QFont::DemiBold)
        p += "\\b";
    if (font.italic())
        p += "\\i";
    if (format.fontUnderline())
        p += "\\ul";
    if (font.strikeOut())
        p += "\\strike";
    if (format.hasProperty(QTextFormat::ForegroundBrush) && format.foreground().style() != Qt::NoBrush)
        p += "\\cf" + number(colorIndex(format.foreground().color()));
    if (format.hasProperty(QTextFormat::BackgroundBrush) && format.background().style() != Qt::NoBrush)
        p += "\\highlight" + number(colorIndex(format.background().color()));
    if (format.verticalAlignment() == QTextCharFormat::AlignSuperScript)
        p += "\\super";
    else if (format.verticalAlignment() == QTextCharFormat::AlignSubScript)
        p += "\\sub";
    return p;
}

QFont RtfWriter::resolved(const QTextCharFormat& format) const
{
    return format.font().resolve(doc_.defaultFont());
}

int RtfWriter::fontIndex(const QString& family)
{
    qsizetype i = fonts_.indexOf(family);
    if (i < 0) {
        fonts_.append(family);
        i = fonts_.size() - 1;
    }
    return static_cast<int>(i);
}

int RtfWriter::colorIndex(const QColor& color)
{
    const QColor rgb = color.toRgb();
    for (qsizetype i = 0; i < colors_.size(); ++i)
        if (colors_[i].rgb() == rgb.rgb())
            return static_cast<int>(i + 1);
    colors_.append(rgb);
    return static_cast<int>(colors_.size());
}

void RtfWriter::text(const QString& s)
{
    for (QChar c : s) {
        const char16_t u = c.unicode();
        if (u == '\\' || u == '{' || u == '}') {
            out_ += '\\';
            out_ += static_cast<char>(u);
        } else if (u >= 0x20 && u < 0x7F) {
            out_ += static_cast<char>(u);
        } else if (u == '\t') {
            out_ += "\\tab ";
        } else if (u == QChar::LineSeparator || u == '\n') {
            out_ += "\\line ";
        } else if (u == 0x00A0) {
            out_ += "\\~";
        } else if (u == 0x00AD) {
            out_ += "\\-";
        } else if (u == 0x2011) {
            out_ += "\\_";
        } else if (u < 0x20 || u == QChar::ObjectReplacementCharacter || u == QChar::ParagraphSeparator) {
            continue;
        } else if (const auto b = toWindows1252(c); b && static_cast<unsigned char>(*b) >= 0x80) {
            out_ += "\\'" + QByteArray::number(static_cast<unsigned char>(*b), 16);
        } else {
            out_ += "\\u" + number(static_cast<qint16>(u)) + '?';
        }
    }
}

}  // namespace

QByteArray writeRtf(const QTextDocument& document) { return RtfWriter(document).write(); }

}  // namespace qmv

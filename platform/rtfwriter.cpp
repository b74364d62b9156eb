#include "platform/rtfwriter.h"

#include "platform/rtfcodepage.h"
#include "platform/rtflisttable.h"

#include <QColor>
#include <QFont>
#include <QHash>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextList>
#include <QVector>
#include <algorithm>
#include <cmath>

namespace qmv {
namespace {

constexpr double kTwipsPerPixel = 15.0;
constexpr int kLevels = 9;

QByteArray number(qint64 n) { return QByteArray::number(n); }

int twips(qreal pixels) { return static_cast<int>(std::lround(pixels * kTwipsPerPixel)); }

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
    void block(const QTextBlock& block);
    void paragraphProps(const QTextBlock& block);
    void listText(const QTextBlock& block);
    void charProps(const QTextCharFormat& format);
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
};

QByteArray RtfWriter::write()
{
    collect();
    header();
    for (QTextBlock b = doc_.begin(); b.isValid(); b = b.next())
        block(b);
    out_ += "}\n";
    return out_;
}

// Fonts, colours and lists are numbered in order of first use, the default font first.
void RtfWriter::collect()
{
    fonts_.append(resolved(QTextCharFormat()).family());
    for (QTextBlock b = doc_.begin(); b.isValid(); b = b.next()) {
        if (QTextList* list = b.textList(); list && !lists_.contains(list))
            lists_.append(list);
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

// One list definition per list of the document, its style at every level, and one override each.
void RtfWriter::listTables()
{
    if (lists_.isEmpty())
        return;
    out_ += "{\\*\\listtable\n";
    for (int i = 0; i < lists_.size(); ++i) {
        out_ += "{\\list\\listtemplateid" + number(i + 1);
        for (int level = 0; level < kLevels; ++level)
            listLevel(lists_[i]->format().style(), level);
        out_ += "{\\listname ;}\\listid" + number(i + 1) + "}\n";
    }
    out_ += "}\n{\\*\\listoverridetable";
    for (int i = 0; i < lists_.size(); ++i)
        out_ += "{\\listoverride\\listid" + number(i + 1) + "\\listoverridecount0\\ls"
                + number(i + 1) + '}';
    out_ += "}\n";
}

void RtfWriter::listLevel(QTextListFormat::Style style, int level)
{
    const int nfc = RtfListTable::numberFormatOf(style);
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

void RtfWriter::block(const QTextBlock& b)
{
    paragraphProps(b);
    out_ += ' ';
    if (b.textList())
        listText(b);
    for (auto it = b.begin(); !it.atEnd(); ++it) {
        charProps(it.fragment().charFormat());
        text(it.fragment().text());
    }
    if (b.length() <= 1)
        charProps(b.charFormat());
    out_ += "\\par\n";
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
        out_ += "\\ls" + number(lists_.indexOf(list) + 1) + "\\ilvl" + number(level)
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
    else if (RtfListTable::numberFormatOf(style) == 23)
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

#include "platform/rtfhtml.h"

#include "platform/rtfparser.h"

#include <QHash>
#include <optional>
#include <vector>

namespace qmv {

using namespace Qt::StringLiterals;

namespace {

constexpr int kTwipsPerPixel = 15;

struct Run {
    QString text;
    RtfCharFormat format;
};

struct Para {
    RtfParaFormat format;
    std::optional<RtfListItem> item;
    QVector<Run> runs;
    int tableAfter = -1;  // index of the table that follows this paragraph
};

struct Cell {
    QVector<Para> paras{Para{}};
};

struct Table {
    QVector<QVector<Cell>> rows;
    QVector<int> widths;
};

}  // namespace

QString htmlEscaped(const QString& text)
{
    QString out;
    out.reserve(text.size() + text.size() / 8);
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'&': out += u"&amp;"_s; break;
        case u'<': out += u"&lt;"_s; break;
        case u'>': out += u"&gt;"_s; break;
        case u'"': out += u"&quot;"_s; break;
        case u'\'': out += u"&#39;"_s; break;
        case QChar::LineSeparator: out += u"<br>"_s; break;
        default: out += c;
        }
    }
    return out;
}

namespace {

// A CSS string in which only ASCII letters, digits and blanks stand for themselves.
QString cssString(const QString& text)
{
    QString out = QStringLiteral("'");
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if ((u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u == ' ')
            out += c;
        else
            out += u'\\' + QString::number(u, 16) + u' ';
    }
    return out + u'\'';
}

QString rgb(const RtfColor& c)
{
    return QStringLiteral("rgb(%1,%2,%3)").arg(c.red).arg(c.green).arg(c.blue);
}

QString px(int twips) { return QString::number(twips / kTwipsPerPixel) + u"px"_s; }

QString runStyle(const RtfCharFormat& f)
{
    QString style;
    if (!f.font.isEmpty())
        style += u"font-family:"_s + cssString(f.font) + u';';
    if (f.points != 12)
        style += u"font-size:"_s + QString::number(f.points / 12, 'f', 2) + u"em;"_s;
    if (f.color)
        style += u"color:"_s + rgb(*f.color) + u';';
    if (f.background)
        style += u"background-color:"_s + rgb(*f.background) + u';';
    return style;
}

QString paraStyle(const RtfParaFormat& p)
{
    static const char* const kAlign[] = {"", "center", "right", "justify"};
    QString style;
    if (p.align > 0 && p.align < 4)
        style += QStringLiteral("text-align:") + QLatin1String(kAlign[p.align]) + u';';
    if (p.before)
        style += u"margin-top:"_s + px(p.before) + u';';
    if (p.after)
        style += u"margin-bottom:"_s + px(p.after) + u';';
    if (!p.listed) {
        if (p.left)
            style += u"margin-left:"_s + px(p.left) + u';';
        if (p.right)
            style += u"margin-right:"_s + px(p.right) + u';';
        if (p.first)
            style += u"text-indent:"_s + px(p.first) + u';';
    }
    return style;
}

QString styleAttribute(const QString& style)
{
    return style.isEmpty() ? QString() : u" style=\""_s + style + u'"';
}

QString listStyleType(RtfListStyle style)
{
    switch (style) {
    case RtfListStyle::Circle: return QStringLiteral("circle");
    case RtfListStyle::Square: return QStringLiteral("square");
    case RtfListStyle::Decimal: return QStringLiteral("decimal");
    case RtfListStyle::LowerAlpha: return QStringLiteral("lower-alpha");
    case RtfListStyle::UpperAlpha: return QStringLiteral("upper-alpha");
    case RtfListStyle::LowerRoman: return QStringLiteral("lower-roman");
    case RtfListStyle::UpperRoman: return QStringLiteral("upper-roman");
    default: return QStringLiteral("disc");
    }
}

bool numbered(RtfListStyle style)
{
    return style != RtfListStyle::Disc && style != RtfListStyle::Circle && style != RtfListStyle::Square;
}

// Collects the document as the parse builds it, then writes it out.
class HtmlBuilder final : public RtfBuilder {
public:
    void insertText(const QString& text, const RtfCharFormat& format) override
    {
        QVector<Run>& runs = current().runs;
        if (!runs.isEmpty() && runs.last().format == format)
            runs.last().text += text;
        else
            runs.append(Run{text, format});
    }
    void insertParagraph(const RtfCharFormat&) override { container().insert(++para_, Para{}); }
    void setParagraphFormat(const RtfParaFormat& format) override
    {
        current().format = format;
        current().item.reset();
    }
    void setParagraphCharFormat(const RtfCharFormat&) override {}
    void addToList(const RtfListItem& item) override { current().item = item; }
    void insertTable(int columns, const QVector<int>& widths) override
    {
        owner_ = para_;
        current().tableAfter = int(tables_.size());
        tables_.push_back(Table{{QVector<Cell>(columns)}, widths});
        table_ = int(tables_.size()) - 1;
    }
    void appendRow() override { tables_[table_].rows.append(QVector<Cell>(tables_[table_].rows[0].size())); }
    void appendColumn() override
    {
        for (QVector<Cell>& row : tables_[table_].rows)
            row.append(Cell{});
    }
    void moveToCell(int row, int column) override
    {
        row_ = row;
        column_ = column;
        para_ = 0;
    }
    void leaveTable() override
    {
        table_ = -1;
        para_ = owner_ + 1;
        top_.insert(para_, Para{});
    }

    QString html() const
    {
        QString out;
        writeParagraphs(top_, out);
        return out;
    }

private:
    QVector<Para>& container() { return table_ < 0 ? top_ : tables_[table_].rows[row_][column_].paras; }
    Para& current() { return container()[para_]; }

    void writeParagraphs(const QVector<Para>& paras, QString& out) const;
    void writeTable(const Table& table, QString& out) const;
    static void writeRuns(const QVector<Run>& runs, QString& out);

    QVector<Para> top_{Para{}};
    std::vector<Table> tables_;
    int table_ = -1, row_ = 0, column_ = 0, para_ = 0, owner_ = 0;
};

void HtmlBuilder::writeParagraphs(const QVector<Para>& paras, QString& out) const
{
    QString openList;  // the list whose items are being written
    bool ordered = false;
    QHash<QString, int> counts;  // items written per numbered list, so an interrupted list goes on
    auto closeList = [&] {
        if (!openList.isEmpty())
            out += ordered ? u"</ol>"_s : u"</ul>"_s;
        openList.clear();
    };
    for (qsizetype i = 0; i < paras.size(); ++i) {
        const Para& p = paras[i];
        const bool lastEmpty = i == paras.size() - 1 && p.runs.isEmpty() && i > 0;
        const bool beforeTable = p.tableAfter >= 0 && p.runs.isEmpty();  // the table takes its place
        if (!p.item || lastEmpty || beforeTable) {
            closeList();
            if (!lastEmpty && !beforeTable) {
                out += u"<p"_s + styleAttribute(paraStyle(p.format)) + u'>';
                writeRuns(p.runs, out);
                out += p.runs.isEmpty() ? u"<br></p>"_s : u"</p>"_s;
            }
        } else {
            if (openList != p.item->list) {
                closeList();
                openList = p.item->list;
                ordered = numbered(p.item->style);
                QString style = u"list-style-type:"_s + listStyleType(p.item->style) + u';';
                if (p.item->level > 0)
                    style += u"margin-left:"_s + QString::number(p.item->level * 2) + u"em;"_s;
                const int start = counts.value(openList) + 1;
                out += (ordered ? u"<ol"_s : u"<ul"_s) + styleAttribute(style)
                       + (ordered && start > 1 ? QStringLiteral(" start=\"%1\"").arg(start) : QString()) + u'>';
            }
            ++counts[openList];
            out += u"<li"_s + styleAttribute(paraStyle(p.format)) + u'>';
            writeRuns(p.runs, out);
            out += u"</li>"_s;
        }
        if (p.tableAfter >= 0) {
            closeList();
            writeTable(tables_[size_t(p.tableAfter)], out);
        }
    }
    closeList();
}

void HtmlBuilder::writeTable(const Table& table, QString& out) const
{
    out += u"<table>"_s;
    if (!table.widths.isEmpty() && table.widths.size() == table.rows[0].size()) {
        out += u"<colgroup>"_s;
        for (const int twips : table.widths)
            out += u"<col style=\"width:"_s + px(twips) + u"\">"_s;
        out += u"</colgroup>"_s;
    }
    for (const QVector<Cell>& row : table.rows) {
        out += u"<tr>"_s;
        for (const Cell& cell : row) {
            out += u"<td>"_s;
            writeParagraphs(cell.paras, out);
            out += u"</td>"_s;
        }
        out += u"</tr>"_s;
    }
    out += u"</table>"_s;
}

void HtmlBuilder::writeRuns(const QVector<Run>& runs, QString& out)
{
    for (const Run& run : runs) {
        const RtfCharFormat& f = run.format;
        const QString style = runStyle(f);
        QString open, close;
        auto tag = [&](bool on, const QString& name) {
            if (!on)
                return;
            open += u'<' + name + u'>';
            close.prepend(u"</"_s + name + u'>');
        };
        tag(f.bold, u"b"_s);
        tag(f.italic, u"i"_s);
        tag(f.underline, u"u"_s);
        tag(f.strike, u"s"_s);
        tag(f.vertical > 0, u"sup"_s);
        tag(f.vertical < 0, u"sub"_s);
        if (!style.isEmpty()) {
            open += u"<span style=\""_s + style + u"\">"_s;
            close.prepend(u"</span>"_s);
        }
        out += open + htmlEscaped(run.text) + close;
    }
}

QString plainHtml(const QByteArray& stored)
{
    QString out;
    for (const QString& line : plainTextLines(stored).split(u'\n'))
        out += line.isEmpty() ? QStringLiteral("<p><br></p>") : u"<p>"_s + htmlEscaped(line) + u"</p>"_s;
    return out;
}

}  // namespace

QString rtfToHtml(const QByteArray& stored)
{
    if (!looksLikeRtf(stored))
        return stored.isEmpty() ? QString() : plainHtml(stored);
    HtmlBuilder builder;
    parseRtf(stored, builder);
    return builder.html();
}

}  // namespace qmv

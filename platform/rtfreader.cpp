#include "platform/rtfreader.h"

#include "platform/rtfqtliststyle.h"

#include <QColor>
#include <QHash>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <QTextTable>

namespace qmv {
namespace {

constexpr double kTwipsPerPixel = 15.0;

// Builds with a text cursor, in one edit block.
class DocumentBuilder final : public RtfBuilder {
public:
    explicit DocumentBuilder(QTextDocument& document) : cursor_(&document) { cursor_.beginEditBlock(); }
    void done() { cursor_.endEditBlock(); }

    void insertText(const QString& text, const RtfCharFormat& format) override
    {
        cursor_.insertText(text, qtFormat(format));
    }
    void insertParagraph(const RtfCharFormat& format) override
    {
        cursor_.insertBlock(QTextBlockFormat(), qtFormat(format));
    }
    void setParagraphFormat(const RtfParaFormat& format) override;
    void setParagraphCharFormat(const RtfCharFormat& format) override
    {
        cursor_.setBlockCharFormat(qtFormat(format));
    }
    void addToList(const RtfListItem& item) override;
    void insertTable(int columns, const QVector<int>& widths) override;
    void appendRow() override { table_->appendRows(1); }
    void appendColumn() override { table_->appendColumns(1); }
    void moveToCell(int row, int column) override { cursor_ = table_->cellAt(row, column).firstCursorPosition(); }
    void leaveTable() override
    {
        cursor_ = table_->lastCursorPosition();
        cursor_.movePosition(QTextCursor::NextBlock);
        table_ = nullptr;
    }

private:
    QTextCharFormat qtFormat(const RtfCharFormat& format);

    QTextCursor cursor_;
    QTextTable* table_ = nullptr;
    QHash<QString, QTextList*> lists_;
    RtfCharFormat cachedFrom_;
    QTextCharFormat cachedFormat_;
    bool cacheValid_ = false;
};

QTextCharFormat DocumentBuilder::qtFormat(const RtfCharFormat& s)
{
    if (cacheValid_ && cachedFrom_ == s)
        return cachedFormat_;
    QTextCharFormat f;
    if (!s.font.isEmpty())
        f.setFontFamilies(QStringList{s.font});
    f.setFontPointSize(s.points);
    if (s.bold)
        f.setFontWeight(QFont::Bold);
    if (s.italic)
        f.setFontItalic(true);
    if (s.underline)
        f.setFontUnderline(true);
    if (s.strike)
        f.setFontStrikeOut(true);
    if (s.color)
        f.setForeground(QColor(s.color->red, s.color->green, s.color->blue));
    if (s.background)
        f.setBackground(QColor(s.background->red, s.background->green, s.background->blue));
    if (s.vertical != 0)
        f.setVerticalAlignment(s.vertical > 0 ? QTextCharFormat::AlignSuperScript
                                              : QTextCharFormat::AlignSubScript);
    cachedFrom_ = s;
    cachedFormat_ = f;
    cacheValid_ = true;
    return f;
}

void DocumentBuilder::setParagraphFormat(const RtfParaFormat& p)
{
    QTextBlockFormat f;
    static constexpr Qt::Alignment kAlign[] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight,
                                               Qt::AlignJustify};
    if (p.align != 0)
        f.setAlignment(kAlign[p.align]);
    if (p.before)
        f.setTopMargin(p.before / kTwipsPerPixel);
    if (p.after)
        f.setBottomMargin(p.after / kTwipsPerPixel);
    if (!p.listed) {
        if (p.left)
            f.setLeftMargin(p.left / kTwipsPerPixel);
        if (p.right)
            f.setRightMargin(p.right / kTwipsPerPixel);
        if (p.first)
            f.setTextIndent(p.first / kTwipsPerPixel);
        // A hanging indent's tab ("1.\tTexto") stops at the indent, as in word processors; Qt's next
        // default stop would leave a wide gap. Qt measures stops from the line's start.
        if (p.first < 0 && p.left + p.first >= 0)
            f.setTabPositions({QTextOption::Tab(-p.first / kTwipsPerPixel, QTextOption::LeftTab)});
    }
    cursor_.setBlockFormat(f);
}

void DocumentBuilder::addToList(const RtfListItem& item)
{
    if (QTextList* list = lists_.value(item.list)) {
        list->add(cursor_.block());
        return;
    }
    QTextListFormat lf;
    lf.setStyle(qtListStyle(item.style));
    lf.setIndent(item.level + 1);
    lists_.insert(item.list, cursor_.createList(lf));
}

void DocumentBuilder::insertTable(int columns, const QVector<int>& widths)
{
    QTextTableFormat format;
    format.setBorder(1);
    format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    format.setBorderCollapse(true);
    format.setCellSpacing(0);
    format.setCellPadding(3);
    if (widths.size() == columns) {
        QVector<QTextLength> lengths;
        for (const int twips : widths)
            lengths.append(QTextLength(QTextLength::FixedLength, twips / kTwipsPerPixel));
        format.setColumnWidthConstraints(lengths);
    }
    table_ = cursor_.insertTable(1, columns, format);
}

}  // namespace

void readRtf(const QByteArray& data, QTextDocument& document)
{
    const bool undo = document.isUndoRedoEnabled();
    document.setUndoRedoEnabled(false);
    document.clear();
    try {
        if (!looksLikeRtf(data)) {
            QTextCursor(&document).insertText(plainTextLines(data));
        } else {
            DocumentBuilder builder(document);
            parseRtf(data, builder);
            builder.done();
        }
    } catch (...) {
        document.clear();
        document.setUndoRedoEnabled(undo);
        throw;
    }
    document.setUndoRedoEnabled(undo);
}

}  // namespace qmv

#pragma once
// What the RTF parse builds, one call at a time in document order, as a cursor would: text at the
// end of the current paragraph, new paragraphs after it, its format and list, and tables filled
// cell by cell. Implemented by the reader into QTextDocument and by the HTML writer. Qt Core only;
// called on the parsing thread.
#include "platform/rtflisttable.h"

#include <QString>
#include <QVector>
#include <optional>

namespace qmv {

struct RtfColor {
    int red = 0, green = 0, blue = 0;  // 0..255
    bool operator==(const RtfColor&) const = default;
};

struct RtfCharFormat {
    QString font;  // empty: the reader's default
    double points = 12;
    bool bold = false, italic = false, underline = false, strike = false;
    std::optional<RtfColor> color, background;
    int vertical = 0;  // 1 superscript, -1 subscript
    bool operator==(const RtfCharFormat&) const = default;
};

struct RtfParaFormat {
    int align = 0;  // 0 left, 1 centre, 2 right, 3 justified
    int left = 0, right = 0, first = 0, before = 0, after = 0;  // twips
    bool listed = false;  // a list paragraph: its indents come from the list
};

struct RtfListItem {
    RtfListStyle style = RtfListStyle::Disc;
    int level = 0;
    QString list;  // paragraphs of one list share this name
};

class RtfBuilder {
public:
    virtual ~RtfBuilder() = default;
    virtual void insertText(const QString& text, const RtfCharFormat& format) = 0;
    virtual void insertParagraph(const RtfCharFormat& format) = 0;  // after the current one
    virtual void setParagraphFormat(const RtfParaFormat& format) = 0;
    virtual void setParagraphCharFormat(const RtfCharFormat& format) = 0;
    virtual void addToList(const RtfListItem& item) = 0;
    // A table of one row at the end of the current paragraph; the cursor goes to its first cell.
    // `widths` (twips) has one width per column, or is empty.
    virtual void insertTable(int columns, const QVector<int>& widths) = 0;
    virtual void appendRow() = 0;
    virtual void appendColumn() = 0;
    virtual void moveToCell(int row, int column) = 0;  // to the start of the cell
    virtual void leaveTable() = 0;  // to the paragraph after the table
};

}  // namespace qmv

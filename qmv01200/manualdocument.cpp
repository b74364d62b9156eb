#include "qmv01200/manualdocument.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextTable>
#include <QUrl>

#include "platform/rtfreader.h"

namespace qmv {

namespace {

const QColor titleColour(24, 60, 110);
const QColor ruleColour(150, 150, 150);
const QString photoScheme = QStringLiteral("foto");

// The body's text document: photos are resources decoded from their bytes each time they are
// drawn and never kept decoded.
class PhotoDocument : public QTextDocument {
public:
    QString addPhoto(const QByteArray& bytes)
    {
        const QString name = photoScheme + QStringLiteral(":%1").arg(photos_.size());
        photos_.append(bytes);
        return name;
    }

protected:
    QVariant loadResource(int type, const QUrl& name) override
    {
        if (type == ImageResource && name.scheme() == photoScheme) {
            const int index = name.path().toInt();
            QImage image;
            if (index >= 0 && index < photos_.size())
                image.loadFromData(photos_.at(index));
            return image;
        }
        return QTextDocument::loadResource(type, name);
    }

private:
    QList<QByteArray> photos_;
};

QTextCharFormat charFormat(qreal points, bool bold = false, const QColor& colour = Qt::black)
{
    QTextCharFormat format;
    format.setFontPointSize(points);
    format.setFontWeight(bold ? QFont::Bold : QFont::Normal);
    format.setForeground(colour);
    return format;
}

QString dateText(const QDate& date)
{
    return date.isValid() ? date.toString(QStringLiteral("dd/MM/yyyy")) : QStringLiteral("-");
}

QFont pointFont(qreal points, bool bold = false)
{
    QFont font;
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

}  // namespace

struct ManualDocument::Layout {
    qreal dpi = 96;
    QSizeF page;       // the paint area of a page, in device pixels
    QRectF body;       // where the body's pages go on a page
    qreal mm(qreal millimetres) const { return millimetres * dpi / 25.4; }

    PhotoDocument text;      // the services
    QTextDocument contents;  // the table of contents
    QList<int> serviceBlocks;                 // position of each service's heading
    QList<QList<int>> subgroupBlocks;         // position of each sub-group's heading, per service
    int contentPages = 1;
    int bodyPages = 0;

    int pageOfBlock(int position) const
    {
        const QTextBlock block = text.findBlock(position);
        return int(text.documentLayout()->blockBoundingRect(block).top() / body.height());
    }
    int firstBodyPage() const { return 1 + contentPages; }
};

ManualDocument::ManualDocument(ManualHeader manual, EmissionOptions options, QDate emittedOn)
    : manual_(std::move(manual)), options_(options), emittedOn_(emittedOn)
{
}

ManualDocument::~ManualDocument() = default;

void ManualDocument::addService(const ServiceHeader& service, ServiceContent content)
{
    services_.append({service, std::move(content)});
}

int ManualDocument::layout(QPagedPaintDevice& device)
{
    laid_ = std::make_unique<Layout>();
    Layout& l = *laid_;
    l.dpi = device.logicalDpiY();
    l.page = QSizeF(device.width(), device.height());
    const qreal header = l.mm(9), footer = l.mm(11);
    l.body = QRectF(0, header, l.page.width(), l.page.height() - header - footer);
    l.text.setUndoRedoEnabled(false);
    l.contents.setUndoRedoEnabled(false);
    // The body is written before its layout exists, so that it is laid out once, not at every insertion.
    buildBody();
    for (QTextDocument* doc : {static_cast<QTextDocument*>(&l.text), &l.contents}) {
        doc->documentLayout()->setPaintDevice(&device);
        doc->setPageSize(l.body.size());
        doc->setDocumentMargin(0);
        doc->setDefaultFont(pointFont(9.5));
    }
    l.bodyPages = l.text.pageCount();
    // The contents' page numbers count the contents' own pages: settle them by laying it out again.
    for (int pass = 0; pass < 3; ++pass) {
        buildContents(l.contentPages);
        const int pages = l.contents.pageCount();
        if (pages == l.contentPages)
            break;
        l.contentPages = pages;
    }
    return pageCount();
}

int ManualDocument::pageCount() const
{
    return laid_ ? laid_->firstBodyPage() + laid_->bodyPages : 0;
}

QString ManualDocument::serviceOfPage(int page) const
{
    if (!laid_ || page < laid_->firstBodyPage())
        return {};
    const int bodyPage = page - laid_->firstBodyPage();
    QString title;
    for (int i = 0; i < services_.size(); ++i)
        if (laid_->pageOfBlock(laid_->serviceBlocks.at(i)) <= bodyPage)
            title = services_.at(i).header.title();
    return title;
}

namespace {

// Writes the body one block or table after the other, always at the end of the document.
class BodyWriter {
public:
    BodyWriter(QTextDocument& doc, qreal pixelsPerMm) : doc_(doc), cursor_(&doc), mm_(pixelsPerMm) {}

    int heading(const QString& text, qreal points, qreal spaceBeforeMm, bool newPage)
    {
        QTextBlockFormat block;
        block.setTopMargin(spaceBeforeMm * mm_);
        block.setBottomMargin(1.5 * mm_);
        if (newPage)
            block.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        startBlock(block);
        cursor_.insertText(text, charFormat(points, true, titleColour));
        return cursor_.block().position();
    }

    void line(const QString& text, qreal points = 9.5, bool bold = false, const QColor& colour = Qt::black)
    {
        QTextBlockFormat block;
        block.setBottomMargin(0.8 * mm_);
        startBlock(block);
        cursor_.insertText(text, charFormat(points, bold, colour));
    }

    void section(const QString& text)
    {
        QTextBlockFormat block;
        block.setTopMargin(2.5 * mm_);
        block.setBottomMargin(1 * mm_);
        startBlock(block);
        cursor_.insertText(text, charFormat(10, true, titleColour));
    }

    void photo(const QString& name, const QSizeF& size)
    {
        QTextBlockFormat block;
        block.setAlignment(Qt::AlignHCenter);
        block.setTopMargin(1.5 * mm_);
        block.setBottomMargin(1.5 * mm_);
        startBlock(block);
        QTextImageFormat image;
        image.setName(name);
        image.setWidth(size.width());
        image.setHeight(size.height());
        image.setQuality(100);
        cursor_.insertImage(image);
    }

    void rich(const QTextDocumentFragment& fragment)
    {
        startBlock(QTextBlockFormat());
        cursor_.insertFragment(fragment);
    }

    // A table with a header row, one row per entry of `rows`; widths in percent.
    void table(const QStringList& titles, const QList<QStringList>& rows, const QList<int>& widths, bool ruled)
    {
        cursor_.movePosition(QTextCursor::End);
        QTextTableFormat format;
        format.setWidth(QTextLength(QTextLength::PercentageLength, 100));
        format.setCellSpacing(0);
        format.setCellPadding(0.9 * mm_);
        format.setBorder(ruled ? 0.25 * mm_ : 0);
        format.setBorderBrush(ruleColour);
        format.setBorderCollapse(true);
        format.setBottomMargin(1.5 * mm_);
        format.setHeaderRowCount(titles.isEmpty() ? 0 : 1);
        QList<QTextLength> constraints;
        for (int w : widths)
            constraints << QTextLength(QTextLength::PercentageLength, w);
        format.setColumnWidthConstraints(constraints);
        const int headerRows = titles.isEmpty() ? 0 : 1;
        QTextTable* t = cursor_.insertTable(int(rows.size()) + headerRows, int(widths.size()), format);
        for (int c = 0; c < titles.size(); ++c) {
            QTextTableCell cell = t->cellAt(0, c);
            QTextCharFormat cellFormat = cell.format();
            cellFormat.setBackground(QColor(228, 233, 240));
            cell.setFormat(cellFormat);
            cell.firstCursorPosition().insertText(titles.at(c), charFormat(8.5, true));
        }
        for (int r = 0; r < rows.size(); ++r)
            for (int c = 0; c < rows.at(r).size() && c < widths.size(); ++c)
                t->cellAt(r + headerRows, c).firstCursorPosition().insertText(rows.at(r).at(c), charFormat(8.5));
        cursor_.movePosition(QTextCursor::End);
        reuse_ = true;  // the empty block Qt leaves after a table
    }

private:
    // An empty block at the end (the document's first, or the one after a table) is used as it is;
    // otherwise a new block starts at the end.
    void startBlock(const QTextBlockFormat& format)
    {
        cursor_.movePosition(QTextCursor::End);
        if (reuse_ || doc_.isEmpty())
            cursor_.setBlockFormat(format);
        else
            cursor_.insertBlock(format, QTextCharFormat());
        reuse_ = false;
    }

    QTextDocument& doc_;
    QTextCursor cursor_;
    qreal mm_;
    bool reuse_ = false;
};

QSizeF fitted(const QByteArray& photo, const QSizeF& box)
{
    QBuffer buffer;
    buffer.setData(photo);
    QImageReader reader(&buffer);
    const QSize size = reader.size();
    if (!size.isValid() || size.isEmpty())
        return {};
    return QSizeF(size).scaled(box, Qt::KeepAspectRatio);
}

QTextDocumentFragment instructionsOf(const QByteArray& rtf)
{
    QTextDocument doc;
    try {
        readRtf(rtf, doc);
    } catch (const RtfError&) {
        doc.setPlainText(QStringLiteral("(As instruções de montagem gravadas não puderam ser lidas.)"));
    }
    return QTextDocumentFragment(&doc);
}

QString productKind(const QString& kind)
{
    return kind == QLatin1String("R") ? QStringLiteral("Receita") : QStringLiteral("Produto");
}

}  // namespace

void ManualDocument::buildBody()
{
    Layout& l = *laid_;
    BodyWriter out(l.text, l.mm(1));
    const QSizeF photoBox(l.body.width() * 0.8, l.body.height() * 0.42);
    for (int s = 0; s < services_.size(); ++s) {
        const Service& service = services_.at(s);
        l.serviceBlocks << out.heading(QStringLiteral("Serviço ") + service.header.title(), 15, 0, s > 0);
        out.line(QStringLiteral("%1 sub-grupo(s)").arg(service.content.subgroups.size()), 9, false, ruleColour);
        QList<int> subgroupBlocks;
        for (const SubgroupEntry& g : service.content.subgroups) {
            subgroupBlocks << out.heading(g.code + QStringLiteral("  ") + g.name, 12, 5, false);
            QList<QStringList> fields = {{QStringLiteral("Classificação"), g.order},
                                         {QStringLiteral("Descrição de impressão"), g.printName},
                                         {QStringLiteral("Loading"), loadingText(g.loading)},
                                         {QStringLiteral("Observação"), g.observation}};
            if (options_.dates) {
                fields << QStringList{QStringLiteral("Apresentação"), dateText(g.presentation)}
                       << QStringList{QStringLiteral("Efetivação"), dateText(g.effective)}
                       << QStringList{QStringLiteral("Revisão"), dateText(g.revision)}
                       << QStringList{QStringLiteral("Sub-grupo principal"),
                                      g.principalCode.isEmpty() ? QStringLiteral("-")
                                                                : g.principalCode + QStringLiteral(" - ") + g.principalName};
            }
            out.table({}, fields, {28, 72}, false);
            if (options_.photos && !g.photo.isEmpty()) {
                const QSizeF size = fitted(g.photo, photoBox);
                if (!size.isEmpty())
                    out.photo(l.text.addPhoto(g.photo), size);
            }
            if (options_.instructions && !g.instructions.isEmpty()) {
                out.section(QStringLiteral("Instruções de montagem"));
                out.rich(instructionsOf(g.instructions));
            }
            if (options_.equipment) {
                QList<QStringList> rows;
                for (const EquipmentEntry& e : service.content.equipment.value(g.espeProd))
                    rows << QStringList{e.code, e.name, e.classification, quantityText(e.quantity), e.unit};
                if (!rows.isEmpty()) {
                    out.section(QStringLiteral("Equipamentos"));
                    out.table({QStringLiteral("Código"), QStringLiteral("Equipamento"), QStringLiteral("Classificação"),
                               QStringLiteral("Quantidade"), QStringLiteral("Unidade")},
                              rows, {16, 38, 22, 12, 12}, true);
                }
            }
            if (options_.products) {
                QList<QStringList> rows;
                for (const ProductEntry& p : service.content.products.value(g.espeProd))
                    rows << QStringList{p.order, productKind(p.kind), p.code, p.name, quantityText(p.quantity), p.unit,
                                        p.comment};
                if (!rows.isEmpty()) {
                    out.section(QStringLiteral("Produtos e receitas"));
                    out.table({QStringLiteral("Ordem"), QStringLiteral("Tipo"), QStringLiteral("Código"),
                               QStringLiteral("Nome"), QStringLiteral("Quantidade"), QStringLiteral("Unidade"),
                               QStringLiteral("Comentário")},
                              rows, {7, 10, 13, 27, 14, 10, 19}, true);
                }
            }
        }
        l.subgroupBlocks << subgroupBlocks;
    }
    if (services_.isEmpty())
        out.line(QStringLiteral("O manual não tem serviços a emitir."));
}

void ManualDocument::buildContents(int contentPages)
{
    Layout& l = *laid_;
    l.contents.clear();
    QTextCursor cursor(&l.contents);
    cursor.beginEditBlock();  // one layout at the end
    QTextBlockFormat title;
    title.setBottomMargin(l.mm(4));
    cursor.setBlockFormat(title);
    cursor.insertText(QStringLiteral("Sumário"), charFormat(16, true, titleColour));
    cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());

    int rows = 0;
    for (const Service& service : services_)
        rows += 1 + int(service.content.subgroups.size());
    QTextTableFormat format;
    format.setWidth(QTextLength(QTextLength::PercentageLength, 100));
    format.setBorder(0);
    format.setCellSpacing(0);
    format.setCellPadding(l.mm(0.6));
    format.setColumnWidthConstraints({QTextLength(QTextLength::PercentageLength, 88),
                                      QTextLength(QTextLength::PercentageLength, 12)});
    if (rows == 0) {
        cursor.endEditBlock();
        return;
    }
    QTextTable* table = cursor.insertTable(rows, 2, format);
    QTextBlockFormat right;
    right.setAlignment(Qt::AlignRight);
    int row = 0;
    const int first = 1 + contentPages;
    auto put = [&](const QString& text, int position, bool bold, qreal indentMm) {
        QTextCursor left = table->cellAt(row, 0).firstCursorPosition();
        QTextBlockFormat indent;
        indent.setLeftMargin(l.mm(indentMm));
        left.setBlockFormat(indent);
        left.insertText(text, charFormat(bold ? 10 : 9, bold, bold ? titleColour : Qt::black));
        QTextCursor number = table->cellAt(row, 1).firstCursorPosition();
        number.setBlockFormat(right);
        number.insertText(QString::number(first + l.pageOfBlock(position) + 1), charFormat(bold ? 10 : 9, bold));
        ++row;
    };
    for (int s = 0; s < services_.size(); ++s) {
        const Service& service = services_.at(s);
        put(QStringLiteral("Serviço ") + service.header.title(), l.serviceBlocks.at(s), true, 0);
        for (int g = 0; g < service.content.subgroups.size(); ++g) {
            const SubgroupEntry& entry = service.content.subgroups.at(g);
            put(entry.code + QStringLiteral("  ") + entry.name, l.subgroupBlocks.at(s).at(g), false, 6);
        }
    }
    cursor.endEditBlock();
}

void ManualDocument::paintPage(QPainter& painter, int page) const
{
    const Layout& l = *laid_;
    if (page == 0) {
        paintCover(painter);
    } else {
        const bool contents = page < l.firstBodyPage();
        const QTextDocument& doc = contents ? l.contents : static_cast<const QTextDocument&>(l.text);
        const int inner = contents ? page - 1 : page - l.firstBodyPage();
        painter.save();
        painter.translate(l.body.left(), l.body.top() - inner * l.body.height());
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = QRectF(0, inner * l.body.height(), l.body.width(), l.body.height());
        painter.setClipRect(context.clip);
        doc.documentLayout()->draw(&painter, context);
        painter.restore();
    }
    paintFrame(painter, page);
}

void ManualDocument::paintCover(QPainter& painter) const
{
    const Layout& l = *laid_;
    const qreal width = l.page.width();
    qreal y = l.page.height() * 0.22;
    auto centred = [&](const QString& text, qreal points, bool bold, const QColor& colour, qreal gapMm) {
        painter.setFont(pointFont(points, bold));
        painter.setPen(colour);
        const QRectF box(0, y, width, l.mm(points * 0.6) + l.mm(4));
        painter.drawText(box, Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, text);
        y += box.height() + l.mm(gapMm);
    };
    centred(QStringLiteral("MANUAL DE MONTAGEM"), 24, true, titleColour, 6);
    centred(manual_.manualName, 20, false, Qt::black, 16);
    centred(QStringLiteral("Companhia"), 10, false, ruleColour, 0);
    centred(manual_.companyAbbrev + QStringLiteral(" - ") + manual_.companyName, 15, true, Qt::black, 8);
    centred(QStringLiteral("Filial"), 10, false, ruleColour, 0);
    centred(manual_.branch + QStringLiteral(" - ") + manual_.branchName, 13, false, Qt::black, 8);
    int subgroups = 0;
    for (const Service& s : services_)
        subgroups += int(s.content.subgroups.size());
    const QString scope = options_.wholeManual || services_.isEmpty()
                              ? QStringLiteral("Manual completo: %1 serviço(s), %2 sub-grupo(s)")
                                    .arg(services_.size())
                                    .arg(subgroups)
                              : QStringLiteral("Serviço ") + services_.first().header.title();
    centred(scope, 11, false, Qt::black, 20);
    centred(QStringLiteral("Emitido em ") + emittedOn_.toString(QStringLiteral("dd/MM/yyyy")), 11, false,
            Qt::black, 0);
}

// The header names the service of a body page; the footer the manual and the page number.
void ManualDocument::paintFrame(QPainter& painter, int page) const
{
    const Layout& l = *laid_;
    painter.save();
    painter.setPen(QPen(ruleColour, l.mm(0.2)));
    const qreal footerTop = l.body.bottom() + l.mm(3);
    painter.drawLine(QPointF(0, footerTop), QPointF(l.page.width(), footerTop));
    painter.setFont(pointFont(8));
    painter.setPen(Qt::darkGray);
    const QRectF footer(0, footerTop + l.mm(1), l.page.width(), l.mm(6));
    painter.drawText(footer, Qt::AlignLeft | Qt::AlignVCenter,
                     manual_.manualName + QStringLiteral(" - ") + manual_.companyAbbrev);
    painter.drawText(footer, Qt::AlignRight | Qt::AlignVCenter,
                     QStringLiteral("Página %1 de %2").arg(page + 1).arg(pageCount()));
    const QString service = serviceOfPage(page);
    if (!service.isEmpty()) {
        const QRectF header(0, 0, l.page.width(), l.body.top() - l.mm(3));
        painter.drawText(header, Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("Serviço ") + service);
        painter.setPen(QPen(ruleColour, l.mm(0.2)));
        painter.drawLine(QPointF(0, header.bottom() + l.mm(1)), QPointF(l.page.width(), header.bottom() + l.mm(1)));
    }
    painter.restore();
}

}  // namespace qmv

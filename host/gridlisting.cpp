#include "host/gridlisting.h"

#include "platform/datasetmodel.h"
#include "platform/dbgrid.h"

namespace qmv {

QString gridListingHtml(const DBGrid& grid, const QString& title, const QString& identification)
{
    const QAbstractItemModel* model = grid.model();
    QString html = QStringLiteral("<html><body><h2>%1</h2><p>%2</p>")
                       .arg(title.toHtmlEscaped(), identification.toHtmlEscaped());
    html += QStringLiteral("<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\"><tr>");
    for (int c = 0; c < model->columnCount(); ++c)
        html += QStringLiteral("<th>%1</th>").arg(model->headerData(c, Qt::Horizontal).toString().toHtmlEscaped());
    html += QStringLiteral("</tr>");
    for (int r = 0; r < model->rowCount(); ++r) {
        html += QStringLiteral("<tr>");
        for (int c = 0; c < model->columnCount(); ++c)
            html += QStringLiteral("<td>%1</td>").arg(model->index(r, c).data().toString().toHtmlEscaped());
        html += QStringLiteral("</tr>");
    }
    html += QStringLiteral("</table><p>%1 registro(s).</p></body></html>").arg(model->rowCount());
    return html;
}

}  // namespace qmv

#include "host/tickbox.h"

#include <QPainter>

namespace qmv {

// A 16 by 16 tick box: a 10 by 10 box with a dark top and left edge, ticked or empty; greyed when
// it stands for a disabled row.
QPixmap tickBox(bool ticked, bool enabled, QColor background)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(background);
    QPainter painter(&pixmap);
    const QColor ink = enabled ? Qt::black : Qt::gray;
    painter.fillRect(3, 3, 10, 10, enabled ? Qt::white : QColor(224, 224, 224));
    painter.setPen(ink);
    painter.drawLine(3, 3, 12, 3);
    painter.drawLine(3, 3, 3, 12);
    painter.setPen(QColor(192, 192, 192));
    painter.drawLine(4, 13, 13, 13);
    painter.drawLine(13, 4, 13, 13);
    if (ticked) {
        painter.setPen(QPen(ink, 2));
        painter.drawPolyline(QPolygon({QPoint(5, 8), QPoint(7, 10), QPoint(11, 5)}));
    }
    return pixmap;
}

}  // namespace qmv

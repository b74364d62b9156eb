#include "appserver/demo/demopictures.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QRadialGradient>

namespace qmv::appserver {

namespace {

const QColor foodColours[] = {QColor(196, 84, 52), QColor(92, 150, 64), QColor(232, 190, 80),
                              QColor(150, 92, 60), QColor(230, 120, 140), QColor(90, 130, 190)};

void drawPlate(QPainter& painter, const QRectF& area, int variant)
{
    const QPointF centre = area.center();
    const qreal radius = std::min(area.width(), area.height()) * 0.42;
    QRadialGradient rim(centre, radius);
    rim.setColorAt(0.0, QColor(252, 252, 250));
    rim.setColorAt(0.8, QColor(236, 236, 232));
    rim.setColorAt(1.0, QColor(200, 200, 196));
    painter.setPen(QPen(QColor(170, 170, 165), 2));
    painter.setBrush(rim);
    painter.drawEllipse(centre, radius, radius);
    painter.setPen(Qt::NoPen);
    for (int i = 0; i < 3 + variant % 3; ++i) {
        const qreal angle = (variant * 37 + i * 110) * 3.14159 / 180.0;
        const QPointF at = centre + QPointF(std::cos(angle), std::sin(angle)) * radius * 0.35;
        painter.setBrush(foodColours[(variant + i) % 6]);
        painter.drawEllipse(at, radius * (0.22 + 0.04 * (i % 2)), radius * 0.18);
    }
}

}  // namespace

QByteArray demoPhoto(const QString& title, int variant)
{
    QImage image(480, 360, QImage::Format_RGB32);
    image.fill(QColor(70 + variant * 13 % 60, 60 + variant * 7 % 40, 50));
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        drawPlate(painter, QRectF(0, 0, 480, 310), variant);
        painter.fillRect(QRectF(0, 310, 480, 50), QColor(30, 30, 30, 200));
        QFont font = painter.font();
        font.setPixelSize(22);
        font.setBold(true);
        painter.setFont(font);
        painter.setPen(Qt::white);
        painter.drawText(QRectF(12, 310, 456, 50), Qt::AlignVCenter | Qt::AlignLeft, title);
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG", 80);
    return bytes;
}

}  // namespace qmv::appserver

#include "host/tedbimage.h"

#include <QPainter>

namespace qmv {

TEDBImage::TEDBImage(QWidget* parent, const QString& name)
    : QWidget(parent), link_(this, [this] { refresh(); })
{
    setObjectName(name);
}

void TEDBImage::setDataSource(DataSource* source)
{
    link_.setDataSource(source);
}

void TEDBImage::setDataField(const QString& fieldName)
{
    link_.setDataField(fieldName);
}

void TEDBImage::setShrinkToFit(bool on)
{
    shrink_ = on;
    updateGeometry();
    update();
}

void TEDBImage::setZoomToFit(bool on)
{
    zoom_ = on;
    updateGeometry();
    update();
}

void TEDBImage::refresh()
{
    const Field* field = link_.field();
    if (field && !field->dataSet().isActive())
        field = nullptr;
    const QByteArray bytes = field && !field->isNull() ? field->asBytes() : QByteArray();
    image_ = bytes.isEmpty() ? QImage() : QImage::fromData(bytes);
    invalid_ = !bytes.isEmpty() && image_.isNull();
    updateGeometry();
    update();
}

QRect TEDBImage::pictureRect() const
{
    if (image_.isNull())
        return {};
    const QRect area = contentsRect();
    QSize size = image_.size();
    const bool larger = size.width() > area.width() || size.height() > area.height();
    if ((larger && shrink_) || (!larger && zoom_))
        size = size.scaled(area.size(), Qt::KeepAspectRatio);
    QRect target(QPoint(0, 0), size);
    target.moveCenter(area.center());
    if (target.left() < area.left())
        target.moveLeft(area.left());
    if (target.top() < area.top())
        target.moveTop(area.top());
    return target;
}

QSize TEDBImage::sizeHint() const
{
    if (image_.isNull() || shrink_)
        return QWidget::sizeHint().expandedTo(QSize(64, 64));
    return image_.size();
}

QSize TEDBImage::minimumSizeHint() const
{
    if (image_.isNull() || shrink_)
        return QWidget::minimumSizeHint();
    return image_.size();
}

void TEDBImage::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (invalid_) {
        painter.drawText(contentsRect(), Qt::AlignCenter, QStringLiteral("Imagem em formato não reconhecido"));
        return;
    }
    if (!image_.isNull())
        painter.drawImage(pictureRect(), image_);
}

}  // namespace qmv

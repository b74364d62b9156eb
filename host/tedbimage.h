#pragma once
// TEDBImage: a picture bound to a large-object field holding the bytes of a JPEG or bitmap file.
// ShrinkToFit makes a picture larger than the control smaller, ZoomToFit makes a smaller one larger,
// both keeping its proportions; with neither it is shown at its size (its size hint, for a
// scrolling container). Bytes that are no picture show a short notice instead. UI thread only.
#include <QImage>
#include <QPointer>
#include <QWidget>

#include "platform/datasource.h"
#include "platform/fieldlink.h"

namespace qmv {

class TEDBImage : public QWidget {
    Q_OBJECT
public:
    explicit TEDBImage(QWidget* parent = nullptr, const QString& name = QString());

    void setDataSource(DataSource* source);
    DataSource* dataSource() const { return link_.dataSource(); }
    void setDataField(const QString& fieldName);
    QString dataField() const { return link_.dataField(); }

    bool ShrinkToFit() const { return shrink_; }
    void setShrinkToFit(bool on);
    bool ZoomToFit() const { return zoom_; }
    void setZoomToFit(bool on);

    const QImage& picture() const { return image_; }
    bool hasPicture() const { return !image_.isNull(); }
    bool invalidPicture() const { return invalid_; }  // bytes present that are no picture
    // Where the picture is drawn in the control, for its current size.
    QRect pictureRect() const;

    QSize sizeHint() const override;
    // At its own size the picture is also the least the control takes, so a scrolling container
    // scrolls over it instead of cutting it.
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void refresh();

    FieldLink link_;
    QImage image_;
    bool invalid_ = false;
    bool shrink_ = false;
    bool zoom_ = false;
};

}  // namespace qmv

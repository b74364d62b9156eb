#pragma once
// A line edit for masked codes and dates: a click into the box while nothing is typed puts the
// cursor at the first position, where typing starts (Qt leaves it where the click fell, often past
// the mask, where no character is taken). The mask is Qt's inputMask, set by the owner (see
// editmask.h for the module's notation). UI thread only.
#include <QLineEdit>

namespace qmv {

class MaskEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit MaskEdit(QWidget* parent = nullptr);

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    bool nothingTyped() const;
};

}  // namespace qmv

#pragma once
// The 16 by 16 tick box that check lists draw in their tick column: ticked or empty, greyed when it
// stands for a disabled row, on the background of the list's cell. UI thread only.
#include <QColor>
#include <QPixmap>

namespace qmv {

inline const QColor tickBoxOlive{128, 128, 0};

QPixmap tickBox(bool ticked, bool enabled, QColor background);

}  // namespace qmv

#include "host/tbuttonflat.h"

namespace qmv {

TButtonFlat::TButtonFlat(QWidget* parent, const QString& name, const QString& hint, bool toggle)
    : QToolButton(parent)
{
    setObjectName(name);
    setToolTip(hint);
    setStatusTip(hint);
    setAutoRaise(true);
    setCheckable(toggle);
    setFocusPolicy(Qt::NoFocus);  // toolbar buttons do not take the focus from the data controls
}

void TButtonFlat::setDownState(bool down)
{
    if (isCheckable())
        setChecked(down);
}

void TButtonFlat::Click()
{
    click();
}

}  // namespace qmv

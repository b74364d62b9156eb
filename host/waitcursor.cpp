#include "host/waitcursor.h"

#include "host/ui.h"

namespace qmv {

WaitCursor::WaitCursor()
{
    ui().setCursor(CursorShape::Wait);
}

WaitCursor::~WaitCursor()
{
    try {
        restore();
    } catch (...) {
        // The seam went away while the scope ran; there is no cursor left to restore.
    }
}

void WaitCursor::restore()
{
    if (!waiting_)
        return;
    waiting_ = false;
    ui().setCursor(CursorShape::Default);
}

}  // namespace qmv

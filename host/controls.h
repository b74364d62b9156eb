#pragma once
// The host's routines over a tree of controls: moving the focus through a container and
// enabling or disabling everything inside one. UI thread only.

class QWidget;
class QString;

namespace qmv {

class DBGrid;

// Within container, focuses the control after (goForward) or before the one holding the focus in
// the tab order, wrapping around; when the focus is outside container, the first (or last) one.
// Only visible, enabled controls that take the focus count; checkTabStop keeps to tab stops;
// checkParent keeps to controls whose parent is container itself. Returns the control focused,
// or nullptr when there is none.
QWidget* SelectNextControl(QWidget* container, bool goForward, bool checkTabStop, bool checkParent);

// Focuses the first tab stop inside parent (in the tab order); returns it or nullptr.
QWidget* SelectFirstControl(QWidget* parent);

// Disables every control inside container, or enables again those it disabled; controls that
// were disabled on their own stay disabled. The container itself is left as it is.
void SetChildEnabled(QWidget* container, bool enabled);

// The index of the grid column showing the field (any letter case); -1 when none does.
int IndiceCol(const DBGrid& grid, const QString& fieldName);

}  // namespace qmv

#pragma once
// Help for a form: the shell may register a viewer for help files and contexts; without one the
// person is told which help topic the form has. UI thread only.
#include <QString>
#include <functional>

namespace qmv {

using HelpViewer = std::function<void(const QString& helpFile, int helpContext)>;

void setHelpViewer(HelpViewer viewer);
void ShowHelpContext(const QString& helpFile, int helpContext);

}  // namespace qmv

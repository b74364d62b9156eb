#pragma once
// The shell's own command-line options: screens to open at start, the package folders, and a headless
// run that saves a screenshot and quits. Every other argument is left for the host configuration.
// Plain value; any thread.
#include <QStringList>
#include <optional>

namespace qmv {

struct ShellOptions {
    QStringList open;            // --open QMV00500 (repeatable)
    QStringList packageFolders;  // --packages DIR (repeatable); default: beside the executable
    QString screenshot;          // --screenshot FILE.png
    std::optional<int> quitAfterMs;  // --quit-after MS
    QStringList rest;            // everything else, program name first
    QString error;               // set when an option lacks its value or has a bad one
};

ShellOptions parseShellOptions(const QStringList& arguments);

}  // namespace qmv

#pragma once
// The demo's Portuguese texts: assembly instructions as a small RTF document written by hand.
// Plain functions; any thread.
#include <QByteArray>
#include <QString>
#include <QStringList>

namespace qmv::appserver {

// Text for RTF: control characters escaped, non-ASCII as \'hh of Windows-1252 (Latin-1 here).
QByteArray rtfText(const QString& text);

// An RTF document in Arial 10: a centred bold title in blue, the steps numbered, a small bordered
// table of what goes on the plate, and a warning in red.
QByteArray demoInstructions(const QString& title, const QStringList& steps);

}  // namespace qmv::appserver

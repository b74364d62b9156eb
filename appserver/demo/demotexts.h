#pragma once
// The demo's Portuguese texts: assembly instructions as a small RTF document written by hand.
// Plain functions; any thread.
#include <QByteArray>
#include <QString>
#include <QStringList>

namespace qmv::appserver {

// Text for RTF: control characters escaped, non-ASCII as \'hh of Windows-1252 (Latin-1 here).
QByteArray rtfText(const QString& text);

// An RTF document: a bold title, then the steps as a numbered list, in Arial 10.
QByteArray demoInstructions(const QString& title, const QStringList& steps);

}  // namespace qmv::appserver

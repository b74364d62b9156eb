#pragma once
// Writes a QTextDocument as an RTF 1.x document that word processors open with the same look:
// fonts, sizes, bold, italic, underline, colours, alignment, margins, bullets and numbered lists (one
// list definition per list style), and tables as RTF rows of bordered cells.
// Text outside ASCII is written as \'hh (Windows-1252) or \uN?. Reading the result with readRtf
// gives the same document. Runs on the thread that owns the document.
#include <QByteArray>

class QTextDocument;

namespace qmv {

QByteArray writeRtf(const QTextDocument& document);

}  // namespace qmv

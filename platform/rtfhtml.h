#pragma once
// Stored rich text (RTF, or plain text kept as such) as an HTML fragment that is safe to put in a
// page: paragraphs, bold, italics, underline, strike-out, raised and lowered text, colours, font
// names and sizes, lists and tables. Nothing of the stored text becomes markup: text and font names
// are escaped, colours, sizes and indents are written as numbers. Qt Core only; any thread.
#include <QByteArray>
#include <QString>

namespace qmv {

// Malformed RTF throws RtfError (rtfparser.h).
QString rtfToHtml(const QByteArray& stored);

// Text as HTML text or attribute value: & < > " ' as character references, a line separator as <br>.
QString htmlEscaped(const QString& text);

}  // namespace qmv

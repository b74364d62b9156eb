#pragma once
// The plain text of a rich-text document: its characters without formatting, paragraphs and line
// breaks as "\n", non-breaking spaces as blanks. Used by emptiness tests and by editors that store
// plain text. Runs on the thread that owns the document.
#include <QByteArray>
#include <QString>

class QTextDocument;

namespace qmv {

QString plainText(const QTextDocument& document);

// The plain text of stored rich text (RTF, or plain text kept as such). Malformed RTF throws RtfError.
QString plainTextOfRtf(const QByteArray& data);

}  // namespace qmv

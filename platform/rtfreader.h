#pragma once
// Reads Rich Text Format into a QTextDocument (what rtfparser.h reads, as Qt text formats, lists
// and tables); data that is not RTF is read as plain text without its control characters.
// Malformed RTF gives a document or an RtfError, never a crash or a hang. Runs on the thread that
// owns the document (the UI thread for an editor's).
#include "platform/rtfparser.h"

#include <QByteArray>

class QTextDocument;

namespace qmv {

// Replaces the document's content. On RtfError the document is left empty.
void readRtf(const QByteArray& data, QTextDocument& document);

}  // namespace qmv

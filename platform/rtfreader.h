#pragma once
// Reads Rich Text Format into a QTextDocument: fonts, sizes, bold, italic, underline, colours,
// alignment, margins, raised and lowered text, bullets and numbered lists, and tables (rows of cells
// with their paragraphs; merged cells come out as separate cells); pictures degrade to nothing, and
// data that is not RTF is read as plain text without its control characters. Malformed RTF gives a document or an RtfError, never
// a crash or a hang. Runs on the thread that owns the document (the UI thread for an editor's).
#include <QByteArray>
#include <QString>
#include <stdexcept>

class QTextDocument;

namespace qmv {

class RtfError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// True when the data opens an RTF group (leading blanks and a UTF-8 byte-order mark allowed).
bool looksLikeRtf(const QByteArray& data);

// Replaces the document's content. On RtfError the document is left empty.
void readRtf(const QByteArray& data, QTextDocument& document);

// Text of a file that is not RTF: UTF-8 when it is valid UTF-8, Windows-1252 otherwise.
QString decodePlainText(const QByteArray& data);

}  // namespace qmv

#pragma once
// Parses Rich Text Format into an RtfBuilder: fonts, sizes, bold, italic, underline, colours,
// alignment, margins, raised and lowered text, bullets and numbered lists, and tables (rows of cells
// with their paragraphs; merged cells come out as separate cells); pictures degrade to nothing.
// Malformed RTF gives a document or an RtfError, never a crash or a hang. Qt Core only, so the
// application server can read stored instructions on its worker threads; any thread.
#include "platform/rtfbuilder.h"

#include <QByteArray>
#include <QString>
#include <stdexcept>

namespace qmv {

class RtfError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// True when the data opens an RTF group (leading blanks and a UTF-8 byte-order mark allowed).
bool looksLikeRtf(const QByteArray& data);

// Builds the document of RTF data (looksLikeRtf true); throws RtfError on data it cannot read.
void parseRtf(const QByteArray& data, RtfBuilder& builder);

// Text of a file that is not RTF: UTF-8 when it is valid UTF-8, Windows-1252 otherwise.
QString decodePlainText(const QByteArray& data);

// The same text with "\n" line ends and without control characters other than tabs.
QString plainTextLines(const QByteArray& data);

}  // namespace qmv

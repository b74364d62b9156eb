#pragma once
// The RTF list styles as Qt's text list styles and back, for the reader and writer of QTextDocument.
#include "platform/rtflisttable.h"

#include <QTextListFormat>

namespace qmv {

QTextListFormat::Style qtListStyle(RtfListStyle style);
RtfListStyle rtfListStyle(QTextListFormat::Style style);

}  // namespace qmv

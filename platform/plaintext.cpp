#include "platform/plaintext.h"

#include "platform/rtfreader.h"

#include <QTextDocument>

namespace qmv {

QString plainText(const QTextDocument& document) { return document.toPlainText(); }

QString plainTextOfRtf(const QByteArray& data)
{
    QTextDocument document;
    readRtf(data, document);
    return plainText(document);
}

}  // namespace qmv

#include "appserver/demo/demotexts.h"

namespace qmv::appserver {

QByteArray rtfText(const QString& text)
{
    QByteArray out;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == '\\' || u == '{' || u == '}') {
            out += '\\';
            out += char(u);
        } else if (u == '\n') {
            out += "\\par ";
        } else if (u < 0x80) {
            out += char(u);
        } else if (u < 0x100) {
            out += "\\'" + QByteArray::number(u, 16).rightJustified(2, '0');
        } else {
            out += "\\u" + QByteArray::number(qint16(u)) + "?";
        }
    }
    return out;
}

QByteArray demoInstructions(const QString& title, const QStringList& steps)
{
    QByteArray rtf = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}\n"
                     "\\viewkind4\\uc1\\pard\\f0\\fs24\\b ";
    rtf += rtfText(title);
    rtf += "\\b0\\fs20\\par\n";
    int number = 1;
    for (const QString& step : steps) {
        rtf += "\\pard\\fi-360\\li360 " + QByteArray::number(number++) + ".\\tab " + rtfText(step) + "\\par\n";
    }
    rtf += "}";
    return rtf;
}

}  // namespace qmv::appserver

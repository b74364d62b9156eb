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

// A centred blue title, the steps numbered, a small table of what goes on the plate and a warning
// in red: formatting that shows what the editor keeps.
QByteArray demoInstructions(const QString& title, const QStringList& steps)
{
    QByteArray rtf = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}\n"
                     "{\\colortbl;\\red0\\green70\\blue160;\\red192\\green0\\blue0;}\n"
                     "\\viewkind4\\uc1\\pard\\qc\\f0\\fs24\\cf1\\b ";
    rtf += rtfText(title);
    rtf += "\\cf0\\b0\\fs20\\par\n";
    int number = 1;
    for (const QString& step : steps) {
        rtf += "\\pard\\fi-360\\li360 " + QByteArray::number(number++) + ".\\tab " + rtfText(step) + "\\par\n";
    }
    const QByteArray border = "\\clbrdrt\\brdrs\\clbrdrl\\brdrs\\clbrdrb\\brdrs\\clbrdrr\\brdrs";
    const auto row = [&](const QString& item, const QString& portion) {
        return "\\trowd\\trgaph70" + border + "\\cellx3000" + border + "\\cellx4800\n\\pard\\intbl "
               + rtfText(item) + "\\cell\\pard\\intbl " + rtfText(portion) + "\\cell\\row\n";
    };
    rtf += "\\b" + row(QStringLiteral("Item"), QStringLiteral("Por\u00e7\u00e3o")) + "\\b0";
    rtf += row(QStringLiteral("Prato principal"), QStringLiteral("1"));
    rtf += row(QStringLiteral("Guarni\u00e7\u00e3o"), QStringLiteral("2"));
    rtf += "\\pard\\sb120\\cf2\\b " + rtfText(QStringLiteral("Aten\u00e7\u00e3o:")) + "\\b0\\i  "
           + rtfText(QStringLiteral("n\u00e3o servir acima do hor\u00e1rio de validade.")) + "\\i0\\cf0\\par\n";
    rtf += "}";
    return rtf;
}

}  // namespace qmv::appserver

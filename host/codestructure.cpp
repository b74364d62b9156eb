#include "host/codestructure.h"

#include <stdexcept>

#include "host/hostconfig.h"

namespace qmv {

namespace {

bool isMaskChar(QChar c)
{
    return QStringLiteral("09#LlAaCc").contains(c);
}

}  // namespace

CodeStructure::CodeStructure(const QString& editMask)
    : mask_(editMask)
{
    const QString picture = editMask.section(QLatin1Char(';'), 0, 0);
    int width = 0;
    for (qsizetype i = 0; i < picture.size(); ++i) {
        const QChar c = picture[i];
        if (c == u'>' || c == u'<')
            continue;
        if (c == u'\\') {  // an escaped character is a literal: it separates levels
            ++i;
        } else if (isMaskChar(c)) {
            ++width;
            continue;
        }
        if (width > 0)
            widths_ << width;
        width = 0;
    }
    if (width > 0)
        widths_ << width;
}

QString DBPict(int pictureType)
{
    if (pictureType != 0)
        throw std::out_of_range("tipo de máscara de código não configurado: " + std::to_string(pictureType));
    return hostConfig().codeMask;
}

CodeStructure DBPictObj(int pictureType)
{
    return CodeStructure(DBPict(pictureType));
}

}  // namespace qmv

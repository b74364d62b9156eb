#include "host/shell/filetypetexts.h"

#include <cstring>

namespace qmv {

QString FileTypeTexts::translate(const char* context, const char* sourceText, const char*, int) const
{
    struct Text {
        const char* english;
        const char* portuguese;
    };
    static constexpr Text texts[] = {
        {"Folder", "Pasta"}, {"File Folder", "Pasta"}, {"Drive", "Unidade"},
        {"Shortcut", "Atalho"}, {"Alias", "Atalho"}, {"Unknown", "Desconhecido"},
    };
    if (!context || !sourceText || std::strcmp(context, "QAbstractFileIconProvider") != 0)
        return {};
    for (const Text& t : texts)
        if (std::strcmp(sourceText, t.english) == 0)
            return QString::fromUtf8(t.portuguese);
    return {};
}

}  // namespace qmv

#include "platform/rtflisttable.h"

namespace qmv {
namespace {

constexpr int kBullet = 23;
constexpr int kNoNumber = 255;

QTextListFormat::Style bulletStyle(const QString& levelText)
{
    for (QChar c : levelText) {
        if (c == u'o')
            return QTextListFormat::ListCircle;
        if (c == QChar(0x25AA) || c == QChar(0x25A0) || c == QChar(0xF0A7) || c == QChar(0x00A7))
            return QTextListFormat::ListSquare;
    }
    return QTextListFormat::ListDisc;
}

}  // namespace

void RtfListTable::beginList() { current_.clear(); }

void RtfListTable::addLevel(int numberFormat, const QString& levelText)
{
    if (current_.size() < 9)
        current_.append(styleOf(numberFormat, levelText));
}

void RtfListTable::endList(int listId)
{
    lists_.insert(listId, current_);
    current_.clear();
}

void RtfListTable::addOverride(int listId, int ls) { overrides_.insert(ls, listId); }

QTextListFormat::Style RtfListTable::style(int ls, int level) const
{
    const auto list = lists_.constFind(overrides_.value(ls, -1));
    if (list == lists_.constEnd() || level < 0 || level >= list->size())
        return QTextListFormat::ListDisc;
    return list->at(level);
}

QTextListFormat::Style RtfListTable::styleOf(int numberFormat, const QString& levelText)
{
    switch (numberFormat) {
    case kBullet: return bulletStyle(levelText);
    case kNoNumber: return QTextListFormat::ListStyleUndefined;
    case 1: return QTextListFormat::ListUpperRoman;
    case 2: return QTextListFormat::ListLowerRoman;
    case 3: return QTextListFormat::ListUpperAlpha;
    case 4: return QTextListFormat::ListLowerAlpha;
    default: return QTextListFormat::ListDecimal;
    }
}

int RtfListTable::numberFormatOf(QTextListFormat::Style style)
{
    switch (style) {
    case QTextListFormat::ListUpperRoman: return 1;
    case QTextListFormat::ListLowerRoman: return 2;
    case QTextListFormat::ListUpperAlpha: return 3;
    case QTextListFormat::ListLowerAlpha: return 4;
    case QTextListFormat::ListDecimal: return 0;
    default: return kBullet;
    }
}

}  // namespace qmv

#include "platform/rtflisttable.h"

namespace qmv {
namespace {

constexpr int kBullet = 23;
constexpr int kNoNumber = 255;

RtfListStyle bulletStyle(const QString& levelText)
{
    for (QChar c : levelText) {
        if (c == u'o')
            return RtfListStyle::Circle;
        if (c == QChar(0x25AA) || c == QChar(0x25A0) || c == QChar(0xF0A7) || c == QChar(0x00A7))
            return RtfListStyle::Square;
    }
    return RtfListStyle::Disc;
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

RtfListStyle RtfListTable::style(int ls, int level) const
{
    const auto list = lists_.constFind(overrides_.value(ls, -1));
    if (list == lists_.constEnd() || level < 0 || level >= list->size())
        return RtfListStyle::Disc;
    return list->at(level);
}

RtfListStyle RtfListTable::styleOf(int numberFormat, const QString& levelText)
{
    switch (numberFormat) {
    case kBullet: return bulletStyle(levelText);
    case kNoNumber: return RtfListStyle::None;
    case 1: return RtfListStyle::UpperRoman;
    case 2: return RtfListStyle::LowerRoman;
    case 3: return RtfListStyle::UpperAlpha;
    case 4: return RtfListStyle::LowerAlpha;
    default: return RtfListStyle::Decimal;
    }
}

int RtfListTable::numberFormatOf(RtfListStyle style)
{
    switch (style) {
    case RtfListStyle::UpperRoman: return 1;
    case RtfListStyle::LowerRoman: return 2;
    case RtfListStyle::UpperAlpha: return 3;
    case RtfListStyle::LowerAlpha: return 4;
    case RtfListStyle::Decimal: return 0;
    default: return kBullet;
    }
}

}  // namespace qmv

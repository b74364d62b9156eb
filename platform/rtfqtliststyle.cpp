#include "platform/rtfqtliststyle.h"

#include <array>
#include <utility>

namespace qmv {
namespace {

constexpr std::array<std::pair<RtfListStyle, QTextListFormat::Style>, 9> kStyles{{
    {RtfListStyle::None, QTextListFormat::ListStyleUndefined},
    {RtfListStyle::Disc, QTextListFormat::ListDisc},
    {RtfListStyle::Circle, QTextListFormat::ListCircle},
    {RtfListStyle::Square, QTextListFormat::ListSquare},
    {RtfListStyle::Decimal, QTextListFormat::ListDecimal},
    {RtfListStyle::LowerAlpha, QTextListFormat::ListLowerAlpha},
    {RtfListStyle::UpperAlpha, QTextListFormat::ListUpperAlpha},
    {RtfListStyle::LowerRoman, QTextListFormat::ListLowerRoman},
    {RtfListStyle::UpperRoman, QTextListFormat::ListUpperRoman},
}};

}  // namespace

QTextListFormat::Style qtListStyle(RtfListStyle style)
{
    for (const auto& [rtf, qt] : kStyles)
        if (rtf == style)
            return qt;
    return QTextListFormat::ListStyleUndefined;
}

RtfListStyle rtfListStyle(QTextListFormat::Style style)
{
    for (const auto& [rtf, qt] : kStyles)
        if (qt == style)
            return rtf;
    return RtfListStyle::Disc;  // styles RTF has no number for show a bullet
}

}  // namespace qmv

#include "platform/rtfcodepage.h"

#include <QStringDecoder>
#include <array>

namespace qmv {
namespace {

// 0x80..0x9F of Windows-1252; the rest of the page is Latin-1. Holes map to themselves.
constexpr std::array<char16_t, 32> kHigh1252 = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QChar from1252(unsigned char b)
{
    if (b >= 0x80 && b < 0xA0)
        return QChar(kHigh1252[b - 0x80]);
    return QChar(b);
}

const char* converterName(int codePage)
{
    switch (codePage) {
    case 437: return "IBM437";
    case 850: return "IBM850";
    case 874: return "windows-874";
    case 932: return "Shift_JIS";
    case 936: return "GBK";
    case 949: return "windows-949";
    case 950: return "Big5";
    case 1250: return "windows-1250";
    case 1251: return "windows-1251";
    case 1253: return "windows-1253";
    case 1254: return "windows-1254";
    case 1255: return "windows-1255";
    case 1256: return "windows-1256";
    case 1257: return "windows-1257";
    case 1258: return "windows-1258";
    case 10000: return "macintosh";
    case 65001: return "UTF-8";
    default: return nullptr;
    }
}

}  // namespace

RtfCodePage::RtfCodePage(int codePage) : number_(codePage)
{
    const char* name = converterName(codePage);
    if (!name || !QStringDecoder(name).isValid())
        number_ = 1252;
}

QString RtfCodePage::decode(const QByteArray& bytes) const
{
    if (number_ != 1252)
        if (const char* name = converterName(number_)) {
            QStringDecoder decoder(name);
            return decoder.decode(bytes);
        }
    QString text;
    text.reserve(bytes.size());
    for (char b : bytes)
        text.append(from1252(static_cast<unsigned char>(b)));
    return text;
}

int RtfCodePage::forCharset(int charset)
{
    switch (charset) {
    case 0: return 1252;
    case 77: return 10000;
    case 128: return 932;
    case 129: return 949;
    case 134: return 936;
    case 136: return 950;
    case 161: return 1253;
    case 162: return 1254;
    case 163: return 1258;
    case 177: return 1255;
    case 178: return 1256;
    case 186: return 1257;
    case 204: return 1251;
    case 222: return 874;
    case 238: return 1250;
    case 254: return 437;
    default: return 0;
    }
}

std::optional<char> toWindows1252(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        return static_cast<char>(u);
    for (std::size_t i = 0; i < kHigh1252.size(); ++i)
        if (kHigh1252[i] == u && u >= 0x100)
            return static_cast<char>(0x80 + i);
    return std::nullopt;
}

}  // namespace qmv

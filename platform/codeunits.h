#pragma once
// Reading digits and separators from either a QString's UTF-16 or raw ASCII bytes with one piece of
// code: the packet's date texts are parsed and checked from both. Header only, any thread.
#include <QByteArrayView>
#include <QStringView>

namespace qmv::codeunits {

struct Utf16 {
    QStringView text;
    qsizetype size() const { return text.size(); }
    char16_t operator[](qsizetype i) const { return text[i].unicode(); }
};

struct Ascii {
    QByteArrayView text;
    qsizetype size() const { return text.size(); }
    char16_t operator[](qsizetype i) const { return char16_t(uchar(text[i])); }
};

// The number written by `count` digits from `from`; -1 when one of them is not a digit.
template <typename Text>
int digits(const Text& text, qsizetype from, qsizetype count)
{
    int value = 0;
    for (qsizetype i = from; i < from + count; ++i) {
        const char16_t c = text[i];
        if (c < u'0' || c > u'9')
            return -1;
        value = value * 10 + (c - u'0');
    }
    return value;
}

}  // namespace qmv::codeunits

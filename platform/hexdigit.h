#pragma once
// The value of one hexadecimal digit, -1 for any other character: the byte escapes of RTF (\'hh)
// and of URLs (%hh) read their digits through it. Any thread.

namespace qmv {

constexpr int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

}  // namespace qmv

#include "platform/rtftokenizer.h"

#include "platform/hexdigit.h"

#include <limits>

namespace qmv {
namespace {

bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

RtfTokenizer::RtfTokenizer(const QByteArray& data, qsizetype start)
    : data_(data.constData()), size_(data.size()), pos_(start)
{
}

RtfToken RtfTokenizer::next()
{
    while (pos_ < size_) {
        const char c = data_[pos_];
        if (c == '\r' || c == '\n' || c == '\0') {
            ++pos_;
            continue;
        }
        if (c == '{' || c == '}') {
            ++pos_;
            return RtfToken{c == '{' ? RtfToken::GroupStart : RtfToken::GroupEnd};
        }
        if (c == '\\')
            return controlSequence();
        return textRun();
    }
    return RtfToken{};
}

void RtfTokenizer::skipBytes(qint64 count)
{
    if (count > 0)
        pos_ = count >= size_ - pos_ ? size_ : pos_ + static_cast<qsizetype>(count);
}

RtfToken RtfTokenizer::controlSequence()
{
    ++pos_;  // the backslash
    if (pos_ >= size_)
        return RtfToken{};
    const char c = data_[pos_];
    if (isLetter(c))
        return word();
    ++pos_;
    if (c == '\'')
        return hexByte();
    RtfToken t{RtfToken::Symbol};
    t.symbol = (c == '\r') ? '\n' : c;
    return t;
}

RtfToken RtfTokenizer::word()
{
    RtfToken t{RtfToken::Word};
    const qsizetype begin = pos_;
    while (pos_ < size_ && isLetter(data_[pos_]))
        ++pos_;
    t.word = std::string_view(data_ + begin, static_cast<std::size_t>(pos_ - begin));
    bool negative = false;
    if (pos_ + 1 < size_ && data_[pos_] == '-' && isDigit(data_[pos_ + 1])) {
        negative = true;
        ++pos_;
    }
    qint64 value = 0;
    constexpr qint64 limit = std::numeric_limits<int>::max();
    while (pos_ < size_ && isDigit(data_[pos_])) {
        t.hasParam = true;
        value = value >= limit ? limit : value * 10 + (data_[pos_] - '0');
        ++pos_;
    }
    value = value > limit ? limit : value;
    t.param = static_cast<int>(negative ? -value : value);
    if (pos_ < size_ && data_[pos_] == ' ')
        ++pos_;  // the delimiter belongs to the word
    return t;
}

RtfToken RtfTokenizer::hexByte()
{
    int value = 0;
    int digits = 0;
    while (digits < 2 && pos_ < size_ && hexDigit(data_[pos_]) >= 0) {
        value = value * 16 + hexDigit(data_[pos_]);
        ++pos_;
        ++digits;
    }
    if (digits == 0)
        return next();  // a lone \' carries nothing
    RtfToken t{RtfToken::HexByte};
    t.param = value;
    return t;
}

RtfToken RtfTokenizer::textRun()
{
    const qsizetype begin = pos_;
    while (pos_ < size_) {
        const char c = data_[pos_];
        if (c == '\\' || c == '{' || c == '}' || c == '\r' || c == '\n' || c == '\0')
            break;
        ++pos_;
    }
    RtfToken t{RtfToken::Text};
    t.word = std::string_view(data_ + begin, static_cast<std::size_t>(pos_ - begin));
    return t;
}

}  // namespace qmv

#pragma once
// Splits RTF bytes into tokens: group braces, control words with their clamped parameter, control
// symbols, \'hh bytes and runs of plain text. Every call consumes input, so reading always ends.
// Plain value type; any thread.
#include <QByteArray>
#include <string_view>

namespace qmv {

struct RtfToken {
    enum Kind { End, GroupStart, GroupEnd, Word, Symbol, HexByte, Text };
    Kind kind = End;
    std::string_view word;   // Word: the letters; Text: the run of bytes
    bool hasParam = false;   // Word: a number followed the letters
    int param = 0;           // Word: the number, clamped to the int range; HexByte: the byte
    char symbol = 0;         // Symbol: the character after the backslash
};

class RtfTokenizer {
public:
    explicit RtfTokenizer(const QByteArray& data, qsizetype start = 0);

    RtfToken next();
    // Skips `count` raw bytes (the data of \binN); clamped to what is left.
    void skipBytes(qint64 count);
    bool atEnd() const { return pos_ >= size_; }

private:
    RtfToken controlSequence();
    RtfToken word();
    RtfToken hexByte();
    RtfToken textRun();

    const char* data_;
    qsizetype size_;
    qsizetype pos_;
};

}  // namespace qmv

#pragma once
// Code pages of RTF text: decodes the bytes of \'hh escapes and encodes text for the writer.
// Windows-1252 is built in; other pages go through Qt's converters, falling back to 1252. Any thread.
#include <QByteArray>
#include <QString>
#include <optional>

namespace qmv {

class RtfCodePage {
public:
    explicit RtfCodePage(int codePage = 1252);

    int number() const { return number_; }
    QString decode(const QByteArray& bytes) const;

    // The code page that an RTF \fcharset value stands for; 0 when the charset names none.
    static int forCharset(int charset);

private:
    int number_;
};

// The Windows-1252 byte of a character, when it has one.
std::optional<char> toWindows1252(QChar c);

}  // namespace qmv

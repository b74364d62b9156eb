#pragma once
// Readable failure messages: GoogleTest prints Qt texts (and lists of them) as text.
#include <QString>
#include <ostream>

inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

#pragma once
// Test helper: a canonical text of a document's paragraphs and formatted runs, so tests can compare
// documents and pin formatting in one readable line per paragraph.
#include <QFont>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextList>

namespace qmv::test {

inline QString dumpFormat(const QTextCharFormat& f)
{
    QString s = f.fontFamilies().toStringList().value(0) + ' ' + QString::number(f.fontPointSize());
    if (f.fontWeight() >= QFont::DemiBold)
        s += " b";
    if (f.fontItalic())
        s += " i";
    if (f.fontUnderline())
        s += " u";
    if (f.fontStrikeOut())
        s += " s";
    if (f.hasProperty(QTextFormat::ForegroundBrush))
        s += " fg" + f.foreground().color().name();
    if (f.hasProperty(QTextFormat::BackgroundBrush))
        s += " bg" + f.background().color().name();
    if (f.verticalAlignment() == QTextCharFormat::AlignSuperScript)
        s += " sup";
    if (f.verticalAlignment() == QTextCharFormat::AlignSubScript)
        s += " sub";
    return s;
}

inline QString dumpBlock(const QTextBlock& b)
{
    const QTextBlockFormat bf = b.blockFormat();
    QString s;
    const Qt::Alignment a = bf.alignment() & Qt::AlignHorizontal_Mask;
    s += a & Qt::AlignJustify ? "J" : a & Qt::AlignHCenter ? "C" : a & Qt::AlignRight ? "R" : "L";
    if (QTextList* l = b.textList())
        s += QStringLiteral(" list%1/%2").arg(-static_cast<int>(l->format().style())).arg(l->format().indent());
    if (bf.leftMargin() || bf.rightMargin() || bf.textIndent())
        s += QStringLiteral(" m%1,%2,%3").arg(bf.leftMargin()).arg(bf.rightMargin()).arg(bf.textIndent());
    if (bf.topMargin() || bf.bottomMargin())
        s += QStringLiteral(" v%1,%2").arg(bf.topMargin()).arg(bf.bottomMargin());
    s += ':';
    for (auto it = b.begin(); !it.atEnd(); ++it)
        s += " [" + it.fragment().text() + "|" + dumpFormat(it.fragment().charFormat()) + "]";
    return s;
}

inline QStringList dumpDocument(const QTextDocument& doc)
{
    QStringList lines;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        lines << dumpBlock(b);
    return lines;
}

}  // namespace qmv::test

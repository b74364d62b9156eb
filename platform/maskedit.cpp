#include "platform/maskedit.h"

#include <QMouseEvent>

namespace qmv {

namespace {

// Qt's inputMask as the edit gives it back: the mask, then ";" and the blank character unless
// that is a space.
struct QtMask {
    QStringView mask;
    QChar blank = QLatin1Char(' ');
};

QtMask split(const QString& inputMask)
{
    const qsizetype n = inputMask.size();
    if (n >= 2 && inputMask[n - 2] == QLatin1Char(';') && (n < 3 || inputMask[n - 3] != QLatin1Char('\\')))
        return {QStringView(inputMask).left(n - 2), inputMask[n - 1]};
    return {QStringView(inputMask)};
}

// Which positions of the mask take a character (the others show a literal).
QList<bool> inputPositions(QStringView mask)
{
    QList<bool> positions;
    for (qsizetype i = 0; i < mask.size(); ++i) {
        const QChar c = mask[i];
        if (c == QLatin1Char('\\')) {
            positions << false;
            ++i;
        } else if (!QStringView(u"<>!").contains(c)) {
            positions << QStringView(u"AaNnXx90Dd#HhBb").contains(c);
        }
    }
    return positions;
}

}  // namespace

MaskEdit::MaskEdit(QWidget* parent) : QLineEdit(parent) {}

bool MaskEdit::nothingTyped() const
{
    const QString qtMask = inputMask();
    if (qtMask.isEmpty())
        return false;
    const auto [mask, blank] = split(qtMask);
    const QList<bool> input = inputPositions(mask);
    const QString shown = displayText();
    for (qsizetype i = 0; i < input.size() && i < shown.size(); ++i)
        if (input[i] && shown[i] != blank)
            return false;
    return true;
}

void MaskEdit::mousePressEvent(QMouseEvent* event)
{
    QLineEdit::mousePressEvent(event);
    if (event->button() == Qt::LeftButton && nothingTyped())
        setCursorPosition(0);
}

}  // namespace qmv

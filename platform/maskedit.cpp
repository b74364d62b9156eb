#include "platform/maskedit.h"

#include <QMouseEvent>

namespace qmv {

namespace {

// Which positions of a Qt inputMask take a character (the others show a literal).
QList<bool> inputPositions(const QString& inputMask)
{
    const qsizetype end = inputMask.lastIndexOf(QLatin1Char(';'));
    const QStringView mask = QStringView(inputMask).left(end < 0 ? inputMask.size() : end);
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
    const QString mask = inputMask();
    if (mask.isEmpty())
        return false;
    const QChar blank = mask.back();
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

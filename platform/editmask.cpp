#include "platform/editmask.h"

#include <QStringList>
#include <algorithm>

namespace qmv {

namespace {

bool isCode(QChar c)
{
    return QStringView(u"09#LlAaCc").contains(c);
}

// Module letter -> Qt inputMask letter of the same meaning.
QChar qtCode(QChar code)
{
    switch (code.unicode()) {
    case '0': return '9';
    case '9': return '0';
    case '#': return '#';
    case 'L': return 'A';
    case 'l': return 'a';
    case 'A': return 'N';
    case 'a': return 'n';
    case 'C': return 'X';
    default: return 'x';
    }
}

bool isQtSpecial(QChar c)
{
    return QStringView(u"AaNnXx90Dd#HhBb><!\\[]{};").contains(c);
}

}  // namespace

EditMask::EditMask(const QString& notation)
{
    // The mask ends at the last two unescaped semicolons, when they are there.
    QStringList parts;
    QString mask = notation;
    const qsizetype second = notation.lastIndexOf(';');
    const qsizetype first = second > 0 ? notation.lastIndexOf(';', second - 1) : -1;
    if (first >= 0 && (first == 0 || notation[first - 1] != '\\') && second - first == 2) {
        mask = notation.left(first);
        saveLiterals_ = notation[first + 1] != '0';
        blank_ = second + 1 < notation.size() ? notation[second + 1] : QChar(' ');
    }
    Case current = Case::None;
    for (qsizetype i = 0; i < mask.size(); ++i) {
        const QChar c = mask[i];
        if (c == '<' && i + 1 < mask.size() && mask[i + 1] == '>') {
            current = Case::None;
            ++i;
        } else if (c == '>') {
            current = Case::Upper;
        } else if (c == '<') {
            current = Case::Lower;
        } else if (c == '\\' && i + 1 < mask.size()) {
            slots_.append({mask[++i], true, current});
        } else {
            slots_.append({c, !isCode(c), current});
        }
    }
}

bool EditMask::required(QChar code) { return code == '0' || code == 'L' || code == 'A' || code == 'C'; }

bool EditMask::fits(int position, QChar c) const
{
    if (position < 0 || position >= slots_.size())
        return false;
    const Slot& slot = slots_[position];
    if (slot.literal)
        return c == slot.code;
    switch (slot.code.toLatin1()) {
    case '0':
    case '9': return c.isDigit();
    case '#': return c.isDigit() || c == '+' || c == '-';
    case 'L':
    case 'l': return c.isLetter();
    case 'A':
    case 'a': return c.isLetterOrNumber();
    default: return !c.isNull();
    }
}

QChar EditMask::shaped(const Slot& slot, QChar c) const
{
    if (slot.letterCase == Case::Upper)
        return c.toUpper();
    if (slot.letterCase == Case::Lower)
        return c.toLower();
    return c;
}

QString EditMask::inputMask() const
{
    if (slots_.isEmpty())
        return {};
    QString qt;
    Case current = Case::None;
    for (const Slot& slot : slots_) {
        if (slot.letterCase != current) {
            qt += slot.letterCase == Case::Upper ? '>' : slot.letterCase == Case::Lower ? '<' : '!';
            current = slot.letterCase;
        }
        if (slot.literal)
            qt += isQtSpecial(slot.code) ? QString('\\') + slot.code : QString(slot.code);
        else
            qt += qtCode(slot.code);
    }
    return qt + ';' + blank_;
}

QString EditMask::format(const QString& value) const
{
    if (slots_.isEmpty())
        return value;
    QString text;
    qsizetype next = 0;
    for (const Slot& slot : slots_) {
        if (slot.literal) {
            text += slot.code;
            if (saveLiterals_ && next < value.size() && value[next] == slot.code)
                ++next;
        } else {
            text += next < value.size() ? value[next++] : blank_;
        }
    }
    return text + value.mid(next);
}

bool EditMask::isBlank(const QString& text) const
{
    const auto isLiteral = [this](QChar c) {
        return std::any_of(slots_.begin(), slots_.end(), [c](const Slot& slot) { return slot.literal && slot.code == c; });
    };
    return std::all_of(text.begin(), text.end(), [&](QChar c) { return c == blank_ || c == ' ' || isLiteral(c); });
}

bool EditMask::literalAhead(int position, QChar c) const
{
    for (int next = position + 1; next < slots_.size(); ++next)
        if (slots_[next].literal)
            return slots_[next].code == c;
    return false;
}

std::optional<QString> EditMask::accept(const QString& text) const
{
    if (slots_.isEmpty())
        return text;
    if (isBlank(text))
        return QString();
    QString value;
    qsizetype next = 0;
    for (int position = 0; position < slots_.size(); ++position) {
        const Slot& slot = slots_[position];
        if (slot.literal) {
            if (next < text.size() && text[next] == slot.code)
                ++next;
            if (saveLiterals_)
                value += slot.code;
            continue;
        }
        const QChar c = next < text.size() ? text[next++] : blank_;
        if (c == blank_ || c == ' ') {
            if (required(slot.code))
                return std::nullopt;
            continue;
        }
        if (!fits(position, c)) {
            if (required(slot.code) || !literalAhead(position, c))
                return std::nullopt;
            --next;  // the editor dropped this position's blank: the character is the literal ahead
            continue;
        }
        value += shaped(slot, c);
    }
    if (next < text.size() && !text.mid(next).trimmed().isEmpty())
        return std::nullopt;
    return value;
}

}  // namespace qmv

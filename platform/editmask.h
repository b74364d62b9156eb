#pragma once
// Edit masks in the module's notation "mask;save-literals;blank": ">" upper case from here on,
// "<" lower case, "<>" no case change, "0" required digit, "9" optional digit, "#" optional digit
// or sign, "L"/"l" required/optional letter, "A"/"a" required/optional letter or digit,
// "C"/"c" required/optional character, "\" the next character literally, anything else a
// literal. Save-literals "0" stores the value without the literals. This is the one place that
// translates it for Qt's widgets, whose inputMask uses the same letters with other meanings.
// Plain value; any thread.
#include <QList>
#include <QString>
#include <optional>

namespace qmv {

class EditMask {
public:
    explicit EditMask(const QString& notation = QString());

    bool isEmpty() const { return slots_.isEmpty(); }
    bool saveLiterals() const { return saveLiterals_; }
    QChar blank() const { return blank_; }

    // The equivalent QLineEdit::inputMask, blank character included.
    QString inputMask() const;
    // The text an editor shows for a stored value: literals in place, empty positions blank.
    QString format(const QString& value) const;
    // The value to store for text typed into the editor, given with or without its literals and
    // with or without its blanks (QLineEdit::text drops them): case applied, blanks in optional
    // positions dropped, literals kept only when saved. A text with nothing typed is no value (an
    // empty string). nullopt when a required position is empty or a character does not fit.
    std::optional<QString> accept(const QString& text) const;
    // Whether no position of the mask holds a typed character.
    bool isBlank(const QString& text) const;
    // Whether a character may stand at input position `position` (0-based over the mask).
    bool fits(int position, QChar c) const;

private:
    enum class Case { None, Upper, Lower };
    struct Slot {
        QChar code;     // the mask letter, or the literal itself
        bool literal = false;
        Case letterCase = Case::None;
    };

    static bool required(QChar code);
    bool literalAhead(int position, QChar c) const;  // c is the first literal after position
    QChar shaped(const Slot& slot, QChar c) const;

    QList<Slot> slots_;
    bool saveLiterals_ = true;
    QChar blank_ = ' ';
};

}  // namespace qmv

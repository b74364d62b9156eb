#pragma once
// One column of a DataSet, read and written through the dataset's current record (or the row
// being edited): typed access, null, old value, display text with hooks, size cut on write.
// Owned by its DataSet and valid while the dataset keeps the field; UI thread only.
#include "platform/packet.h"

#include <QDateTime>
#include <functional>
#include <optional>

namespace qmv {

class DataSet;

class Field {
public:
    Field(DataSet& dataSet, FieldDef def, bool declared);
    Field(const Field&) = delete;
    Field& operator=(const Field&) = delete;

    DataSet& dataSet() const { return dataSet_; }
    const FieldDef& def() const { return def_; }
    const QString& name() const { return def_.name; }
    FieldKind kind() const { return def_.kind; }
    int size() const { return def_.size; }
    bool isCalculated() const { return def_.kind == FieldKind::Calculated; }
    bool isDeclared() const { return declared_; }  // false for a column found only in a packet
    int index() const { return index_; }  // position in the dataset's field list

    QString label() const { return def_.label.isEmpty() ? def_.name : def_.label; }
    void setLabel(const QString& label) { def_.label = label; }
    bool visible() const { return def_.visible; }
    void setVisible(bool visible) { def_.visible = visible; }
    bool required() const { return def_.required; }
    void setRequired(bool required) { def_.required = required; }
    bool readOnly() const { return readOnly_; }
    void setReadOnly(bool readOnly) { readOnly_ = readOnly; }
    QString editMask() const { return def_.editMask; }  // "mask;save-literals;blank", see editmask.h
    void setEditMask(const QString& mask) { def_.editMask = mask; }
    QString displayFormat() const { return def_.displayFormat; }  // see displayformat.h
    void setDisplayFormat(const QString& format) { def_.displayFormat = format; }

    // The value in the current record; null (invalid) when none is current.
    QVariant value() const;
    // Writes the current record: the dataset must be editing (edit, insert) or computing the
    // calculated fields, else DataSetError. Texts longer than the size are cut and an empty text
    // stores null; text for a number or date field is parsed (DataSetError when it is not one).
    void setValue(const QVariant& value);
    bool isNull() const;
    void clear() { setValue(QVariant()); }
    // The value the record had before its pending changes (as loaded or last merged); null for an
    // inserted record.
    QVariant oldValue() const;

    QString asString() const;  // empty for null
    void setAsString(const QString& text);
    // 0 for null; DataSetError for text that is not a number. A date reads as its day number
    // counted from 30/12/1899 (time of day as the fraction), and setAsFloat takes one back.
    double asFloat() const;
    std::optional<double> floatValue() const;  // nullopt for null or text that is not a number
    void setAsFloat(double value);
    qint64 asInteger() const;
    void setAsInteger(qint64 value);
    QDateTime asDateTime() const;  // invalid for null
    void setAsDateTime(const QDateTime& value);
    QByteArray asBytes() const;
    void setAsBytes(const QByteArray& bytes);

    // The text shown for the value (the display format for numbers and dates, the edit mask for
    // texts) and the text an editor starts from (asString); onGetText, when set, receives that
    // text and may replace it.
    QString displayText() const;
    QString editText() const;
    // Writes text typed by a person: onSetText when set, else setAsString.
    void setText(const QString& text);

    // The hooks of the form: the text to show for the field (text starts as asString) ...
    std::function<void(Field& sender, QString& text, bool displayText)> onGetText;
    // ... and what to store for typed text.
    std::function<void(Field& sender, const QString& text)> onSetText;
    // Runs after the field's value changed in the record being edited.
    std::function<void(Field& sender)> onChange;

    // The same readings for any row of the dataset's view, without moving the current record;
    // for grids. Hooks see the field as if that row were current.
    QVariant valueAt(int row) const;
    QString displayTextAt(int row) const;

private:
    friend class DataSet;
    QString formatted(const QVariant& value) const;
    QVariant coerced(const QVariant& value) const;

    DataSet& dataSet_;
    FieldDef def_;
    bool declared_ = true;
    bool readOnly_ = false;
    int index_ = -1;
};

}  // namespace qmv

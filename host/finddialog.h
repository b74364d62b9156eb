#pragma once
// The find window: a field of the dataset (its visible fields) and a value; finding makes the first
// record whose field starts with the value (any letter case) current and closes with Accepted; a
// value not found keeps the window open and says so. UI thread only.
#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;

namespace qmv {

class DataSet;

class FindDialog : public QDialog {
    Q_OBJECT
public:
    explicit FindDialog(DataSet& dataSet, QWidget* parent = nullptr);

    QComboBox* fieldBox() const { return fields_; }
    QLineEdit* valueBox() const { return value_; }
    QLabel* statusLabel() const { return status_; }

    // Looks the value up; true (and Accepted) when a record was found.
    bool find();

private:
    DataSet& dataSet_;
    QComboBox* fields_;
    QLineEdit* value_;
    QLabel* status_;
};

}  // namespace qmv

#pragma once
// The search-list window: the rows of a data source's dataset over its visible fields, sorted by
// the column whose title is clicked, with a box that moves to the first row starting with (or else
// containing) what is typed, in the sorted column or, before any sort, in any column. Single pick
// (the row picked can be made current) or many picks (the values of one field of the rows marked).
// UI thread only.
#include <QDialog>

class QLineEdit;
class QSortFilterProxyModel;
class QTableView;

namespace qmv {

class DataSetModel;
class DataSource;

class SearchListDialog : public QDialog {
    Q_OBJECT
public:
    enum Mode { Single, Many };

    SearchListDialog(DataSource& source, const QString& title, Mode mode, QWidget* parent = nullptr);

    QList<int> pickedRows() const;  // rows of the dataset's view, in the dataset's order
    // Makes the picked row current; false when none was picked.
    bool positionOnPick() const;
    QStringList pickedValues(const QString& fieldName) const;

    QTableView* table() const { return table_; }
    QLineEdit* searchBox() const { return search_; }

private:
    void searchFor(const QString& text);
    QList<int> searchedColumns() const;

    DataSource& source_;
    DataSetModel* model_;
    QSortFilterProxyModel* sorted_;
    QTableView* table_;
    QLineEdit* search_;
};

}  // namespace qmv

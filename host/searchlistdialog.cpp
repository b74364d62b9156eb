#include "host/searchlistdialog.h"

#include <QCollator>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

#include "host/listsearch.h"
#include "platform/datasetmodel.h"
#include "platform/datasource.h"

namespace qmv {

namespace {

// Codes and numbers sort as a person reads them: "1.04.010" after "1.04.9", "10" after "9".
class ListSorter : public QSortFilterProxyModel {
public:
    explicit ListSorter(QObject* parent) : QSortFilterProxyModel(parent) { collator_.setNumericMode(true); }

protected:
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override
    {
        return collator_.compare(left.data().toString(), right.data().toString()) < 0;
    }

private:
    QCollator collator_;
};

}  // namespace

SearchListDialog::SearchListDialog(DataSource& source, const QString& title, Mode mode, QWidget* parent)
    : QDialog(parent)
    , source_(source)
    , model_(new DataSetModel(this))
    , sorted_(new ListSorter(this))
    , table_(new QTableView(this))
    , search_(new QLineEdit(this))
{
    setObjectName(QStringLiteral("frmPesquisa"));
    setWindowTitle(title);
    model_->setReadOnly(true);
    model_->setDataSet(source.dataSet());
    table_->setObjectName(QStringLiteral("dbgPesquisa"));
    sorted_->setSourceModel(model_);
    sorted_->setSortCaseSensitivity(Qt::CaseInsensitive);
    table_->setModel(sorted_);
    table_->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);  // the order it came in
    table_->setSortingEnabled(true);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(mode == Single ? QAbstractItemView::SingleSelection
                                            : QAbstractItemView::MultiSelection);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->resizeColumnsToContents();
    search_->setObjectName(QStringLiteral("edtProcura"));
    search_->setPlaceholderText(QStringLiteral("Procurar"));

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("Confirmar"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("Cancelar"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        if (!pickedRows().isEmpty())
            accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(search_, &QLineEdit::textEdited, this, &SearchListDialog::searchFor);
    if (mode == Single)
        connect(table_, &QAbstractItemView::doubleClicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(search_);
    layout->addWidget(table_);
    layout->addWidget(buttons);
    resize(560, 360);

    const DataSet* ds = source.dataSet();
    if (mode == Single && ds && ds->currentRow() >= 0)
        table_->selectRow(sorted_->mapFromSource(model_->index(ds->currentRow(), 0)).row());
    search_->setFocus();
}

void SearchListDialog::searchFor(const QString& text)
{
    const int row = findListRow(*sorted_, searchedColumns(), text);
    if (row < 0)
        return;
    const int column = std::max(table_->horizontalHeader()->sortIndicatorSection(), 0);
    table_->setCurrentIndex(sorted_->index(row, column));
    if (table_->selectionMode() == QAbstractItemView::SingleSelection)
        table_->selectRow(row);
}

QList<int> SearchListDialog::searchedColumns() const
{
    const int sortedBy = table_->horizontalHeader()->sortIndicatorSection();
    if (sortedBy >= 0 && sortedBy < sorted_->columnCount())
        return {sortedBy};
    QList<int> all;
    for (int column = 0; column < sorted_->columnCount(); ++column)
        all << column;
    return all;
}

QList<int> SearchListDialog::pickedRows() const
{
    QList<int> rows;
    for (const QModelIndex& index : table_->selectionModel()->selectedRows())
        rows << sorted_->mapToSource(index).row();
    std::sort(rows.begin(), rows.end());
    return rows;
}

bool SearchListDialog::positionOnPick() const
{
    const QList<int> rows = pickedRows();
    DataSet* ds = source_.dataSet();
    if (rows.isEmpty() || !ds)
        return false;
    ds->setRecNo(rows.first() + 1);
    return true;
}

QStringList SearchListDialog::pickedValues(const QString& fieldName) const
{
    QStringList values;
    DataSet* ds = source_.dataSet();
    if (!ds)
        return values;
    const Field& field = ds->fieldByName(fieldName);
    for (int row : pickedRows())
        values << field.valueAt(row).toString();
    return values;
}

}  // namespace qmv

#include "host/searchlistdialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

#include "platform/datasetmodel.h"
#include "platform/datasource.h"

namespace qmv {

SearchListDialog::SearchListDialog(DataSource& source, const QString& title, Mode mode, QWidget* parent)
    : QDialog(parent)
    , source_(source)
    , model_(new DataSetModel(this))
    , table_(new QTableView(this))
    , search_(new QLineEdit(this))
{
    setObjectName(QStringLiteral("frmPesquisa"));
    setWindowTitle(title);
    model_->setReadOnly(true);
    model_->setDataSet(source.dataSet());
    table_->setObjectName(QStringLiteral("dbgPesquisa"));
    table_->setModel(model_);
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
        table_->selectRow(ds->currentRow());
    search_->setFocus();
}

void SearchListDialog::searchFor(const QString& text)
{
    if (text.isEmpty() || model_->columnCount() == 0)
        return;
    for (int row = 0; row < model_->rowCount(); ++row) {
        const QString shown = model_->data(model_->index(row, 0)).toString();
        if (shown.startsWith(text, Qt::CaseInsensitive)) {
            table_->setCurrentIndex(model_->index(row, 0));
            if (table_->selectionMode() == QAbstractItemView::SingleSelection)
                table_->selectRow(row);
            return;
        }
    }
}

QList<int> SearchListDialog::pickedRows() const
{
    QList<int> rows;
    for (const QModelIndex& index : table_->selectionModel()->selectedRows())
        rows << index.row();
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

#include "platform/dbgrid.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QStyledItemDelegate>

#include "platform/datasetmodel.h"
#include "platform/datasource.h"
#include "platform/editmask.h"
#include "platform/widgetaction.h"

namespace qmv {

namespace {

class DBGridDelegate : public QStyledItemDelegate {
public:
    explicit DBGridDelegate(DBGrid& grid) : QStyledItemDelegate(&grid), grid_(grid) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::paint(painter, option, index);
        if (grid_.onDrawColumnCell) {
            painter->save();
            runWidgetAction([&] {
                grid_.onDrawColumnCell(grid_, *painter, option.rect, index.column(),
                                       grid_.dataModel()->fieldAt(index.column()), option.state);
            });
            painter->restore();
        }
        if (grid_.showsEditButton(index)) {
            QStyleOptionButton button;
            button.rect = grid_.editButtonRect(index);
            button.text = QStringLiteral("...");
            button.state = QStyle::State_Enabled | QStyle::State_Raised;
            grid_.style()->drawControl(QStyle::CE_PushButton, &button, painter, &grid_);
        }
    }

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const override
    {
        auto* editor = new QLineEdit(parent);
        editor->setFrame(false);
        const Field* field = grid_.dataModel()->fieldAt(index.column());
        const EditMask mask(field ? field->editMask() : QString());
        if (!mask.isEmpty())
            editor->setInputMask(mask.inputMask());
        else if (field && field->size() > 0
                 && (field->kind() == FieldKind::Text || field->kind() == FieldKind::FixedText))
            editor->setMaxLength(field->size());
        if (onEditorCreated)
            onEditorCreated(editor, index);
        return editor;
    }

    // A cell the person has typed in keeps their text when the record changes under it (the edit
    // their first key started repaints the row).
    void setEditorData(QWidget* editor, const QModelIndex& index) const override
    {
        const EditMask mask = maskOf(index);
        auto* line = static_cast<QLineEdit*>(editor);
        if (line->isModified())
            return;
        const QString text = index.data(Qt::EditRole).toString();
        line->setText(mask.isEmpty() ? text : mask.format(text));
    }

    // Text the field's mask refuses is reported and not written.
    void setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex& index) const override
    {
        runWidgetAction([&] { writeCell(static_cast<QLineEdit*>(editor)->text(), index); });
    }

    // Throws when the field's mask refuses the text.
    void writeCell(const QString& text, const QModelIndex& index) const
    {
        const EditMask mask = maskOf(index);
        if (mask.isEmpty())
            return grid_.dataModel()->writeCell(index, text);
        const std::optional<QString> value = mask.accept(text);
        if (!value)
            throw DataSetError(QStringLiteral("Valor inválido: \"%1\".").arg(text.trimmed()).toStdString());
        grid_.dataModel()->writeCell(index, *value);
    }

    std::function<void(QLineEdit*, const QModelIndex&)> onEditorCreated;

private:
    EditMask maskOf(const QModelIndex& index) const
    {
        const Field* field = grid_.dataModel()->fieldAt(index.column());
        return EditMask(field ? field->editMask() : QString());
    }

    DBGrid& grid_;
};

}  // namespace

DBGrid::DBGrid(QWidget* parent, const QString& name)
    : QTableView(parent)
    , model_(new DataSetModel(this))
{
    setObjectName(name);
    setModel(model_);
    auto* delegate = new DBGridDelegate(*this);
    delegate->onEditorCreated = [this](QLineEdit* editor, const QModelIndex& index) {
        editor_ = editor;
        editorIndex_ = index;
        connect(editor, &QLineEdit::textEdited, this, &DBGrid::cellEdited);
    };
    setItemDelegate(delegate);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                    | QAbstractItemView::AnyKeyPressed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setSectionsClickable(true);
    horizontalHeader()->setHighlightSections(false);
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this,
            [this](int section) { fireCellEvent(onTitleClick, section); });
    connect(this, &QAbstractItemView::clicked, this,
            [this](const QModelIndex& index) { fireCellEvent(onCellClick, index.column()); });
    connect(model_, &QAbstractItemModel::modelReset, this, [this] {
        applyColumnWidths();
        syncFromDataSet();
    });
}

DBGrid::~DBGrid() = default;

void DBGrid::setDataSource(DataSource* source)
{
    if (source_)
        disconnect(source_, nullptr, this, nullptr);
    source_ = source;
    if (source)
        connect(source, &DataSource::dataSetChanged, this, &DBGrid::bindDataSet);
    bindDataSet();
}

DataSet* DBGrid::dataSet() const
{
    return source_ ? source_->dataSet() : nullptr;
}

void DBGrid::bindDataSet()
{
    for (const auto& c : dataSetConnections_)
        disconnect(c);
    dataSetConnections_.clear();
    if (bound_)
        bound_->removeRecordUpdaters(this);
    bound_ = dataSet();
    if (bound_) {
        dataSetConnections_ << connect(bound_, &DataSet::currentRowChanged, this, &DBGrid::syncFromDataSet);
        dataSetConnections_ << connect(bound_, &DataSet::stateChanged, this, [this](DataSetState state) {
            if (state != DataSetState::Edit && state != DataSetState::Insert && !committing_)
                closeEditorReverting();  // the record was cancelled or closed under the open cell
        });
        bound_->addRecordUpdater(this, [this] { commitEditor(); });
    }
    model_->setDataSet(bound_);
}

// The first change typed into a cell puts the record in edit, so that the screen knows at once
// that something is pending; an edit the dataset refuses takes the typed text back.
void DBGrid::cellEdited()
{
    DataSet* ds = bound_;
    if (!ds || ds->state() != DataSetState::Browse || !editorIndex_.isValid()
        || editorIndex_.row() != ds->currentRow())
        return;
    if (!runWidgetAction([ds] { ds->edit(); }))
        closeEditorReverting();
}

void DBGrid::commitEditor()
{
    if (!editor_ || committing_)
        return;
    const QPointer<QLineEdit> editor = editor_;
    committing_ = true;
    try {
        static_cast<DBGridDelegate*>(itemDelegate())->writeCell(editor->text(), editorIndex_);
    } catch (...) {
        committing_ = false;
        throw;
    }
    committing_ = false;
    if (editor)
        closeEditor(editor, QAbstractItemDelegate::NoHint);
}

void DBGrid::closeEditorReverting()
{
    if (editor_)
        closeEditor(editor_, QAbstractItemDelegate::RevertModelCache);
}

void DBGrid::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint)
{
    if (editor == editor_) {
        editor_.clear();
        editorIndex_ = QPersistentModelIndex();
    }
    QTableView::closeEditor(editor, hint);
}

void DBGrid::setColumns(const QList<DBGridColumn>& columns)
{
    columns_ = columns;
    applyColumns();
}

int DBGrid::addColumn(const DBGridColumn& column)
{
    columns_ << column;
    applyColumns();
    return int(columns_.size()) - 1;
}

int DBGrid::columnCount() const
{
    return model_->columnCount();
}

QString DBGrid::columnField(int column) const
{
    const QStringList names = model_->fieldNames();
    if (column >= 0 && column < names.size())
        return names[column];
    const Field* field = model_->fieldAt(column);
    return field ? field->name() : QString();
}

void DBGrid::setColumnButtonStyle(int column, ButtonStyle style)
{
    if (column < 0 || column >= columns_.size())
        return;
    columns_[column].buttonStyle = style;
    viewport()->update();
}

void DBGrid::setColumnReadOnly(int column, bool readOnly)
{
    if (column < 0 || column >= columns_.size())
        return;
    columns_[column].readOnly = readOnly;
    applyColumns();
}

void DBGrid::setColumnTitle(int column, const QString& title, Qt::Alignment alignment)
{
    if (column < 0 || column >= columns_.size())
        return;
    columns_[column].title = title;
    columns_[column].titleAlignment = alignment;
    applyColumns();
}

void DBGrid::applyColumns()
{
    QStringList names, titles;
    QList<Qt::Alignment> alignments;
    QList<bool> readOnly;
    for (const DBGridColumn& c : columns_) {
        names << c.fieldName;
        titles << c.title;
        alignments << c.titleAlignment;
        readOnly << c.readOnly;
    }
    model_->setTitles(titles);
    model_->setTitleAlignments(alignments);
    model_->setReadOnlyColumns(readOnly);
    model_->setFieldNames(names);  // resets the model, which applies the widths
}

void DBGrid::applyColumnWidths()
{
    for (int i = 0; i < columns_.size() && i < model_->columnCount(); ++i)
        if (columns_[i].width > 0)
            setColumnWidth(i, columns_[i].width);
}

int DBGrid::selectedIndex() const
{
    return currentIndex().isValid() ? currentIndex().column() : (columnCount() > 0 ? 0 : -1);
}

void DBGrid::setSelectedIndex(int column)
{
    if (column < 0 || column >= columnCount())
        return;
    // The dataset's row, not the view's: a refused move runs while the view already shows the next.
    const int row = bound_ && bound_->isActive() ? bound_->currentRow()
                                                 : (currentIndex().isValid() ? currentIndex().row() : -1);
    if (row < 0 || row >= model_->rowCount())
        return;
    syncing_ = true;
    setCurrentIndex(model_->index(row, column));
    syncing_ = false;
}

Field* DBGrid::selectedField() const
{
    return model_->fieldAt(selectedIndex());
}

void DBGrid::setReadOnly(bool readOnly)
{
    readOnly_ = readOnly;
    model_->setReadOnly(readOnly);
    setEditTriggers(readOnly ? QAbstractItemView::NoEditTriggers
                             : QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                                   | QAbstractItemView::AnyKeyPressed);
}

void DBGrid::setRowSelect(bool rowSelect)
{
    setSelectionBehavior(rowSelect ? QAbstractItemView::SelectRows : QAbstractItemView::SelectItems);
}

bool DBGrid::showsEditButton(const QModelIndex& index) const
{
    const int column = index.column();
    return index.isValid() && column < columns_.size() && columns_[column].buttonStyle == ButtonStyle::Ellipsis
        && index == currentIndex();
}

QRect DBGrid::editButtonRect(const QModelIndex& index) const
{
    if (!showsEditButton(index))
        return {};
    const QRect cell = visualRect(index);
    const int width = qMin(cell.height(), 20);
    return QRect(cell.right() - width + 1, cell.top(), width, cell.height());
}

void DBGrid::syncFromDataSet()
{
    DataSet* ds = bound_;
    const int row = ds && ds->isActive() ? ds->currentRow() : -1;
    const QModelIndex now = currentIndex();
    if (row < 0 || row >= model_->rowCount()) {
        if (now.isValid() && row < 0) {
            syncing_ = true;
            selectionModel()->clear();
            syncing_ = false;
        }
        return;
    }
    const int column = now.isValid() ? now.column() : qBound(0, lastColumn_, qMax(model_->columnCount() - 1, 0));
    const QModelIndex target = model_->index(row, column);
    if (target == now && selectionModel()->isSelected(target))
        return;
    syncing_ = true;
    const auto flags = QItemSelectionModel::ClearAndSelect
        | (selectionBehavior() == SelectRows ? QItemSelectionModel::Rows : QItemSelectionModel::NoUpdate);
    selectionModel()->setCurrentIndex(target, flags);
    syncing_ = false;
    scrollTo(target);
}

void DBGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    QTableView::currentChanged(current, previous);  // commits an open editor to the old cell first
    if (current.isValid())
        lastColumn_ = current.column();  // kept across a reload of the rows
    viewport()->update();                           // the ellipsis follows the current cell
    DataSet* ds = bound_;
    if (syncing_ || !ds || !current.isValid() || current.row() == ds->currentRow())
        return;
    runWidgetAction([&] { ds->setRecNo(current.row() + 1); });
    syncFromDataSet();  // a refused move keeps the grid on the dataset's row
}

bool DBGrid::handleInsertKeys(int key, Qt::KeyboardModifiers modifiers)
{
    DataSet* ds = bound_;
    if (readOnly_ || !ds || !ds->isActive() || modifiers != Qt::NoModifier || state() == EditingState)
        return false;
    if (key == Qt::Key_Insert) {
        runWidgetAction([&] { ds->insert(); });
    } else if (key == Qt::Key_Down) {
        const int rows = model_->rowCount();
        if (rows > 0 && currentIndex().row() < rows - 1)
            return false;
        if (ds->state() == DataSetState::Insert && !ds->modified())
            return true;  // the new row is still blank: no second one
        runWidgetAction([&] { ds->append(); });
    } else {
        return false;
    }
    syncFromDataSet();
    return true;
}

bool DBGrid::handleDeleteKey(int key, Qt::KeyboardModifiers modifiers)
{
    DataSet* ds = bound_;
    if (key != Qt::Key_Delete || (modifiers & ~Qt::KeypadModifier) != Qt::ControlModifier || readOnly_
        || !confirmDelete || !ds || !ds->isActive() || ds->isEmpty() || state() == EditingState)
        return false;
    runWidgetAction([&] {
        if (confirmDelete(*this))
            ds->remove();
    });
    syncFromDataSet();
    return true;
}

void DBGrid::keyPressEvent(QKeyEvent* event)
{
    if (onKeyDown) {
        int key = event->key();
        const bool ran = runWidgetAction([&] { onKeyDown(*this, key, event->modifiers()); });
        if (!ran || key == 0)
            return event->accept();
    }
    if (onKeyPress && !event->text().isEmpty()) {
        QChar ch = event->text().at(0);
        const bool ran = runWidgetAction([&] { onKeyPress(*this, ch); });
        if (!ran || ch.isNull())
            return event->accept();
    }
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && (event->modifiers() & Qt::ControlModifier) && showsEditButton(currentIndex())) {
        fireCellEvent(onEditButtonClick, currentIndex().column());
        return event->accept();
    }
    if (handleInsertKeys(event->key(), event->modifiers()) || handleDeleteKey(event->key(), event->modifiers()))
        return event->accept();
    DataSet* ds = bound_;
    if (event->key() == Qt::Key_Escape && state() != EditingState && ds
        && (ds->state() == DataSetState::Edit || ds->state() == DataSetState::Insert)) {
        runWidgetAction([&] { ds->cancel(); });
        syncFromDataSet();
        return event->accept();
    }
    QTableView::keyPressEvent(event);
    syncFromDataSet();
}

void DBGrid::mousePressEvent(QMouseEvent* event)
{
    const QModelIndex index = indexAt(event->position().toPoint());
    if (editButtonRect(index).contains(event->position().toPoint())) {
        pressOnButton_ = true;
        return event->accept();
    }
    QTableView::mousePressEvent(event);
    syncFromDataSet();
}

void DBGrid::mouseReleaseEvent(QMouseEvent* event)
{
    if (pressOnButton_) {
        pressOnButton_ = false;
        const QModelIndex index = indexAt(event->position().toPoint());
        if (editButtonRect(index).contains(event->position().toPoint()))
            fireCellEvent(onEditButtonClick, index.column());
        return event->accept();
    }
    QTableView::mouseReleaseEvent(event);
}

void DBGrid::mouseDoubleClickEvent(QMouseEvent* event)
{
    const QModelIndex index = indexAt(event->position().toPoint());
    if (editButtonRect(index).contains(event->position().toPoint()))
        return event->accept();
    if (onDblClick)
        runWidgetAction([&] { onDblClick(*this); });
    QTableView::mouseDoubleClickEvent(event);
}

void DBGrid::fireCellEvent(const std::function<void(DBGrid&, int)>& handler, int column)
{
    if (handler)
        runWidgetAction([&] { handler(*this, column); });
}

}  // namespace qmv

#pragma once
// A grid over a data source: declared columns (field, width, read-only, title and its alignment,
// an ellipsis button), owner-drawn cells and the form's click, key and button events. The grid and
// the dataset share one current row: moving either moves the other, leaving a row posts it, and a
// post that fails keeps the grid on that row. Insert, and the down arrow on the last row, insert
// through the dataset (so its before-insert can refuse). UI thread only.
#include <QColor>
#include <QLineEdit>
#include <QPersistentModelIndex>
#include <QPointer>
#include <QStyle>
#include <QTableView>
#include <functional>

#include "platform/datasource.h"

namespace qmv {

class DataSetModel;

enum class ButtonStyle { Auto, Ellipsis };

struct DBGridColumn {
    QString fieldName;
    int width = -1;  // pixels; -1 for the default width
    bool readOnly = false;
    QString title;   // empty: the field's label
    Qt::Alignment titleAlignment = Qt::AlignLeft | Qt::AlignVCenter;
    ButtonStyle buttonStyle = ButtonStyle::Auto;
};

class DBGrid : public QTableView {
    Q_OBJECT
public:
    explicit DBGrid(QWidget* parent = nullptr, const QString& name = QString());
    ~DBGrid() override;

    void setDataSource(DataSource* source);
    DataSource* dataSource() const { return source_; }
    DataSet* dataSet() const;
    DataSetModel* dataModel() const { return model_; }

    // Without declared columns the grid shows every visible field of the dataset.
    void setColumns(const QList<DBGridColumn>& columns);
    int addColumn(const DBGridColumn& column);
    const QList<DBGridColumn>& columns() const { return columns_; }
    int columnCount() const;
    QString columnField(int column) const;
    void setColumnButtonStyle(int column, ButtonStyle style);
    void setColumnReadOnly(int column, bool readOnly);
    void setColumnTitle(int column, const QString& title, Qt::Alignment alignment);

    // The column of the current cell, and the field it shows (nullptr when none).
    int selectedIndex() const;
    void setSelectedIndex(int column);
    Field* selectedField() const;

    // A read-only grid never edits in place and never inserts.
    void setReadOnly(bool readOnly);
    bool isReadOnly() const { return readOnly_; }
    void setRowSelect(bool rowSelect);

    // The form's events; `column` is the grid column.
    std::function<void(DBGrid& sender, int column)> onEditButtonClick;
    std::function<void(DBGrid& sender, int column)> onTitleClick;
    std::function<void(DBGrid& sender, int column)> onCellClick;
    std::function<void(DBGrid& sender)> onDblClick;
    // Setting key to 0 (or the character to null) discards it.
    std::function<void(DBGrid& sender, int& key, Qt::KeyboardModifiers shift)> onKeyDown;
    std::function<void(DBGrid& sender, QChar& key)> onKeyPress;
    // The grid's own delete shortcut: Ctrl+Delete deletes the current row once this confirmation
    // says yes. Without it (and on a read-only grid) the shortcut does nothing.
    std::function<bool(DBGrid& sender)> confirmDelete;
    // Runs after the grid has drawn a cell, to draw over it.
    std::function<void(DBGrid& sender, QPainter& painter, const QRect& rect, int column, Field* field,
                       QStyle::State state)>
        onDrawColumnCell;

    // Writes the text of the open cell editor into the record and closes the editor; a text the
    // field refuses is thrown and the editor stays open. The dataset asks for this before every
    // post, so what was typed is what is posted. Does nothing without an open editor.
    void commitEditor();
    bool editorOpen() const { return !editor_.isNull(); }

    // Where the ellipsis button of a cell is drawn (empty when the cell shows none).
    QRect editButtonRect(const QModelIndex& index) const;
    bool showsEditButton(const QModelIndex& index) const;

protected:
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void bindDataSet();
    void applyColumns();
    void applyColumnWidths();
    void syncFromDataSet();
    bool handleInsertKeys(int key, Qt::KeyboardModifiers modifiers);
    bool handleDeleteKey(int key, Qt::KeyboardModifiers modifiers);
    void fireCellEvent(const std::function<void(DBGrid&, int)>& handler, int column);
    void cellEdited();
    void closeEditorReverting();

    QPointer<DataSource> source_;
    QPointer<QLineEdit> editor_;
    QPersistentModelIndex editorIndex_;
    bool committing_ = false;
    QPointer<DataSet> bound_;
    DataSetModel* model_;
    QList<DBGridColumn> columns_;
    QList<QMetaObject::Connection> dataSetConnections_;
    bool readOnly_ = false;
    bool syncing_ = false;
    bool pressOnButton_ = false;
    int lastColumn_ = 0;
};

}  // namespace qmv

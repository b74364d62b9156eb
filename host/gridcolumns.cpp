#include "host/gridcolumns.h"

#include <QHeaderView>
#include <QStyleOptionViewItem>
#include <algorithm>

#include "host/controls.h"
#include "platform/dbgrid.h"

namespace qmv {

namespace {

// Runs now and after every reset of the grid's model (a reset puts the declared widths back).
template <typename Apply>
void keep(DBGrid& grid, Apply apply)
{
    apply();
    QObject::connect(grid.model(), &QAbstractItemModel::modelReset, &grid, apply);
}

int declaredWidth(const DBGrid& grid, int column)
{
    return column < grid.columns().size() ? grid.columns()[column].width : -1;
}

int widestCell(const DBGrid& grid, int column)
{
    QStyleOptionViewItem option;
    option.initFrom(grid.viewport());
    int widest = 0;
    for (int row = 0; row < grid.model()->rowCount(); ++row) {
        const QModelIndex cell = grid.model()->index(row, column);
        widest = std::max(widest, grid.itemDelegateForIndex(cell)->sizeHint(option, cell).width());
    }
    return widest + (grid.showGrid() ? 1 : 0);  // the grid line is drawn inside the column
}

}  // namespace

void fitColumnsToContents(DBGrid& grid, const QStringList& fieldNames)
{
    keep(grid, [&grid, fieldNames] {
        for (const QString& name : fieldNames) {
            const int column = IndiceCol(grid, name);
            if (column < 0)
                continue;
            const int needed = std::max(widestCell(grid, column), grid.horizontalHeader()->sectionSizeHint(column));
            grid.setColumnWidth(column, std::max(needed, declaredWidth(grid, column)));
        }
    });
}

void stretchColumn(DBGrid& grid, const QString& fieldName)
{
    keep(grid, [&grid, fieldName] {
        const int column = IndiceCol(grid, fieldName);
        if (column >= 0)
            grid.horizontalHeader()->setSectionResizeMode(column, QHeaderView::Stretch);
    });
}

}  // namespace qmv

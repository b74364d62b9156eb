#pragma once
// Column widths that follow what a grid shows, kept after every reload of its rows: columns fitted
// to their title and their widest cell (never narrower than their declared width), and one column
// that takes the room the others leave, so that the columns after it stay in view. UI thread only.
#include <QStringList>

namespace qmv {

class DBGrid;

void fitColumnsToContents(DBGrid& grid, const QStringList& fieldNames);
void stretchColumn(DBGrid& grid, const QString& fieldName);

}  // namespace qmv

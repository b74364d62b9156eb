#pragma once
// The grid of a list that fills a sheet of the main screen: no border, the hint colour behind the
// rows, bound to the list's data source, and a deletion from the grid asked first with the standard
// "Excl" question. UI thread only.
#include <QString>

class QWidget;

namespace qmv {

class DBGrid;
class DataSource;
class TMessages;

DBGrid* sheetGrid(QWidget& sheet, const QString& name, DataSource& source, const TMessages& standardMessages);

}  // namespace qmv

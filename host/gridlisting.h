#pragma once
// A printable listing of what a grid shows: a title, a line of identification and one table row per
// row of its dataset, with the grid's column titles and the fields' display texts. UI thread only.
#include <QString>

class QTextDocument;

namespace qmv {

class DBGrid;

// HTML of the listing; the texts are escaped.
QString gridListingHtml(const DBGrid& grid, const QString& title, const QString& identification);

}  // namespace qmv

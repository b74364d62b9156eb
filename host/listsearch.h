#pragma once
// Where a list's search box moves: the first row whose text in one of the given columns starts
// with what was typed, or failing that the first that contains it, ignoring case. Rows are taken
// in the model's order (the order the list shows). Any thread that owns the model.
#include <QList>
#include <QString>

class QAbstractItemModel;

namespace qmv {

// The row found, or -1 when none matches or the text is empty.
int findListRow(const QAbstractItemModel& model, const QList<int>& columns, const QString& text);

}  // namespace qmv

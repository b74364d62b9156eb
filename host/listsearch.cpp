#include "host/listsearch.h"

#include <QAbstractItemModel>

namespace qmv {

namespace {

using Match = bool (*)(const QString& shown, const QString& text);

int firstRow(const QAbstractItemModel& model, const QList<int>& columns, const QString& text, Match match)
{
    for (int row = 0; row < model.rowCount(); ++row)
        for (int column : columns)
            if (match(model.index(row, column).data().toString(), text))
                return row;
    return -1;
}

}  // namespace

int findListRow(const QAbstractItemModel& model, const QList<int>& columns, const QString& text)
{
    if (text.isEmpty())
        return -1;
    const int row = firstRow(model, columns, text, [](const QString& shown, const QString& t) {
        return shown.startsWith(t, Qt::CaseInsensitive);
    });
    if (row >= 0)
        return row;
    return firstRow(model, columns, text, [](const QString& shown, const QString& t) {
        return shown.contains(t, Qt::CaseInsensitive);
    });
}

}  // namespace qmv

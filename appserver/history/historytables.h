#pragma once
// The tables whose changes are kept, each with every column (its key first), the column naming the
// sub-group a row belongs to, and at most one large value. Read-only data; any thread.
#include "platform/packet.h"

#include <QVariantList>

namespace qmv::appserver {

struct HistoryTable {
    QString name;
    QList<FieldDef> columns;     // every column, the key first
    int keyCount = 0;
    QString subgroupColumn;      // holds the sub-group's CDESPEPRODSG
    int blobColumn = -1;         // the large value, -1 when none

    QList<FieldDef> keys() const { return columns.mid(0, keyCount); }
    int indexOf(const QString& column) const;
    // The key as entries store it: "CDPRODUTO=S1;CDESPEPROD=E1".
    QString keyText(const QVariantList& key) const;
    // The key from an entry's text; throws MethodError when it does not fit this table.
    QVariantList keyFromText(const QString& text) const;
};

// The table of that name, nullptr when its changes are not kept.
const HistoryTable* historyTable(const QString& name);

}  // namespace qmv::appserver

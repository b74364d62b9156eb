#pragma once
// The SQL lines and declared fields of the three lookups on the shared database: branches,
// companies served by a branch, type 'M' manuals of a company at a branch. Each has a value
// parameter P_<column> and an all-rows parameter P_T<column>: "T" lists every row, the value
// alone finds one. Plain values; any thread.
#include <QList>
#include <QStringList>

#include "platform/packet.h"

namespace qmv {

QStringList qryFilialSql();
QStringList qryCompanhiaSql();
QStringList qryManualCiaSql();
// The photo import dialog's manual lookup: the same conditions, the manual type first.
QStringList qryManualCiaImportSql();

QList<FieldDef> qryFilialFields();
QList<FieldDef> qryCompanhiaFields();     // CDCIA hidden: the list shows the abbreviation
QList<FieldDef> qryManualCiaFields();

}  // namespace qmv

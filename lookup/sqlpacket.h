#pragma once
// Runs a parametrised SELECT on a QtSql connection and returns its rows as a data packet shaped
// by the declared fields (matched to the result's columns by name, in any letter case).
// Throws QueryError on any database failure or a declared column the result lacks. UI thread.
#include <QSqlDatabase>

#include "lookup/queryparams.h"
#include "platform/packet.h"

namespace qmv {

DataPacket fetchPacket(QSqlDatabase db, const QString& sql, const QueryParams& params,
                       const QList<FieldDef>& fields);

}  // namespace qmv

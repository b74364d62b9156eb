#include "lookup/lookupqueries.h"

namespace qmv {

std::unique_ptr<TADOIBQuery> makeQryFilial(dtmDBGeral& db)
{
    return std::make_unique<TADOIBQuery>(db, QStringLiteral("qryFilial"), qryFilialSql(),
                                         qryFilialFields());
}

std::unique_ptr<TADOIBQuery> makeQryCompanhia(dtmDBGeral& db)
{
    return std::make_unique<TADOIBQuery>(db, QStringLiteral("qryCompanhia"), qryCompanhiaSql(),
                                         qryCompanhiaFields());
}

std::unique_ptr<TADOIBQuery> makeQryManualCia(dtmDBGeral& db)
{
    return std::make_unique<TADOIBQuery>(db, QStringLiteral("qryManualCia"), qryManualCiaSql(),
                                         qryManualCiaFields());
}

std::unique_ptr<TADOIBQuery> makeQryManualCiaImport(dtmDBGeral& db)
{
    return std::make_unique<TADOIBQuery>(db, QStringLiteral("qryManualCia"),
                                         qryManualCiaImportSql(), qryManualCiaFields());
}

}  // namespace qmv

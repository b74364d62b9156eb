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

void listBranches(TADOIBQuery& qryFilial)
{
    qryFilial.Reopen({{"P_CDFILIAL", QString()}, {"P_TCDFILIAL", QStringLiteral("T")}});
}

bool findBranch(TADOIBQuery& qryFilial, const QString& code)
{
    return qryFilial.Reopen({{"P_CDFILIAL", code}, {"P_TCDFILIAL", QString()}});
}

}  // namespace qmv

#pragma once
// Factories of the lookup queries on the shared database, named as the screens name them.
// UI thread only.
#include <memory>

#include "lookup/lookupsql.h"
#include "lookup/tadoibquery.h"

namespace qmv {

std::unique_ptr<TADOIBQuery> makeQryFilial(dtmDBGeral& db);
std::unique_ptr<TADOIBQuery> makeQryCompanhia(dtmDBGeral& db);
std::unique_ptr<TADOIBQuery> makeQryManualCia(dtmDBGeral& db);
std::unique_ptr<TADOIBQuery> makeQryManualCiaImport(dtmDBGeral& db);

// The branch query opened on every branch, or on the one typed (true when it exists).
void listBranches(TADOIBQuery& qryFilial);
bool findBranch(TADOIBQuery& qryFilial, const QString& code);

}  // namespace qmv

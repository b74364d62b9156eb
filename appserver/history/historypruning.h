#pragma once
// Retention of the history: removes the batches older than a number of days with their entries, and
// the kept contents that no entry names any more and that no write used in that period. Runs in one
// write scope on the caller's connection; connection's thread only.
#include "appserver/methods/methodcontext.h"

namespace qmv::appserver {

struct PruneResult {
    qint64 batches = 0;
    qint64 entries = 0;
    qint64 contents = 0;
};

PruneResult pruneHistory(MethodContext& context, int days, const QDateTime& now);

}  // namespace qmv::appserver

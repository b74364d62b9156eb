#pragma once
// The remote methods of the history: reading it (historyreads.cpp), restoring an entry and undoing
// a photo import (historyrestore.cpp). Registered by the catalogue.
#include <QString>

namespace qmv::appserver {

class Catalogue;

// The order of entries from the newest: batches by time, entries of one batch from the last.
inline const QString newestFirst = QStringLiteral("L.DTLOTE DESC, A.NRLOTE DESC, A.NRSEQ DESC");

void addHistoryReadMethods(Catalogue& catalogue);
void addHistoryWriteMethods(Catalogue& catalogue);

}  // namespace qmv::appserver

#pragma once
// What the load client calls: the request bytes of the cheap call (GetParametros) and of the
// sub-group list of the demo service with the most sub-groups, in CBOR for the application
// server and in JSON for the peer endpoint (whose SQL bench/peer/peersql.h writes).
#include <QString>
#include <string>

namespace qmv::bench {

struct LoadTarget {
    std::string cheapCbor, rowsCbor, cheapJson, rowsJson;
    int rows = 0;  // sub-groups in the chosen service
};

// Reads the demo database to choose the service; throws std::runtime_error.
LoadTarget loadTarget(const QString& sqliteFile);

}  // namespace qmv::bench

#pragma once
// What the peer endpoint (server.js) runs, as the application server runs it, one item a line: the
// cheap call's SQL (GetParametros, one parameter), GetSubGruSeMa's with both filters "2" (six
// parameters: branch, company, manual, service, class, cycle), and the JSON field list the server
// sends with GetSubGruSeMa's rows (their names, kinds and sizes).
#include <QString>

namespace qmv::bench {

// Throws std::runtime_error when the file cannot be written.
void writePeerSql(const QString& path);

}  // namespace qmv::bench

#pragma once
// The remote methods of the history of changes, as typed functions like the catalogue's: the entries
// of a sub-group, of a service and of a batch, a kept content, the photo imports into a service,
// restoring an entry and undoing an import. Each returns the raw result. UI thread only.
#include "platform/remoteresult.h"

#include <QString>

namespace qmv {

class TNetConnection;

RemoteResult GetHistSubGru(TNetConnection& conn, const QString& branch, const QString& cdEspeProdSg);
RemoteResult GetHistServico(TNetConnection& conn, const QString& branch, const QString& cdCia,
                            const QString& cdManCia, const QString& cdServico);
RemoteResult GetHistLote(TNetConnection& conn, const QString& branch, const QString& batch);
RemoteResult GetHistConteudo(TNetConnection& conn, const QString& digest);
RemoteResult GetImportacoes(TNetConnection& conn, const QString& branch, const QString& cdCia,
                            const QString& cdManCia, const QString& cdServico);
// `newestSeen`: the IDHIST of the newest entry of that row in the history the caller read.
RemoteResult RestauraHist(TNetConnection& conn, const QString& branch, const QString& entry,
                          const QString& newestSeen);
RemoteResult DesfazImportaFoto(TNetConnection& conn, const QString& branch, const QString& batch);

}  // namespace qmv

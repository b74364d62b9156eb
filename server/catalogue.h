#pragma once
// Every remote method of the server object "Qmv00500.rdmFotoMontManual" as a typed function, with its
// arguments in the method's own order, so that a call site cannot pass a wrong count or kind. Each
// returns the raw result: pass it through CheckResultServ (or loadResult for a data packet) before use.
// Parameters written `const QString& st...` are the texts passed by reference: the caller's variable is
// sent and never written back. UI thread only.
#include <QString>

#include "platform/packet.h"
#include "platform/remoteresult.h"

namespace qmv {

class TNetConnection;

// The server object every catalogue method belongs to.
inline const QString kServerName = QStringLiteral("Qmv00500.rdmFotoMontManual");

// Photo and instruction filters of GetSubGruSeMa: "0" with the item, "1" without it, "2" all.
RemoteResult GetSubGruSeMa(TNetConnection& conn, const QString& branch, const QString& stCdCia,
                           const QString& stCdManCia, const QString& serviceKey,
                           const QString& photoFilter, const QString& instrFilter);
// Company first and branch second, unlike every other method; an empty service code lists them all.
RemoteResult GetServManual(TNetConnection& conn, const QString& cdCia, const QString& branch,
                           const QString& cdManCia, const QString& cdServico);
RemoteResult GetSubGruPrin(TNetConnection& conn, const QString& branch, const QString& stCdCia,
                           const QString& cdManCia, const QString& cdServico,
                           const QString& stCdClasse, const QString& stCdCiclo,
                           const QString& cdSubGru, const QString& cdSubGruPri);
RemoteResult GetFotoSubMa(TNetConnection& conn, const QString& cdSubGru, const QString& cdEspeProdSg);
RemoteResult GetFotoSeMa(TNetConnection& conn, const QString& cdSubGru, const QString& cdEspeProdSg);
RemoteResult GetEquiSubSeMa(TNetConnection& conn, const QString& cdSubGru,
                            const QString& cdEspeProdSg, const QString& codeLevels);
// The sub-group comes before class and cycle here.
RemoteResult GetProRecSeMa(TNetConnection& conn, const QString& branch, const QString& cdCia,
                           const QString& cdManCia, const QString& cdServico,
                           const QString& cdSubGru, const QString& cdClasse, const QString& cdCiclo);
// No branch argument.
RemoteResult GetImpInsMont(TNetConnection& conn, const QString& stCdCia, const QString& stCdManCia,
                           const QString& serviceKey, const QString& cdSubGru);
RemoteResult GetParametros(TNetConnection& conn, const QString& branch);
RemoteResult GetEquipamentos(TNetConnection& conn, const QString& cdFilial, const QString& cdCia,
                             const QString& empty, const QString& codeLevels);
RemoteResult GetEquipAux(TNetConnection& conn, const QString& cdFilial, const QString& cdCia,
                         const QString& cdManCia, const QString& cdServico,
                         const QString& cdClasse, const QString& cdCiclo,
                         const QString& cdSubGru, const QString& cdProduto);
RemoteResult InsereEquip(TNetConnection& conn, const QString& cdFilial, const QString& cdCia,
                         const QString& cdEspeProdSg, const QString& cdProduto,
                         const QString& cdSubGru, qint32 quantity);
// listFlag is "T" for the whole list and empty when a service code is given.
RemoteResult GetPesqServManual(TNetConnection& conn, const QString& branch, const QString& cdCia,
                               const QString& cdManCia, const QString& cdServico,
                               const QString& listFlag);
RemoteResult GetPesqSubGrupos(TNetConnection& conn, const QString& branch, const QString& cdCia,
                              const QString& cdManCia, const QString& servico);
// stLista holds the chosen sub-groups or is empty; stTodos is "T" for all sub-groups or empty.
RemoteResult ImportaFoto(TNetConnection& conn, const QString& originBranch, const QString& cdCia,
                         const QString& originManCia, const QString& originServico,
                         const QString& destBranch, const QString& destManCia,
                         const QString& destServico, const QString& stLista, const QString& stTodos);
// The manual emission: the services of a manual (all of them with an empty service key), then
// everything one service prints; its result is a map of three data packets (SUBGRUPOS,
// EQUIPAMENTOS, PRODUTOS), read through emissionParts (Cli_qmv01200).
RemoteResult GetEmissaoManual(TNetConnection& conn, const QString& branch, const QString& cdCia,
                              const QString& cdManCia, const QString& serviceKey);
RemoteResult GetEmissaoServico(TNetConnection& conn, const QString& branch, const QString& cdCia,
                               const QString& cdManCia, const QString& serviceKey,
                               const QString& codeLevels);
RemoteResult SetSubGruSeMa(TNetConnection& conn, const ChangeSet& delta, const QString& nullFields);
RemoteResult SetEquiSubSeMa(TNetConnection& conn, const ChangeSet& delta);
RemoteResult SetProRecSeMa(TNetConnection& conn, const ChangeSet& delta);
RemoteResult SetFotoSubMa(TNetConnection& conn, const ChangeSet& delta);
RemoteResult SetFotoSeMa(TNetConnection& conn, const ChangeSet& delta);

}  // namespace qmv

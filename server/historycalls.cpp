#include "server/historycalls.h"

#include "server/remotecall.h"

namespace qmv {

namespace {

RemoteArg text(const QString& value)
{
    return RemoteArg::text(value);
}

}  // namespace

RemoteResult GetHistSubGru(TNetConnection& conn, const QString& branch, const QString& cdEspeProdSg)
{
    return invoke(conn, QStringLiteral("GetHistSubGru"), {text(branch), text(cdEspeProdSg)});
}

RemoteResult GetHistServico(TNetConnection& conn, const QString& branch, const QString& cdCia,
                            const QString& cdManCia, const QString& cdServico)
{
    return invoke(conn, QStringLiteral("GetHistServico"), {text(branch), text(cdCia), text(cdManCia), text(cdServico)});
}

RemoteResult GetHistLote(TNetConnection& conn, const QString& branch, const QString& batch)
{
    return invoke(conn, QStringLiteral("GetHistLote"), {text(branch), text(batch)});
}

RemoteResult GetHistConteudo(TNetConnection& conn, const QString& digest)
{
    return invoke(conn, QStringLiteral("GetHistConteudo"), {text(digest)});
}

RemoteResult GetImportacoes(TNetConnection& conn, const QString& branch, const QString& cdCia,
                            const QString& cdManCia, const QString& cdServico)
{
    return invoke(conn, QStringLiteral("GetImportacoes"), {text(branch), text(cdCia), text(cdManCia), text(cdServico)});
}

RemoteResult RestauraHist(TNetConnection& conn, const QString& branch, const QString& entry,
                          const QString& newestSeen)
{
    return invoke(conn, QStringLiteral("RestauraHist"), {text(branch), text(entry), text(newestSeen)});
}

RemoteResult DesfazImportaFoto(TNetConnection& conn, const QString& branch, const QString& batch)
{
    return invoke(conn, QStringLiteral("DesfazImportaFoto"), {text(branch), text(batch)});
}

}  // namespace qmv

#include "server/catalogue.h"

#include "platform/blobdigest.h"
#include "platform/methodfacts.h"

#include "server/remotecall.h"

namespace qmv {

namespace {

RemoteArg text(const QString& value)
{
    return RemoteArg::text(value);
}

RemoteArg byRef(const QString& variable)
{
    return RemoteArg::textByRef(variable);
}

// Original large objects go as their digests: a replaced photo travels once.
RemoteArg delta(const ChangeSet& changes)
{
    return RemoteArg::changeSet(withOriginalDigests(changes));
}

wire::ArgumentKind wireKind(ArgKind kind)
{
    switch (kind) {
    case ArgKind::Integer:
        return wire::ArgumentKind::Integer;
    case ArgKind::ChangeSet:
        return wire::ArgumentKind::ChangeSet;
    default:
        return wire::ArgumentKind::Text;
    }
}

// Why `args` do not fit the method as both sides declare it, empty when they do.
QString mismatch(const QString& method, std::initializer_list<RemoteArg> args)
{
    const wire::MethodFacts* facts = wire::methodFacts(method);
    if (!facts)
        return QStringLiteral("o servidor não tem o método %1").arg(method);
    if (facts->argumentCount() != qsizetype(args.size()))
        return QStringLiteral("%1 espera %2 argumento(s), não %3").arg(method).arg(facts->argumentCount()).arg(args.size());
    qsizetype index = 0;
    for (const RemoteArg& arg : args) {
        if (wireKind(arg.kind()) != facts->argument(index))
            return QStringLiteral("%1: o argumento %2 é de outro tipo").arg(method).arg(index + 1);
        ++index;
    }
    return {};
}

// Every method of the catalogue goes out through here: a call that does not fit the method's
// declared arguments is never sent.
RemoteResult send(TNetConnection& conn, const QString& method, std::initializer_list<RemoteArg> args)
{
    if (const QString why = mismatch(method, args); !why.isEmpty())
        return RemoteResult{false, QStringLiteral("Chamada ao servidor não enviada: %1.").arg(why), {}, {},
                            Delivery::NotSent};
    return invoke(conn, method, args);
}

}  // namespace

RemoteResult GetSubGruSeMa(TNetConnection& conn, const QString& branch, const QString& stCdCia,
                           const QString& stCdManCia, const QString& serviceKey,
                           const QString& photoFilter, const QString& instrFilter)
{
    return send(conn, QStringLiteral("GetSubGruSeMa"),
                {text(branch), byRef(stCdCia), byRef(stCdManCia), byRef(serviceKey),
                 text(photoFilter), text(instrFilter)});
}

RemoteResult GetServManual(TNetConnection& conn, const QString& cdCia, const QString& branch,
                           const QString& cdManCia, const QString& cdServico)
{
    return send(conn, QStringLiteral("GetServManual"),
                {text(cdCia), text(branch), text(cdManCia), text(cdServico)});
}

RemoteResult GetSubGruPrin(TNetConnection& conn, const QString& branch, const QString& stCdCia,
                           const QString& cdManCia, const QString& cdServico,
                           const QString& stCdClasse, const QString& stCdCiclo,
                           const QString& cdSubGru, const QString& cdSubGruPri)
{
    return send(conn, QStringLiteral("GetSubGruPrin"),
                {text(branch), byRef(stCdCia), text(cdManCia), text(cdServico), byRef(stCdClasse),
                 byRef(stCdCiclo), text(cdSubGru), text(cdSubGruPri)});
}

RemoteResult GetFotoSubMa(TNetConnection& conn, const QString& cdSubGru, const QString& cdEspeProdSg)
{
    return send(conn, QStringLiteral("GetFotoSubMa"), {text(cdSubGru), text(cdEspeProdSg)});
}

RemoteResult GetFotoSeMa(TNetConnection& conn, const QString& cdSubGru, const QString& cdEspeProdSg)
{
    return send(conn, QStringLiteral("GetFotoSeMa"), {text(cdSubGru), text(cdEspeProdSg)});
}

RemoteResult GetEquiSubSeMa(TNetConnection& conn, const QString& cdSubGru,
                            const QString& cdEspeProdSg, const QString& codeLevels)
{
    return send(conn, QStringLiteral("GetEquiSubSeMa"),
                {text(cdSubGru), text(cdEspeProdSg), text(codeLevels)});
}

RemoteResult GetProRecSeMa(TNetConnection& conn, const QString& branch, const QString& cdCia,
                           const QString& cdManCia, const QString& cdServico,
                           const QString& cdSubGru, const QString& cdClasse, const QString& cdCiclo)
{
    return send(conn, QStringLiteral("GetProRecSeMa"),
                {text(branch), text(cdCia), text(cdManCia), text(cdServico), text(cdSubGru),
                 text(cdClasse), text(cdCiclo)});
}

RemoteResult GetImpInsMont(TNetConnection& conn, const QString& stCdCia, const QString& stCdManCia,
                           const QString& serviceKey, const QString& cdSubGru)
{
    return send(conn, QStringLiteral("GetImpInsMont"),
                {byRef(stCdCia), byRef(stCdManCia), text(serviceKey), text(cdSubGru)});
}

RemoteResult GetParametros(TNetConnection& conn, const QString& branch)
{
    return send(conn, QStringLiteral("GetParametros"), {text(branch)});
}

RemoteResult GetEquipamentos(TNetConnection& conn, const QString& cdFilial, const QString& cdCia,
                             const QString& empty, const QString& codeLevels)
{
    return send(conn, QStringLiteral("GetEquipamentos"),
                {text(cdFilial), text(cdCia), text(empty), text(codeLevels)});
}

RemoteResult GetEquipAux(TNetConnection& conn, const QString& cdFilial, const QString& cdCia,
                         const QString& cdManCia, const QString& cdServico,
                         const QString& cdClasse, const QString& cdCiclo,
                         const QString& cdSubGru, const QString& cdProduto)
{
    return send(conn, QStringLiteral("GetEquipAux"),
                {text(cdFilial), text(cdCia), text(cdManCia), text(cdServico), text(cdClasse),
                 text(cdCiclo), text(cdSubGru), text(cdProduto)});
}

RemoteResult InsereEquip(TNetConnection& conn, const QString& cdFilial, const QString& cdCia,
                         const QString& cdEspeProdSg, const QString& cdProduto,
                         const QString& cdSubGru, qint32 quantity)
{
    return send(conn, QStringLiteral("InsereEquip"),
                {text(cdFilial), text(cdCia), text(cdEspeProdSg), text(cdProduto), text(cdSubGru),
                 RemoteArg::integer(quantity)});
}

RemoteResult GetPesqServManual(TNetConnection& conn, const QString& branch, const QString& cdCia,
                               const QString& cdManCia, const QString& cdServico,
                               const QString& listFlag)
{
    return send(conn, QStringLiteral("GetPesqServManual"),
                {text(branch), text(cdCia), text(cdManCia), text(cdServico), text(listFlag)});
}

RemoteResult GetPesqSubGrupos(TNetConnection& conn, const QString& branch, const QString& cdCia,
                              const QString& cdManCia, const QString& servico)
{
    return send(conn, QStringLiteral("GetPesqSubGrupos"),
                {text(branch), text(cdCia), text(cdManCia), text(servico)});
}

RemoteResult ImportaFoto(TNetConnection& conn, const QString& originBranch, const QString& cdCia,
                         const QString& originManCia, const QString& originServico,
                         const QString& destBranch, const QString& destManCia,
                         const QString& destServico, const QString& stLista, const QString& stTodos)
{
    return send(conn, QStringLiteral("ImportaFoto"),
                {text(originBranch), text(cdCia), text(originManCia), text(originServico),
                 text(destBranch), text(destManCia), text(destServico), byRef(stLista),
                 byRef(stTodos)});
}

RemoteResult GetEmissaoManual(TNetConnection& conn, const QString& branch, const QString& cdCia,
                              const QString& cdManCia, const QString& serviceKey)
{
    return send(conn, QStringLiteral("GetEmissaoManual"),
                {text(branch), text(cdCia), text(cdManCia), text(serviceKey)});
}

RemoteResult GetEmissaoServico(TNetConnection& conn, const QString& branch, const QString& cdCia,
                               const QString& cdManCia, const QString& serviceKey,
                               const QString& codeLevels)
{
    return send(conn, QStringLiteral("GetEmissaoServico"),
                {text(branch), text(cdCia), text(cdManCia), text(serviceKey), text(codeLevels)});
}

RemoteResult SetSubGruSeMa(TNetConnection& conn, const ChangeSet& changes, const QString& nullFields)
{
    return send(conn, QStringLiteral("SetSubGruSeMa"), {delta(changes), text(nullFields)});
}

RemoteResult SetEquiSubSeMa(TNetConnection& conn, const ChangeSet& changes)
{
    return send(conn, QStringLiteral("SetEquiSubSeMa"), {delta(changes)});
}

RemoteResult SetProRecSeMa(TNetConnection& conn, const ChangeSet& changes)
{
    return send(conn, QStringLiteral("SetProRecSeMa"), {delta(changes)});
}

RemoteResult SetFotoSubMa(TNetConnection& conn, const ChangeSet& changes)
{
    return send(conn, QStringLiteral("SetFotoSubMa"), {delta(changes)});
}

RemoteResult SetFotoSeMa(TNetConnection& conn, const ChangeSet& changes)
{
    return send(conn, QStringLiteral("SetFotoSeMa"), {delta(changes)});
}

}  // namespace qmv

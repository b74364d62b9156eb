// Assembly instructions: one sub-group's instruction record, the instructions of the company's other
// sub-groups to copy from, and the branch parameters that give a new record its document type.
#include "appserver/methods/catalogue.h"
#include "appserver/methods/changeapplier.h"
#include "appserver/methods/packetbuilder.h"
#include "appserver/database/sql.h"

namespace qmv::appserver {

using namespace Qt::StringLiterals;

namespace {

MethodResult getFotoSubMa(const Arguments& a, MethodContext& context)
{
    const QString subgroup = a.text(0, u"sub-grupo"_s, 10);
    const QString espeProd = a.text(1, u"especificação do sub-grupo"_s, 10);
    return streamedSelect(context.db,
                          u"SELECT CDPRODUTO, FGFOTOSUMA, CDESPEPROD, CDTIPODOCU FROM FOTOSUBMA "
                          "WHERE CDPRODUTO = ? AND CDESPEPROD = ?"_s,
                          {subgroup, espeProd},
                          {textField(u"CDPRODUTO"_s, 10), blobField(u"FGFOTOSUMA"_s), textField(u"CDESPEPROD"_s, 10),
                           textField(u"CDTIPODOCU"_s, 3)});
}

const TableLayout& fotoSubMaTable()
{
    static const TableLayout tableLayout = [] {
        TableLayout s;
        s.table = u"FOTOSUBMA"_s;
        s.what = u"a instrução de montagem do sub-grupo"_s;
        s.keys = {textField(u"CDPRODUTO"_s, 10), textField(u"CDESPEPROD"_s, 10)};
        s.stored = {blobField(u"FGFOTOSUMA"_s), textField(u"CDTIPODOCU"_s, 3)};
        return s;
    }();
    return tableLayout;
}

MethodResult setFotoSubMa(const Arguments& a, MethodContext& context)
{
    const ChangeSet changes = a.changeSet(0);
    return statusResult(applyChangeSet(fotoSubMaTable(), changes, context, [&](const Row& current) {
        requireSubgroup(context, current.value(changes.indexOf(u"CDPRODUTO"_s)).toString(),
                        current.value(changes.indexOf(u"CDESPEPROD"_s)).toString());
    }));
}

// Every other sub-group of the company, in any branch, manual or service, that has instructions.
// The branch comes last: the same manual, service and sub-group in two branches are two rows.
MethodResult getImpInsMont(const Arguments& a, MethodContext& context)
{
    const QString company = a.text(0, u"companhia"_s, 4);
    const QString manual = a.text(1, u"manual"_s, 4);
    const ServiceKey key = a.serviceKey(2, u"chave do serviço"_s);
    const QString subgroup = a.text(3, u"sub-grupo"_s, 10);
    return streamedSelect(context.db,
                          uR"(
        SELECT SM.CDCIA, CO.SGCIA, SM.CDMANCIA, SM.CDSERVICO, S.DSSERVICO, SM.CDSUBGRU, SG.DSSUBGRU,
               I.FGFOTOSUMA, SM.CDFILIAL
          FROM SUBGRUSEMA SM
          JOIN FOTOSUBMA I ON I.CDPRODUTO = SM.CDSUBGRU AND I.CDESPEPROD = SM.CDESPEPRODSG
          JOIN COMPANHIA CO ON CO.CDCIA = SM.CDCIA
          JOIN SERVICO S ON S.CDSERVICO = SM.CDSERVICO
          JOIN SUBGRUPO SG ON SG.CDSUBGRU = SM.CDSUBGRU
         WHERE SM.CDCIA = ? AND I.FGFOTOSUMA IS NOT NULL
           AND NOT (SM.CDMANCIA = ? AND SM.CDSERVICO = ? AND SM.CDCLASSE = ? AND SM.CDCICLO = ?
                    AND SM.CDSUBGRU = ?)
         ORDER BY SM.CDMANCIA, SM.CDSERVICO, SG.CDSUBARV, SM.CDFILIAL, SM.CDCLASSE, SM.CDCICLO)"_s,
                          {company, manual, key.service, key.serviceClass, key.cycle, subgroup},
                          {textField(u"CDCIA"_s, 4), textField(u"SGCIA"_s, 5), textField(u"CDMANCIA"_s, 4),
                           textField(u"CDSERVICO"_s, 10), textField(u"DSSERVICO"_s, 50), textField(u"CDSUBGRU"_s, 10),
                           textField(u"DSSUBGRU"_s, 200), blobField(u"FGFOTOSUMA"_s), textField(u"CDFILIAL"_s, 4)});
}

MethodResult getParametros(const Arguments& a, MethodContext& context)
{
    const QString branch = a.text(0, u"filial"_s, 4);
    return streamedSelect(context.db, u"SELECT CDTIPODOCU FROM PARAMFILIAL WHERE CDFILIAL = ?"_s, {branch},
                          {textField(u"CDTIPODOCU"_s, 3)});
}

}  // namespace

void addInstructionMethods(Catalogue& catalogue)
{
    catalogue.add(u"GetFotoSubMa"_s, getFotoSubMa);
    catalogue.add(u"SetFotoSubMa"_s, setFotoSubMa);
    catalogue.add(u"GetImpInsMont"_s, getImpInsMont);
    catalogue.add(u"GetParametros"_s, getParametros);
}

}  // namespace qmv::appserver

// Equipment: a sub-group's equipment list and its change set, the check list of the equipment of a
// branch and company, the link test and the link itself. Only products whose hierarchical code has
// no more levels than the client's code picture are offered: deeper codes could not be shown.
#include "appserver/methods/catalogue.h"
#include "appserver/methods/changeapplier.h"
#include "appserver/methods/methoderror.h"
#include "appserver/methods/packetbuilder.h"
#include "appserver/database/sql.h"

namespace qmv::appserver {

using namespace Qt::StringLiterals;

namespace {

MethodResult getEquiSubSeMa(const Arguments& a, MethodContext& context)
{
    const QString subgroup = a.text(0, u"sub-grupo"_s, 10);
    const QString espeProd = a.text(1, u"especificação do sub-grupo"_s, 10);
    const int levels = a.levels(2);
    return streamedSelect(context.db,
                          uR"(
        SELECT SM.CDFILIAL, SM.CDCIA, P.NMPRODUTO, CL.NMCLASSIFICACAO, E.QTEQUISUMA, P.CDARVPROD,
               SM.CDSUBGRU, P.SGUNIDADE, E.CDESPEPROD, E.CDPRODEQUIP
          FROM EQUISUBSEMA E
          JOIN SUBGRUSEMA SM ON SM.CDESPEPRODSG = E.CDESPEPROD
          JOIN PRODUTO P ON P.CDPRODUTO = E.CDPRODEQUIP
          LEFT JOIN CLASSIFICACAO CL ON CL.CDCLASSIFIC = P.CDCLASSIFIC
         WHERE SM.CDSUBGRU = ? AND E.CDESPEPROD = ? AND P.NRNIVEL <= ?
         ORDER BY P.NMPRODUTO, P.CDARVPROD)"_s,
                          {subgroup, espeProd, levels},
                          {textField(u"CDFILIAL"_s, 4), textField(u"CDCIA"_s, 4), textField(u"NMPRODUTO"_s, 50),
                           textField(u"NMCLASSIFICACAO"_s, 50), floatField(u"QTEQUISUMA"_s),
                           textField(u"CDARVPROD"_s, 20), textField(u"CDPRODUTO"_s, 10), textField(u"SGUNIDADE"_s, 10),
                           textField(u"CDESPEPROD"_s, 10), textField(u"CDPRODEQUIP"_s, 10)});
}

const TableLayout& equiSubSeMaTable()
{
    static const TableLayout tableLayout = [] {
        TableLayout s;
        s.table = u"EQUISUBSEMA"_s;
        s.what = u"o equipamento do sub-grupo"_s;
        s.keys = {textField(u"CDESPEPROD"_s, 10), textField(u"CDPRODEQUIP"_s, 10)};
        s.stored = {floatField(u"QTEQUISUMA"_s)};
        // The client rewrites these from the sub-group at every post; the server reads them from it.
        s.derived = {u"CDFILIAL"_s, u"CDCIA"_s, u"CDPRODUTO"_s};
        s.refuseInsert = u"Equipamentos são incluídos pela inclusão de equipamentos, não pela lista."_s;
        return s;
    }();
    return tableLayout;
}

MethodResult setEquiSubSeMa(const Arguments& a, MethodContext& context)
{
    const ChangeSet changes = a.changeSet(0);
    const int quantity = changes.indexOf(u"QTEQUISUMA"_s);
    return statusResult(applyChangeSet(equiSubSeMaTable(), changes, context, [&](const Row& current) {
        if (quantity >= 0 && (current.value(quantity).isNull() || current.value(quantity).toDouble() == 0.0))
            throw MethodError(u"Quantidade deve ser informada."_s);
    }));
}

MethodResult getEquipamentos(const Arguments& a, MethodContext& context)
{
    const QString branch = a.text(0, u"filial"_s, 4);
    const QString company = a.text(1, u"companhia"_s, 4);
    const QString prefix = a.text(2, u"início do código do equipamento"_s, 20);
    const int levels = a.levels(3);
    QString sql = uR"(
        SELECT 'N', P.CDARVPROD, P.CDPRODUTO, P.NMPRODUTO, CL.NMCLASSIFICACAO, P.SGUNIDADE,
               EC.CDFILIAL, EC.CDCIA
          FROM EQUIPCIA EC
          JOIN PRODUTO P ON P.CDPRODUTO = EC.CDPRODUTO
          LEFT JOIN CLASSIFICACAO CL ON CL.CDCLASSIFIC = P.CDCLASSIFIC
         WHERE EC.CDFILIAL = ? AND EC.CDCIA = ? AND P.IDTPPRODUTO = 'E' AND P.NRNIVEL <= ?)"_s;
    QVariantList params = {branch, company, levels};
    if (!prefix.isEmpty()) {
        sql += u" AND SUBSTR(P.CDARVPROD, 1, ?) = ?"_s;
        params << int(prefix.size()) << prefix;
    }
    return streamedSelect(
        context.db, sql + u" ORDER BY P.CDARVPROD"_s, params,
        {fixedTextField(u"IDCHECK"_s, 1), textField(u"CDARVPROD"_s, 20), textField(u"CDPRODUTO"_s, 10),
         textField(u"NMPRODUTO"_s, 50), textField(u"NMCLASSIFICACAO"_s, 50), textField(u"SGUNIDADE"_s, 10),
         textField(u"CDFILIAL"_s, 4), textField(u"CDCIA"_s, 4)});
}

MethodResult getEquipAux(const Arguments& a, MethodContext& context)
{
    const QVariantList params = {
        a.text(0, u"filial"_s, 4),  a.text(1, u"companhia"_s, 4), a.text(2, u"manual"_s, 4),
        a.text(3, u"serviço"_s, 10), a.text(4, u"classe"_s, 4),    a.text(5, u"ciclo"_s, 4),
        a.text(6, u"sub-grupo"_s, 10), a.text(7, u"equipamento"_s, 10)};
    return streamedSelect(context.db,
                          uR"(
        SELECT E.CDPRODEQUIP
          FROM EQUISUBSEMA E
          JOIN SUBGRUSEMA SM ON SM.CDESPEPRODSG = E.CDESPEPROD
         WHERE SM.CDFILIAL = ? AND SM.CDCIA = ? AND SM.CDMANCIA = ? AND SM.CDSERVICO = ?
           AND SM.CDCLASSE = ? AND SM.CDCICLO = ? AND SM.CDSUBGRU = ? AND E.CDPRODEQUIP = ?)"_s,
                          params, {textField(u"CDPRODUTO"_s, 10)});
}

MethodResult insereEquip(const Arguments& a, MethodContext& context)
{
    const QString branch = a.text(0, u"filial"_s, 4);
    const QString company = a.text(1, u"companhia"_s, 4);
    const QString espeProd = a.text(2, u"especificação do sub-grupo"_s, 10);
    const QString equipment = a.text(3, u"equipamento"_s, 10);
    const QString subgroup = a.text(4, u"sub-grupo"_s, 10);
    const qint64 quantity = a.integer(5, u"quantidade"_s);
    if (quantity <= 0)
        throw MethodError(u"InsereEquip: a quantidade deve ser maior que zero."_s);

    WriteScope scope(context);
    if (!runSql(context.db, u"SELECT 1 FROM SUBGRUSEMA WHERE CDSUBGRU = ? AND CDESPEPRODSG = ? "
                            "AND CDFILIAL = ? AND CDCIA = ?"_s,
                {subgroup, espeProd, branch, company})
             .next())
        throw MethodError(u"Sub-grupo %1 não cadastrado para a filial %2 e a companhia %3."_s
                              .arg(subgroup, branch, company));
    if (!runSql(context.db, u"SELECT 1 FROM EQUIPCIA EC JOIN PRODUTO P ON P.CDPRODUTO = EC.CDPRODUTO "
                            "WHERE EC.CDFILIAL = ? AND EC.CDCIA = ? AND EC.CDPRODUTO = ? AND P.IDTPPRODUTO = 'E'"_s,
                {branch, company, equipment})
             .next())
        throw MethodError(u"Equipamento %1 não cadastrado para a filial %2 e a companhia %3."_s
                              .arg(equipment, branch, company));
    if (runSql(context.db, u"SELECT 1 FROM EQUISUBSEMA WHERE CDESPEPROD = ? AND CDPRODEQUIP = ?"_s,
               {espeProd, equipment})
            .next())
        throw MethodError(u"Equipamento já cadastrado."_s);
    runSql(context.db, u"INSERT INTO EQUISUBSEMA (CDESPEPROD, CDPRODEQUIP, QTEQUISUMA) VALUES (?, ?, ?)"_s,
           {espeProd, equipment, double(quantity)});
    if (context.history)
        context.history->record(*historyTable(u"EQUISUBSEMA"_s), {espeProd, equipment}, std::nullopt);
    scope.commit();
    return statusResult(1);
}

}  // namespace

void addEquipmentMethods(Catalogue& catalogue)
{
    catalogue.add(u"GetEquiSubSeMa"_s, getEquiSubSeMa);
    catalogue.add(u"SetEquiSubSeMa"_s, setEquiSubSeMa);
    catalogue.add(u"GetEquipamentos"_s, getEquipamentos);
    catalogue.add(u"GetEquipAux"_s, getEquipAux);
    catalogue.add(u"InsereEquip"_s, insereEquip);
}

}  // namespace qmv::appserver

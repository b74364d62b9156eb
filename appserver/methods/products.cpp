// Products and recipes of a sub-group: the list comes from the service's composition; the user
// keeps each item's classification order and comment, and may remove an item.
#include "appserver/methods/catalogue.h"
#include "appserver/methods/changeapplier.h"
#include "appserver/methods/methoderror.h"
#include "appserver/methods/packetbuilder.h"
#include "appserver/database/sql.h"

namespace qmv::appserver {

using namespace Qt::StringLiterals;

namespace {

MethodResult getProRecSeMa(const Arguments& a, MethodContext& context)
{
    const QVariantList params = {
        a.text(0, u"filial"_s, 4),     a.text(1, u"companhia"_s, 4), a.text(2, u"manual"_s, 4),
        a.text(3, u"serviço"_s, 10),    a.text(4, u"sub-grupo"_s, 10), a.text(5, u"classe"_s, 4),
        a.text(6, u"ciclo"_s, 4)};
    return streamedSelect(context.db,
                          uR"(
        SELECT SM.CDFILIAL, SM.CDCIA, SM.CDSERVICO, SM.CDMANCIA, SM.CDSUBGRU, P.IDTPPRODUTO, PR.NRORDEM,
               P.CDARVPROD, P.CDPRODUTO, P.NMPRODUTO, PR.QUANTIDADE, P.SGUNIDADE, PR.TXCOMENT,
               P.IDPRODATIV, PR.CDESPEPROD, PR.CDTIPOCOMP, PR.CDPRODINSUMO
          FROM PRODRECSEMA PR
          JOIN SUBGRUSEMA SM ON SM.CDESPEPRODSG = PR.CDESPEPROD
          JOIN PRODUTO P ON P.CDPRODUTO = PR.CDPRODINSUMO
         WHERE SM.CDFILIAL = ? AND SM.CDCIA = ? AND SM.CDMANCIA = ? AND SM.CDSERVICO = ?
           AND SM.CDSUBGRU = ? AND SM.CDCLASSE = ? AND SM.CDCICLO = ?
         ORDER BY PR.NRORDEM, P.CDARVPROD)"_s,
                          params,
                          {textField(u"CDFILIAL"_s, 4), textField(u"CDCIA"_s, 4), textField(u"CDSERVICO"_s, 10),
                           textField(u"CDMANCIA"_s, 4), textField(u"CDSUBGRU"_s, 10), fixedTextField(u"ID"_s, 1),
                           textField(u"NRORDEM"_s, 3), textField(u"CODIGO"_s, 20), textField(u"CDCODINT"_s, 10),
                           textField(u"NOME"_s, 50), floatField(u"QUANTIDADE"_s), textField(u"SGUNIDADE"_s, 10),
                           textField(u"TXCOMENT"_s, 200), textField(u"IDPRODATIV"_s, 1), textField(u"CDESPEPROD"_s, 10),
                           textField(u"CDTIPOCOMP"_s, 3), textField(u"CDPRODINSUMO"_s, 10)});
}

const TableLayout& proRecSeMaTable()
{
    static const TableLayout tableLayout = [] {
        TableLayout s;
        s.table = u"PRODRECSEMA"_s;
        s.what = u"o produto/receita do sub-grupo"_s;
        s.keys = {textField(u"CDESPEPROD"_s, 10), textField(u"CDPRODINSUMO"_s, 10)};
        s.stored = {textField(u"NRORDEM"_s, 3), textField(u"TXCOMENT"_s, 200)};
        s.refuseInsert = u"Produtos e receitas vêm da composição do serviço e não podem ser incluídos."_s;
        return s;
    }();
    return tableLayout;
}

MethodResult setProRecSeMa(const Arguments& a, MethodContext& context)
{
    const ChangeSet changes = a.changeSet(0);
    const int order = changes.indexOf(u"NRORDEM"_s);
    return statusResult(applyChangeSet(proRecSeMaTable(), changes, context, [&](const Row& current) {
        if (order >= 0 && current.value(order).toString().trimmed().isEmpty())
            throw MethodError(u"A ordem de classificação deve ser informada."_s);
    }));
}

}  // namespace

void addProductMethods(Catalogue& catalogue)
{
    catalogue.add(u"GetProRecSeMa"_s, getProRecSeMa);
    catalogue.add(u"SetProRecSeMa"_s, setProRecSeMa);
}

}  // namespace qmv::appserver

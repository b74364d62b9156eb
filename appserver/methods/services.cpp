// The services of a manual: the main screen's service lookup and list, and the photo import's
// origin service and its sub-groups.
#include "appserver/methods/catalogue.h"
#include "appserver/methods/packetbuilder.h"
#include "appserver/database/sql.h"

namespace qmv::appserver {

using namespace Qt::StringLiterals;

namespace {

// The code the user types is the service's tree code; its internal code is accepted as well.
const QString serviceCodeCondition = u" AND (S.CDARVSERV = ? OR S.CDSERVICO = ?)"_s;

MethodResult getServManual(const Arguments& a, MethodContext& context)
{
    const QString company = a.text(0, u"companhia"_s, 4);
    const QString branch = a.text(1, u"filial"_s, 4);
    const QString manual = a.text(2, u"manual"_s, 4);
    const QString code = a.text(3, u"código do serviço"_s, 18);
    QString sql = uR"(
        SELECT S.CDSERVICO, S.CDARVSERV, SM.CDCLASSE, SM.CDCICLO, S.DSSERVICO, C.SGCLASSE, CI.IDCICLO,
               S.DSSERVICO || ' - ' || C.SGCLASSE || ' - ' || CI.IDCICLO
          FROM SERVMANUAL SM
          JOIN SERVICO S ON S.CDSERVICO = SM.CDSERVICO
          JOIN CLASSE C ON C.CDCLASSE = SM.CDCLASSE
          JOIN CICLO CI ON CI.CDCICLO = SM.CDCICLO
         WHERE SM.CDCIA = ? AND SM.CDFILIAL = ? AND SM.CDMANCIA = ?)"_s;
    QVariantList params = {company, branch, manual};
    if (!code.isEmpty()) {
        sql += serviceCodeCondition;
        params << code << code;
    }
    return streamedSelect(context.db, sql + u" ORDER BY S.CDARVSERV, SM.CDCLASSE, SM.CDCICLO"_s, params,
                          {textField(u"CDSERVICO"_s, 25), textField(u"SERVICO"_s, 18), textField(u"CDCLASSE"_s, 4),
                           textField(u"CDCICLO"_s, 4), textField(u"DSSERVICO"_s, 35), textField(u"SGCLASSE"_s, 5),
                           textField(u"IDCICLO"_s, 10), textField(u"DSSERCLACIC"_s, 71)});
}

// SERVICO is here the service key (CDSERVICO + CDCLASSE + CDCICLO) that GetPesqSubGrupos takes.
MethodResult getPesqServManual(const Arguments& a, MethodContext& context)
{
    const QString branch = a.text(0, u"filial de origem"_s, 4);
    const QString company = a.text(1, u"companhia"_s, 4);
    const QString manual = a.text(2, u"manual de origem"_s, 4);
    const QString code = a.text(3, u"código do serviço"_s, 18);
    const QString all = a.oneOf(4, u"indicador de lista"_s, {u"T"_s, QString()});
    QString sql = uR"(
        SELECT SM.CDSERVICO || SM.CDCLASSE || SM.CDCICLO, SM.CDFILIAL, SM.CDCIA, S.CDARVSERV, SM.CDMANCIA,
               SM.CDSERVICO, S.DSSERVICO, C.SGCLASSE, CI.IDCICLO
          FROM SERVMANUAL SM
          JOIN SERVICO S ON S.CDSERVICO = SM.CDSERVICO
          JOIN CLASSE C ON C.CDCLASSE = SM.CDCLASSE
          JOIN CICLO CI ON CI.CDCICLO = SM.CDCICLO
         WHERE SM.CDFILIAL = ? AND SM.CDCIA = ? AND SM.CDMANCIA = ?)"_s;
    QVariantList params = {branch, company, manual};
    if (all != u"T") {
        sql += serviceCodeCondition;
        params << code << code;
    }
    return streamedSelect(context.db, sql + u" ORDER BY S.CDARVSERV, SM.CDCLASSE, SM.CDCICLO"_s, params,
                          {textField(u"SERVICO"_s, 18), textField(u"CDFILIAL"_s, 4), textField(u"CDCIA"_s, 4),
                           textField(u"CDARVSERV"_s, 20), textField(u"CDMANCIA"_s, 4), textField(u"CDSERVICO"_s, 10),
                           textField(u"DSSERVICO"_s, 50), textField(u"SGCLASSE"_s, 5), textField(u"IDCICLO"_s, 10)});
}

MethodResult getPesqSubGrupos(const Arguments& a, MethodContext& context)
{
    const QList<FieldDef> fields = {
        fixedTextField(u"IDMARCADO"_s, 1), textField(u"SUBGRUPO"_s, 28), textField(u"CDFILIAL"_s, 4),
        textField(u"CDCIA"_s, 4),          textField(u"CDMANCIA"_s, 4),  textField(u"CDSERVICO"_s, 10),
        textField(u"CDSUBARV"_s, 20),      textField(u"CDSUBGRU"_s, 10), textField(u"DSSUBGRU"_s, 200),
        textField(u"SGCLASSE"_s, 5),       textField(u"IDCICLO"_s, 10)};
    const QString branch = a.text(0, u"filial de origem"_s, 4);
    const QString company = a.text(1, u"companhia"_s, 4);
    const QString manual = a.text(2, u"manual de origem"_s, 4);
    // No origin service chosen yet: the list is simply empty.
    if (a.text(3, u"serviço de origem"_s, 18).isEmpty())
        return packetResult(DataPacket{fields, {}});
    const ServiceKey key = a.serviceKey(3, u"serviço de origem"_s);
    return streamedSelect(context.db,
                          uR"(
        SELECT 'N', SM.CDSERVICO || SM.CDCLASSE || SM.CDCICLO || SM.CDSUBGRU, SM.CDFILIAL, SM.CDCIA,
               SM.CDMANCIA, SM.CDSERVICO, SG.CDSUBARV, SM.CDSUBGRU, SG.DSSUBGRU, C.SGCLASSE, CI.IDCICLO
          FROM SUBGRUSEMA SM
          JOIN SUBGRUPO SG ON SG.CDSUBGRU = SM.CDSUBGRU
          JOIN CLASSE C ON C.CDCLASSE = SM.CDCLASSE
          JOIN CICLO CI ON CI.CDCICLO = SM.CDCICLO
         WHERE SM.CDFILIAL = ? AND SM.CDCIA = ? AND SM.CDMANCIA = ?
           AND SM.CDSERVICO = ? AND SM.CDCLASSE = ? AND SM.CDCICLO = ?
         ORDER BY SG.CDSUBARV)"_s,
                          {branch, company, manual, key.service, key.serviceClass, key.cycle}, fields);
}

}  // namespace

void addServiceMethods(Catalogue& catalogue)
{
    catalogue.add(u"GetServManual"_s, getServManual);
    catalogue.add(u"GetPesqServManual"_s, getPesqServManual);
    catalogue.add(u"GetPesqSubGrupos"_s, getPesqSubGrupos);
}

}  // namespace qmv::appserver

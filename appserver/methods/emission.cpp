// The manual emission: the services of a manual with the names its cover shows, and everything one
// service prints (sub-groups with photo and instructions, equipment, products and recipes) in one call.
#include "appserver/methods/catalogue.h"
#include "appserver/methods/methoderror.h"
#include "appserver/methods/packetbuilder.h"
#include "appserver/database/sql.h"

#include <QCborMap>
#include <algorithm>

namespace qmv::appserver {

using namespace Qt::StringLiterals;

namespace {

struct ManualKey {
    QString branch;
    QString company;
    QString manual;
};

ManualKey manualKey(const Arguments& a)
{
    return {a.text(0, u"filial"_s, 4), a.text(1, u"companhia"_s, 4), a.text(2, u"manual"_s, 4)};
}

void requireManual(MethodContext& context, const ManualKey& key)
{
    if (!runSql(context.db, u"SELECT 1 FROM MANUALCIA WHERE CDFILIAL = ? AND CDCIA = ? AND CDMANCIA = ?"_s,
                {key.branch, key.company, key.manual})
             .next())
        throw MethodError(u"O manual %1 da companhia %2 não está cadastrado na filial %3."_s.arg(key.manual, key.company,
                                                                                               key.branch));
}

MethodResult getEmissaoManual(const Arguments& a, MethodContext& context)
{
    const ManualKey key = manualKey(a);
    const bool one = !a.text(3, u"chave do serviço"_s, 18).isEmpty();
    requireManual(context, key);
    QString sql = uR"(
        SELECT SM.CDFILIAL, F.NMFILIAL, SM.CDCIA, CO.SGCIA, CO.NMCIA, SM.CDMANCIA, M.DSMANUAL,
               SM.CDSERVICO, S.CDARVSERV, SM.CDCLASSE, SM.CDCICLO, S.DSSERVICO, C.SGCLASSE, CI.IDCICLO,
               (SELECT COUNT(*) FROM SUBGRUSEMA SG
                 WHERE SG.CDFILIAL = SM.CDFILIAL AND SG.CDCIA = SM.CDCIA AND SG.CDMANCIA = SM.CDMANCIA
                   AND SG.CDSERVICO = SM.CDSERVICO AND SG.CDCLASSE = SM.CDCLASSE AND SG.CDCICLO = SM.CDCICLO)
          FROM SERVMANUAL SM
          JOIN MANUALCIA M ON M.CDFILIAL = SM.CDFILIAL AND M.CDCIA = SM.CDCIA AND M.CDMANCIA = SM.CDMANCIA
          JOIN FILIAL F ON F.CDFILIAL = SM.CDFILIAL
          JOIN COMPANHIA CO ON CO.CDCIA = SM.CDCIA
          JOIN SERVICO S ON S.CDSERVICO = SM.CDSERVICO
          JOIN CLASSE C ON C.CDCLASSE = SM.CDCLASSE
          JOIN CICLO CI ON CI.CDCICLO = SM.CDCICLO
         WHERE SM.CDFILIAL = ? AND SM.CDCIA = ? AND SM.CDMANCIA = ?)"_s;
    QVariantList params = {key.branch, key.company, key.manual};
    if (one) {
        const ServiceKey service = a.serviceKey(3, u"chave do serviço"_s);
        sql += u" AND SM.CDSERVICO = ? AND SM.CDCLASSE = ? AND SM.CDCICLO = ?"_s;
        params << service.service << service.serviceClass << service.cycle;
    }
    QSqlQuery q = runSql(context.db, sql + u" ORDER BY S.CDARVSERV, SM.CDCLASSE, SM.CDCICLO"_s, params);
    DataPacket packet = packetFromQuery(
        q, {textField(u"CDFILIAL"_s, 4), textField(u"NMFILIAL"_s, 30), textField(u"CDCIA"_s, 4),
            textField(u"SGCIA"_s, 5), textField(u"NMCIA"_s, 50), textField(u"CDMANCIA"_s, 4),
            textField(u"DSMANUAL"_s, 30), textField(u"CDSERVICO"_s, 10), textField(u"SERVICO"_s, 18),
            textField(u"CDCLASSE"_s, 4), textField(u"CDCICLO"_s, 4), textField(u"DSSERVICO"_s, 35),
            textField(u"SGCLASSE"_s, 5), textField(u"IDCICLO"_s, 10), integerField(u"NRSUBGRU"_s)});
    if (one && packet.rows.isEmpty())
        throw MethodError(u"O serviço %1 não está cadastrado no manual %2."_s.arg(a.text(3, {}, 18), key.manual));
    return packetResult(packet);
}

// The classification order is a text of up to three characters: numbers in numeric order ("2" before
// "10"), then other texts, then sub-groups without one; the tree code breaks ties.
void sortByClassification(DataPacket& packet)
{
    const int order = packet.indexOf(u"NRORDSUMA"_s);
    const int tree = packet.indexOf(u"CDSUBARV"_s);
    auto rank = [order](const Row& row) {
        const QString text = row.at(order).toString().trimmed();
        bool numeric = false;
        const int number = text.toInt(&numeric);
        return std::tuple(text.isEmpty() ? 2 : numeric ? 0 : 1, numeric ? number : 0, text);
    };
    std::stable_sort(packet.rows.begin(), packet.rows.end(), [&](const Row& x, const Row& y) {
        return std::tuple(rank(x), x.at(tree).toString()) < std::tuple(rank(y), y.at(tree).toString());
    });
}

DataPacket serviceSubgroups(MethodContext& context, const QVariantList& key)
{
    QSqlQuery q = runSql(context.db, uR"(
        SELECT SM.CDSUBGRU, SM.CDESPEPRODSG, SG.CDSUBARV, SG.DSSUBGRU, SM.NRORDSUMA, SM.DSSUBGRUPO,
               SM.VRPELOADSUMA, SM.TXCOMSUMA, SM.DTAPRESUMA, SM.DTEFETSUMA, SM.DTREVISUMA,
               PR.CDSUBARV, PR.DSSUBGRU, F.FGESPEPROD, I.FGFOTOSUMA
          FROM SUBGRUSEMA SM
          JOIN SUBGRUPO SG ON SG.CDSUBGRU = SM.CDSUBGRU
          LEFT JOIN SUBGRUPO PR ON PR.CDSUBGRU = SM.CDPRODUTOPRI
          LEFT JOIN FOTOSEMA F ON F.CDPRODUTO = SM.CDSUBGRU AND F.CDESPEPROD = SM.CDESPEPRODSG
          LEFT JOIN FOTOSUBMA I ON I.CDPRODUTO = SM.CDSUBGRU AND I.CDESPEPROD = SM.CDESPEPRODSG
         WHERE SM.CDFILIAL = ? AND SM.CDCIA = ? AND SM.CDMANCIA = ?
           AND SM.CDSERVICO = ? AND SM.CDCLASSE = ? AND SM.CDCICLO = ?
         ORDER BY SG.CDSUBARV)"_s, key);
    DataPacket packet = packetFromQuery(
        q, {textField(u"CDSUBGRU"_s, 10),     textField(u"CDESPEPRODSG"_s, 10), textField(u"CDSUBARV"_s, 20),
            textField(u"DSSUBGRU"_s, 50),     textField(u"NRORDSUMA"_s, 3),     textField(u"DSSUBGRUPO"_s, 50),
            textField(u"VRPELOADSUMA"_s, 20), textField(u"TXCOMSUMA"_s, 200),   dateTimeField(u"DTAPRESUMA"_s),
            dateTimeField(u"DTEFETSUMA"_s),   dateTimeField(u"DTREVISUMA"_s),   textField(u"CDSUBARVPRI"_s, 20),
            textField(u"DSSUBGRUPRI"_s, 50),  blobField(u"FGESPEPROD"_s),       blobField(u"FGFOTOSUMA"_s)});
    sortByClassification(packet);
    return packet;
}

DataPacket serviceEquipment(MethodContext& context, const QVariantList& key, int levels)
{
    QSqlQuery q = runSql(context.db, uR"(
        SELECT E.CDESPEPROD, P.CDARVPROD, P.NMPRODUTO, CL.NMCLASSIFICACAO, E.QTEQUISUMA, P.SGUNIDADE
          FROM EQUISUBSEMA E
          JOIN SUBGRUSEMA SM ON SM.CDESPEPRODSG = E.CDESPEPROD
          JOIN PRODUTO P ON P.CDPRODUTO = E.CDPRODEQUIP
          LEFT JOIN CLASSIFICACAO CL ON CL.CDCLASSIFIC = P.CDCLASSIFIC
         WHERE SM.CDFILIAL = ? AND SM.CDCIA = ? AND SM.CDMANCIA = ?
           AND SM.CDSERVICO = ? AND SM.CDCLASSE = ? AND SM.CDCICLO = ? AND P.NRNIVEL <= ?
         ORDER BY E.CDESPEPROD, P.NMPRODUTO, P.CDARVPROD)"_s, key + QVariantList{levels});
    return packetFromQuery(q, {textField(u"CDESPEPROD"_s, 10), textField(u"CDARVPROD"_s, 20),
                               textField(u"NMPRODUTO"_s, 50), textField(u"NMCLASSIFICACAO"_s, 50),
                               floatField(u"QTEQUISUMA"_s), textField(u"SGUNIDADE"_s, 10)});
}

DataPacket serviceProducts(MethodContext& context, const QVariantList& key)
{
    QSqlQuery q = runSql(context.db, uR"(
        SELECT PR.CDESPEPROD, P.IDTPPRODUTO, PR.NRORDEM, P.CDARVPROD, P.NMPRODUTO, PR.QUANTIDADE,
               P.SGUNIDADE, PR.TXCOMENT
          FROM PRODRECSEMA PR
          JOIN SUBGRUSEMA SM ON SM.CDESPEPRODSG = PR.CDESPEPROD
          JOIN PRODUTO P ON P.CDPRODUTO = PR.CDPRODINSUMO
         WHERE SM.CDFILIAL = ? AND SM.CDCIA = ? AND SM.CDMANCIA = ?
           AND SM.CDSERVICO = ? AND SM.CDCLASSE = ? AND SM.CDCICLO = ?
         ORDER BY PR.CDESPEPROD, PR.NRORDEM, P.CDARVPROD)"_s, key);
    return packetFromQuery(q, {textField(u"CDESPEPROD"_s, 10), fixedTextField(u"ID"_s, 1),
                               textField(u"NRORDEM"_s, 3), textField(u"CODIGO"_s, 20), textField(u"NOME"_s, 50),
                               floatField(u"QUANTIDADE"_s), textField(u"SGUNIDADE"_s, 10),
                               textField(u"TXCOMENT"_s, 200)});
}

MethodResult getEmissaoServico(const Arguments& a, MethodContext& context)
{
    const ManualKey manual = manualKey(a);
    const ServiceKey service = a.serviceKey(3, u"chave do serviço"_s);
    const int levels = a.levels(4);
    const QVariantList key = {manual.branch, manual.company, manual.manual,
                              service.service, service.serviceClass, service.cycle};
    if (!runSql(context.db, u"SELECT 1 FROM SERVMANUAL WHERE CDFILIAL = ? AND CDCIA = ? AND CDMANCIA = ? "
                            "AND CDSERVICO = ? AND CDCLASSE = ? AND CDCICLO = ?"_s, key)
             .next())
        throw MethodError(u"O serviço %1 (classe %2, ciclo %3) não está cadastrado no manual %4."_s.arg(
            service.service, service.serviceClass, service.cycle, manual.manual));
    QCborMap parts;
    parts.insert(u"SUBGRUPOS"_s, toCbor(serviceSubgroups(context, key)));
    parts.insert(u"EQUIPAMENTOS"_s, toCbor(serviceEquipment(context, key, levels)));
    parts.insert(u"PRODUTOS"_s, toCbor(serviceProducts(context, key)));
    return MethodResult{parts, {}};
}

}  // namespace

void addEmissionMethods(Catalogue& catalogue)
{
    catalogue.add(u"GetEmissaoManual"_s, getEmissaoManual);
    catalogue.add(u"GetEmissaoServico"_s, getEmissaoServico);
}

}  // namespace qmv::appserver

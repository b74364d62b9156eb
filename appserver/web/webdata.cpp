#include "appserver/web/webdata.h"

#include "appserver/database/sql.h"
#include "platform/blobdigest.h"
#include "platform/rtfhtml.h"
#include "platform/rtfparser.h"
#include "platform/wallclock.h"

#include <QHash>
#include <QSqlQuery>

namespace qmv::appserver {

using namespace Qt::StringLiterals;

namespace {

QString dayOf(const QVariant& value)
{
    if (value.isNull())
        return {};
    const QDateTime reading = value.metaType().id() == QMetaType::QDateTime ? wallClock(value.toDateTime())
                                                                             : wallClockFromIso(value.toString());
    return reading.isValid() ? reading.date().toString(u"dd/MM/yyyy"_s) : QString();
}

QString quantityText(const QVariant& value)
{
    return QString::number(value.toDouble(), 'g', 10).replace(u'.', u',');
}

const QString serviceSql = uR"(
    SELECT S.DSSERVICO || ' - ' || C.SGCLASSE || ' - ' || CI.IDCICLO, CO.NMCIA, M.DSMANUAL
      FROM SERVMANUAL SM
      JOIN SERVICO S ON S.CDSERVICO = SM.CDSERVICO
      JOIN CLASSE C ON C.CDCLASSE = SM.CDCLASSE
      JOIN CICLO CI ON CI.CDCICLO = SM.CDCICLO
      JOIN COMPANHIA CO ON CO.CDCIA = SM.CDCIA
      JOIN MANUALCIA M ON M.CDFILIAL = SM.CDFILIAL AND M.CDCIA = SM.CDCIA AND M.CDMANCIA = SM.CDMANCIA
     WHERE SM.CDFILIAL = ? AND SM.CDCIA = ? AND SM.CDMANCIA = ? AND SM.CDSERVICO = ?
       AND SM.CDCLASSE = ? AND SM.CDCICLO = ?)"_s;

const QString serviceWhere = u" WHERE SM.CDFILIAL = ? AND SM.CDCIA = ? AND SM.CDMANCIA = ? AND SM.CDSERVICO = ? "
                             "AND SM.CDCLASSE = ? AND SM.CDCICLO = ?"_s;

// The panel's sub-group list with the photo and the instructions beside each row.
const QString subGroupsSql = uR"(
    SELECT SM.CDSUBGRU, SM.CDESPEPRODSG, SM.NRORDSUMA, SG.CDSUBARV, SG.DSSUBGRU, SM.DSSUBGRUPO,
           SM.VRPELOADSUMA, SM.TXCOMSUMA, PR.DSSUBGRU, SM.DTAPRESUMA, SM.DTEFETSUMA, SM.DTREVISUMA,
           F.FGESPEPROD, I.FGFOTOSUMA
      FROM SUBGRUSEMA SM
      JOIN SUBGRUPO SG ON SG.CDSUBGRU = SM.CDSUBGRU
      LEFT JOIN SUBGRUPO PR ON PR.CDSUBGRU = SM.CDPRODUTOPRI
      LEFT JOIN FOTOSEMA F ON F.CDPRODUTO = SM.CDSUBGRU AND F.CDESPEPROD = SM.CDESPEPRODSG
      LEFT JOIN FOTOSUBMA I ON I.CDPRODUTO = SM.CDSUBGRU AND I.CDESPEPROD = SM.CDESPEPRODSG)"_s;

const QString equipmentSql = uR"(
    SELECT E.CDESPEPROD, P.NMPRODUTO, E.QTEQUISUMA, P.SGUNIDADE, NULL, 'E'
      FROM EQUISUBSEMA E
      JOIN SUBGRUSEMA SM ON SM.CDESPEPRODSG = E.CDESPEPROD
      JOIN PRODUTO P ON P.CDPRODUTO = E.CDPRODEQUIP)"_s;

const QString productsSql = uR"(
    SELECT PR.CDESPEPROD, P.NMPRODUTO, PR.QUANTIDADE, P.SGUNIDADE, PR.TXCOMENT, P.IDTPPRODUTO
      FROM PRODRECSEMA PR
      JOIN SUBGRUSEMA SM ON SM.CDESPEPRODSG = PR.CDESPEPROD
      JOIN PRODUTO P ON P.CDPRODUTO = PR.CDPRODINSUMO)"_s;

QVariantList keyOf(const ServiceRef& ref)
{
    return {ref.branch, ref.company, ref.manual, ref.service, ref.serviceClass, ref.cycle};
}

SubGroupView subGroupOf(const QSqlQuery& q)
{
    SubGroupView sg;
    sg.code = q.value(0).toString();
    sg.espeProd = q.value(1).toString();
    sg.order = q.value(2).toString();
    sg.treeCode = q.value(3).toString();
    sg.name = q.value(4).toString();
    sg.description = q.value(5).toString();
    sg.weight = q.value(6).toString();
    sg.comment = q.value(7).toString();
    sg.principal = q.value(8).toString();
    sg.approved = dayOf(q.value(9));
    sg.effective = dayOf(q.value(10));
    sg.revised = dayOf(q.value(11));
    const QByteArray photo = q.value(12).toByteArray();
    if (!photo.isEmpty())
        sg.photoDigest = digestOf(photo).value.toHex();
    try {
        sg.instructionsHtml = rtfToHtml(q.value(13).toByteArray());
    } catch (const RtfError&) {
        sg.instructionsUnreadable = true;
    }
    return sg;
}

}  // namespace

QVector<Choice> WebData::choices(const QString& sql, const QVariantList& params) const
{
    QVector<Choice> result;
    QSqlQuery q = runSql(db_, sql, params);
    while (q.next())
        result.append(Choice{q.value(0).toString(), q.value(1).toString()});
    return result;
}

QVector<Choice> WebData::branches() const
{
    return choices(u"SELECT CDFILIAL, CDFILIAL || ' - ' || NMFILIAL FROM FILIAL ORDER BY CDFILIAL"_s, {});
}

QVector<Choice> WebData::companies(const QString& branch) const
{
    return choices(u"SELECT C.CDCIA, C.SGCIA || ' - ' || C.NMCIA FROM CIAFILI CF "
                   "JOIN COMPANHIA C ON C.CDCIA = CF.CDCIA WHERE CF.CDFILIAL = ? ORDER BY C.SGCIA"_s,
                   {branch});
}

QVector<Choice> WebData::manuals(const QString& branch, const QString& company) const
{
    return choices(u"SELECT CDMANCIA, CDMANCIA || ' - ' || DSMANUAL FROM MANUALCIA "
                   "WHERE CDFILIAL = ? AND CDCIA = ? ORDER BY CDMANCIA"_s,
                   {branch, company});
}

QVector<Choice> WebData::services(const QString& branch, const QString& company, const QString& manual) const
{
    return choices(uR"(
        SELECT SM.CDSERVICO || '/' || SM.CDCLASSE || '/' || SM.CDCICLO,
               S.CDARVSERV || ' - ' || S.DSSERVICO || ' - ' || C.SGCLASSE || ' - ' || CI.IDCICLO
          FROM SERVMANUAL SM
          JOIN SERVICO S ON S.CDSERVICO = SM.CDSERVICO
          JOIN CLASSE C ON C.CDCLASSE = SM.CDCLASSE
          JOIN CICLO CI ON CI.CDCICLO = SM.CDCICLO
         WHERE SM.CDFILIAL = ? AND SM.CDCIA = ? AND SM.CDMANCIA = ?
         ORDER BY S.CDARVSERV, SM.CDCLASSE, SM.CDCICLO)"_s,
                   {branch, company, manual});
}

std::optional<ServiceView> WebData::service(const ServiceRef& ref, const QString& onlySubGroup) const
{
    QSqlQuery head = runSql(db_, serviceSql, keyOf(ref));
    if (!head.next())
        return std::nullopt;
    ServiceView view{head.value(0).toString(), head.value(1).toString(), head.value(2).toString(), {}};
    QVariantList params = keyOf(ref);
    QString sql = subGroupsSql + serviceWhere;
    if (!onlySubGroup.isEmpty()) {
        sql += u" AND SM.CDSUBGRU = ?"_s;
        params << onlySubGroup;
    }
    QSqlQuery q = runSql(db_, sql + u" ORDER BY SG.CDSUBARV"_s, params);
    while (q.next())
        view.subGroups.append(subGroupOf(q));
    addItems(ref, view);
    return view;
}

// Equipment, then products and recipes in their order, for every sub-group of the service at once.
void WebData::addItems(const ServiceRef& ref, ServiceView& view) const
{
    QHash<QString, SubGroupView*> byEspeProd;
    for (SubGroupView& sg : view.subGroups)
        byEspeProd.insert(sg.espeProd, &sg);
    const std::pair<QString, QString> lists[] = {
        {equipmentSql, u" ORDER BY P.NMPRODUTO, P.CDARVPROD"_s},
        {productsSql, u" ORDER BY PR.NRORDEM, P.CDARVPROD"_s},
    };
    for (const auto& [select, order] : lists) {
        QSqlQuery q = runSql(db_, select + serviceWhere + order, keyOf(ref));
        while (q.next()) {
            SubGroupView* sg = byEspeProd.value(q.value(0).toString());
            if (!sg)
                continue;
            const QString kind = q.value(5).toString();
            LineItem item{q.value(1).toString(), quantityText(q.value(2)), q.value(3).toString(),
                          q.value(4).toString(), kind == u"R"};
            (kind == u"E" ? sg->equipment : sg->products).append(item);
        }
    }
}

std::optional<StoredPhoto> WebData::photo(const QString& subGroup, const QString& espeProd) const
{
    QSqlQuery q = runSql(db_, u"SELECT SM.CDFILIAL, F.FGESPEPROD FROM FOTOSEMA F "
                              "JOIN SUBGRUSEMA SM ON SM.CDSUBGRU = F.CDPRODUTO AND SM.CDESPEPRODSG = F.CDESPEPROD "
                              "WHERE F.CDPRODUTO = ? AND F.CDESPEPROD = ? AND F.FGESPEPROD IS NOT NULL"_s,
                         {subGroup, espeProd});
    if (!q.next())
        return std::nullopt;
    return StoredPhoto{q.value(0).toString(), q.value(1).toByteArray()};
}

}  // namespace qmv::appserver

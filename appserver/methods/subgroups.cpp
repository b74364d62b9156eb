// The sub-groups of a service in a manual: the list with its photo and instruction filters, the
// sub-group record's change set with its null-field list, and the principal sub-group candidates.
#include "appserver/methods/subgroupquery.h"
#include "appserver/methods/catalogue.h"
#include "appserver/methods/changeapplier.h"
#include "appserver/methods/methoderror.h"
#include "appserver/methods/packetbuilder.h"
#include "appserver/database/sql.h"

namespace qmv::appserver {

using namespace Qt::StringLiterals;

const QList<FieldDef>& subGruSeMaFields()
{
    static const QList<FieldDef> fields = {
        textField(u"DSSUBGRUPO"_s, 50),   textField(u"CDCIA"_s, 4),         textField(u"SGCIA"_s, 5),
        textField(u"NMCIA"_s, 50),        textField(u"CDMANCIA"_s, 4),      textField(u"CDSERVICO"_s, 10),
        textField(u"CDSUBGRU"_s, 10),     textField(u"CDSUBARV"_s, 20),     textField(u"DSSUBGRU"_s, 50),
        textField(u"NRORDSUMA"_s, 3),     textField(u"DSSUBGRUPROD"_s, 50), textField(u"NMFOTOSUMA"_s, 30),
        blobField(u"FGLOGOCIA"_s),        textField(u"VRPELOADSUMA"_s, 20), textField(u"TXCOMSUMA"_s, 200),
        textField(u"CDCLASSE"_s, 4),      textField(u"CDCICLO"_s, 4),       textField(u"CDFILIAL"_s, 4),
        dateTimeField(u"DTAPRESUMA"_s),   textField(u"DSSUBGRUPRI"_s, 50),  textField(u"CDSUBARVPRI"_s, 20),
        dateTimeField(u"DTEFETSUMA"_s),   dateTimeField(u"DTREVISUMA"_s),   textField(u"CDESPEPROD"_s, 10),
        textField(u"CDTIPOCOMP"_s, 3),    textField(u"CDSUBGRUPRI"_s, 50),  textField(u"CDESPEPRODSG"_s, 10),
        textField(u"CDPRODUTOPRI"_s, 10),
    };
    return fields;
}

namespace {

const QString subGruSeMaSelect = uR"(
    SELECT SM.DSSUBGRUPO, SM.CDCIA, CO.SGCIA, CO.NMCIA, SM.CDMANCIA, SM.CDSERVICO, SM.CDSUBGRU,
           SG.CDSUBARV, SG.DSSUBGRU, SM.NRORDSUMA, SG.DSSUBGRUPROD, SM.NMFOTOSUMA, CO.FGLOGOCIA,
           SM.VRPELOADSUMA, SM.TXCOMSUMA, SM.CDCLASSE, SM.CDCICLO, SM.CDFILIAL, SM.DTAPRESUMA,
           PR.DSSUBGRU, PR.CDSUBARV, SM.DTEFETSUMA, SM.DTREVISUMA, SM.CDESPEPROD, SG.CDTIPOCOMP,
           SM.CDPRODUTOPRI, SM.CDESPEPRODSG, SM.CDPRODUTOPRI
      FROM SUBGRUSEMA SM
      JOIN SUBGRUPO SG ON SG.CDSUBGRU = SM.CDSUBGRU
      JOIN COMPANHIA CO ON CO.CDCIA = SM.CDCIA
      LEFT JOIN SUBGRUPO PR ON PR.CDSUBGRU = SM.CDPRODUTOPRI
     WHERE SM.CDFILIAL = ? AND SM.CDCIA = ? AND SM.CDMANCIA = ?
       AND SM.CDSERVICO = ? AND SM.CDCLASSE = ? AND SM.CDCICLO = ?)"_s;

const QString hasPhoto = u"EXISTS (SELECT 1 FROM FOTOSEMA F WHERE F.CDPRODUTO = SM.CDSUBGRU "
                         "AND F.CDESPEPROD = SM.CDESPEPRODSG AND F.FGESPEPROD IS NOT NULL)"_s;
const QString hasInstructions = u"EXISTS (SELECT 1 FROM FOTOSUBMA I WHERE I.CDPRODUTO = SM.CDSUBGRU "
                                "AND I.CDESPEPROD = SM.CDESPEPRODSG)"_s;

// "0" only those that have the item, "1" only those without it, "2" all.
QString filterCondition(const QString& choice, const QString& exists)
{
    if (choice == u"0")
        return u" AND "_s + exists;
    if (choice == u"1")
        return u" AND NOT "_s + exists;
    return {};
}

const QStringList filterChoices = {u"0"_s, u"1"_s, u"2"_s};

MethodResult getSubGruSeMa(const Arguments& a, MethodContext& context)
{
    const QString branch = a.text(0, u"filial"_s, 4);
    const QString company = a.text(1, u"companhia"_s, 4);
    const QString manual = a.text(2, u"manual"_s, 4);
    const ServiceKey key = a.serviceKey(3, u"chave do serviço"_s);
    const QString photo = a.oneOf(4, u"filtro de foto"_s, filterChoices);
    const QString instructions = a.oneOf(5, u"filtro de instruções"_s, filterChoices);
    return streamedSelect(context.db, subGruSeMaQuery(photo, instructions),
                          {branch, company, manual, key.service, key.serviceClass, key.cycle}, subGruSeMaFields());
}

const TableLayout& subGruSeMaTable()
{
    static const TableLayout tableLayout = [] {
        TableLayout s;
        s.table = u"SUBGRUSEMA"_s;
        s.what = u"o sub-grupo"_s;
        s.keys = {textField(u"CDFILIAL"_s, 4), textField(u"CDCIA"_s, 4),    textField(u"CDMANCIA"_s, 4),
                  textField(u"CDSERVICO"_s, 10), textField(u"CDCLASSE"_s, 4), textField(u"CDCICLO"_s, 4),
                  textField(u"CDSUBGRU"_s, 10)};
        s.stored = {textField(u"DSSUBGRUPO"_s, 50),  textField(u"NRORDSUMA"_s, 3),
                    textField(u"NMFOTOSUMA"_s, 30),  textField(u"VRPELOADSUMA"_s, 20),
                    textField(u"TXCOMSUMA"_s, 200),  dateTimeField(u"DTAPRESUMA"_s),
                    dateTimeField(u"DTEFETSUMA"_s),  dateTimeField(u"DTREVISUMA"_s),
                    textField(u"CDPRODUTOPRI"_s, 10)};
        // Name and code of the principal follow CDPRODUTOPRI; the server reads them from SUBGRUPO.
        s.derived = {u"DSSUBGRUPRI"_s, u"CDSUBARVPRI"_s, u"CDSUBGRUPRI"_s};
        s.refuseInsert = u"Sub-grupos não podem ser incluídos: a lista vem da definição do serviço."_s;
        s.refuseDelete = u"Sub-grupos não podem ser excluídos: a lista vem da definição do serviço."_s;
        return s;
    }();
    return tableLayout;
}

// The null-field list "_FIELD_FIELD..." names the fields of the posted record that are null.
QStringList nullFields(const QString& list, const Arguments& a)
{
    if (list.isEmpty())
        return {};
    if (!list.startsWith(u'_'))
        throw MethodError(u"%1: a lista de campos nulos deve começar por \"_\"."_s.arg(a.method()));
    QStringList names = list.mid(1).split(u'_');
    QStringList known = {u"TempCiclo"_s, u"OBS"_s};
    for (const FieldDef& def : subGruSeMaFields())
        known << def.name;
    for (const QString& name : names)
        if (!known.contains(name))
            throw MethodError(u"%1: a lista de campos nulos traz um campo desconhecido: \"%2\"."_s
                                  .arg(a.method(), name));
    return names;
}

// The posted record is the last insert or update of the set: its named fields become null.
void applyNullFields(ChangeSet& changes, const QStringList& names)
{
    for (auto it = changes.changes.rbegin(); it != changes.changes.rend(); ++it) {
        if (it->kind == ChangeKind::Delete)
            continue;
        for (const QString& name : names) {
            const int index = changes.indexOf(name);
            if (index >= 0 && index < it->current.size())
                it->current[index] = QVariant();
        }
        return;
    }
}

void checkPrincipal(const ChangeSet& changes, const Row& current, MethodContext& context)
{
    const QVariant principal = current.value(changes.indexOf(u"CDPRODUTOPRI"_s));
    if (changes.indexOf(u"CDPRODUTOPRI"_s) < 0 || principal.isNull() || principal.toString().isEmpty())
        return;
    auto at = [&](const char16_t* name) { return current.value(changes.indexOf(QString::fromUtf16(name))); };
    if (principal.toString() == at(u"CDSUBGRU").toString())
        throw MethodError(u"Um sub-grupo não pode ser o seu próprio sub-grupo principal."_s);
    QSqlQuery q = runSql(context.db,
                         u"SELECT 1 FROM SUBGRUSEMA WHERE CDFILIAL = ? AND CDCIA = ? AND CDMANCIA = ? "
                         "AND CDSERVICO = ? AND CDCLASSE = ? AND CDCICLO = ? AND CDSUBGRU = ?"_s,
                         {at(u"CDFILIAL"), at(u"CDCIA"), at(u"CDMANCIA"), at(u"CDSERVICO"), at(u"CDCLASSE"),
                          at(u"CDCICLO"), principal.toString()});
    if (!q.next())
        throw MethodError(u"O sub-grupo principal %1 não pertence a este serviço do manual."_s
                              .arg(principal.toString()));
}

MethodResult setSubGruSeMa(const Arguments& a, MethodContext& context)
{
    ChangeSet changes = a.changeSet(0);
    const QStringList names = nullFields(a.text(1, u"lista de campos nulos"_s, 1000), a);
    applyNullFields(changes, names);
    const qint64 rows = applyChangeSet(subGruSeMaTable(), changes, context, [&](const Row& current) {
        checkPrincipal(changes, current, context);
    });
    return statusResult(rows);
}

MethodResult getSubGruPrin(const Arguments& a, MethodContext& context)
{
    const QString branch = a.text(0, u"filial"_s, 4);
    const QString company = a.text(1, u"companhia"_s, 4);
    const QString manual = a.text(2, u"manual"_s, 4);
    const QString service = a.text(3, u"serviço"_s, 10);
    const QString serviceClass = a.text(4, u"classe"_s, 4);
    const QString cycle = a.text(5, u"ciclo"_s, 4);
    const QString subgroup = a.text(6, u"sub-grupo"_s, 10);
    const QString code = a.text(7, u"código do sub-grupo principal"_s, 20);
    QString sql = uR"(
        SELECT SG.CDSUBARV, SG.DSSUBGRU, SG.CDSUBGRU
          FROM SUBGRUSEMA SM JOIN SUBGRUPO SG ON SG.CDSUBGRU = SM.CDSUBGRU
         WHERE SM.CDFILIAL = ? AND SM.CDCIA = ? AND SM.CDMANCIA = ? AND SM.CDSERVICO = ?
           AND SM.CDCLASSE = ? AND SM.CDCICLO = ? AND SM.CDSUBGRU <> ?)"_s;
    QVariantList params = {branch, company, manual, service, serviceClass, cycle, subgroup};
    if (!code.isEmpty()) {
        sql += u" AND SG.CDSUBARV = ?"_s;
        params << code;
    }
    return streamedSelect(context.db, sql + u" ORDER BY SG.CDSUBARV"_s, params,
                          {textField(u"CDSUBARV"_s, 20), textField(u"DSSUBGRU"_s, 200), textField(u"CDSUBGRU"_s, 10)});
}

}  // namespace

QString subGruSeMaQuery(const QString& photoFilter, const QString& instructionFilter)
{
    return subGruSeMaSelect + filterCondition(photoFilter, hasPhoto)
           + filterCondition(instructionFilter, hasInstructions) + u" ORDER BY SG.CDSUBARV"_s;
}

void addSubgroupMethods(Catalogue& catalogue)
{
    catalogue.add(u"GetSubGruSeMa"_s, getSubGruSeMa);
    catalogue.add(u"SetSubGruSeMa"_s, setSubGruSeMa);
    catalogue.add(u"GetSubGruPrin"_s, getSubGruPrin);
}

}  // namespace qmv::appserver

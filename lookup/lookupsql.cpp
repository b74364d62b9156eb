#include "lookup/lookupsql.h"

namespace qmv {

namespace {

FieldDef text(const QString& name, int size, const QString& label, bool required = false,
              bool visible = true)
{
    FieldDef f;
    f.name = name;
    f.kind = FieldKind::Text;
    f.size = size;
    f.label = label;
    f.required = required;
    f.visible = visible;
    return f;
}

}  // namespace

QList<FieldDef> qryManualCiaFields()
{
    return {text(QStringLiteral("CDMANCIA"), 4, QStringLiteral("Código"), true),
            text(QStringLiteral("DSMANUAL"), 30, QStringLiteral("Descrição"))};
}

QStringList qryFilialSql()
{
    return {QStringLiteral("SELECT CDFILIAL, NMFILIAL"),
            QStringLiteral("FROM FILIAL"),
            QStringLiteral("WHERE ((CDFILIAL = :P_CDFILIAL) OR (:P_TCDFILIAL = 'T'))"),
            QStringLiteral("ORDER BY CDFILIAL")};
}

QStringList qryCompanhiaSql()
{
    return {QStringLiteral("SELECT CO.CDCIA, CO.SGCIA, CO.NMCIA"),
            QStringLiteral("FROM COMPANHIA CO, CIAFILI CF"),
            QStringLiteral("WHERE (CO.CDCIA    = CF.CDCIA   ) AND"),
            QStringLiteral("      (CF.CDFILIAL = :P_CDFILIAL) AND"),
            QStringLiteral("      ((SGCIA = :P_SGCIA) OR (:P_TSGCIA = 'T'))"),
            QStringLiteral("ORDER BY SGCIA ")};
}

QStringList qryManualCiaSql()
{
    return {QStringLiteral("SELECT CDMANCIA,DSMANUAL"),
            QStringLiteral("FROM MANUALCIA"),
            QStringLiteral("WHERE (CDFILIAL   = :P_CDFILIAL) AND"),
            QStringLiteral("      (CDCIA      = :P_CDCIA   ) AND"),
            QStringLiteral("      (IDTPMANUAL = 'M'       ) and"),
            QStringLiteral("      ((CDMANCIA = :P_CDMANCIA) OR (:P_TCDMANCIA = 'T'))"),
            QStringLiteral("ORDER BY CDMANCIA "),
            QStringLiteral(" ")};
}

QStringList qryManualCiaImportSql()
{
    return {QStringLiteral("SELECT CDMANCIA,DSMANUAL"),
            QStringLiteral("FROM MANUALCIA"),
            QStringLiteral("WHERE (IDTPMANUAL = 'M'       ) AND"),
            QStringLiteral("      (CDFILIAL   = :P_CDFILIAL) AND"),
            QStringLiteral("      (CDCIA      = :P_CDCIA   ) AND"),
            QStringLiteral("      ((CDMANCIA = :P_CDMANCIA) OR (:P_TCDMANCIA = 'T'))"),
            QStringLiteral("ORDER BY CDMANCIA "),
            QStringLiteral(" ")};
}

QList<FieldDef> qryFilialFields()
{
    return {text(QStringLiteral("CDFILIAL"), 4, QStringLiteral("Código"), true),
            text(QStringLiteral("NMFILIAL"), 30, QStringLiteral("Nome"))};
}

QList<FieldDef> qryCompanhiaFields()
{
    return {text(QStringLiteral("SGCIA"), 5, QStringLiteral("Sigla")),
            text(QStringLiteral("NMCIA"), 50, QStringLiteral("Nome")),
            text(QStringLiteral("CDCIA"), 4, QStringLiteral("Código"), true, false)};
}

}  // namespace qmv

#include "lookup/sqlpacket.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace qmv {

namespace {

[[noreturn]] void fail(const QString& what, const QSqlQuery& q)
{
    throw QueryError((what + QStringLiteral(": ") + q.lastError().text()).toStdString());
}

QList<int> columnsFor(const QSqlRecord& record, const QList<FieldDef>& fields)
{
    QList<int> columns;
    for (const FieldDef& f : fields) {
        int found = -1;
        for (int i = 0; i < record.count() && found < 0; ++i) {
            if (record.fieldName(i).compare(f.name, Qt::CaseInsensitive) == 0)
                found = i;
        }
        if (found < 0)
            throw QueryError("Coluna ausente no resultado: " + f.name.toStdString());
        columns << found;
    }
    return columns;
}

// Texts lose the blanks a fixed-width column pads them with, so both engines give the same codes.
QVariant valueFor(const QVariant& raw, const FieldDef& field)
{
    if (raw.isNull())
        return QVariant();
    if (field.kind != FieldKind::Text && field.kind != FieldKind::FixedText)
        return raw;
    QString s = raw.toString();
    qsizetype end = s.size();
    while (end > 0 && s[end - 1] == QLatin1Char(' '))
        --end;
    s.truncate(end);
    return s;
}

}  // namespace

DataPacket fetchPacket(QSqlDatabase db, const QString& sql, const QueryParams& params,
                       const QList<FieldDef>& fields)
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!q.prepare(sql))
        fail(QStringLiteral("Erro ao preparar consulta"), q);
    for (const QueryParam& p : params.all())
        q.bindValue(QLatin1Char(':') + p.name(), p.bindValue());
    if (!q.exec())
        fail(QStringLiteral("Erro ao executar consulta"), q);

    DataPacket packet;
    packet.fields = fields;
    const QList<int> columns = columnsFor(q.record(), fields);
    while (q.next()) {
        Row row;
        row.reserve(fields.size());
        for (qsizetype i = 0; i < fields.size(); ++i)
            row << valueFor(q.value(columns[i]), fields[i]);
        packet.rows << row;
    }
    if (q.lastError().isValid())
        fail(QStringLiteral("Erro ao ler consulta"), q);
    return packet;
}

}  // namespace qmv

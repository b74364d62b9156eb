// Putting rows back from the history: one entry's row to its "before" values (RestauraHist), and
// every photo of an import that nobody changed since (DesfazImportaFoto). Both write through a write
// scope, so what they put back is itself recorded and can be put back in turn.
#include "appserver/history/historymethods.h"
#include "appserver/methods/catalogue.h"
#include "appserver/methods/changeapplier.h"
#include "appserver/methods/methoderror.h"
#include "appserver/methods/packetbuilder.h"
#include "appserver/database/sql.h"

namespace qmv::appserver {

using namespace Qt::StringLiterals;

namespace {

struct Entry {
    QString id;
    const HistoryTable* table = nullptr;
    QVariantList key;
    QString keyText;
    QByteArray before;
    QByteArray after;
    QString subgroup;
};

Entry entryFrom(QSqlQuery& q)
{
    Entry e;
    e.id = q.value(0).toString() + u':' + q.value(1).toString();
    e.table = historyTable(q.value(2).toString());
    if (!e.table)
        throw MethodError(u"O histórico traz uma tabela desconhecida: %1."_s.arg(q.value(2).toString()));
    e.keyText = q.value(3).toString();
    e.key = e.table->keyFromText(e.keyText);
    e.before = q.value(4).toByteArray();
    e.after = q.value(5).toByteArray();
    e.subgroup = q.value(6).toString();
    return e;
}

const QString entryColumns = u"A.NRLOTE, A.NRSEQ, A.NMTABELA, A.DSCHAVE, A.PKANTES, A.PKDEPOIS, A.CDESPEPRODSG"_s;

Entry entryById(MethodContext& context, const QString& branch, const QString& id)
{
    const qsizetype colon = id.lastIndexOf(u':');
    bool numeric = false;
    const int seq = colon > 0 ? id.mid(colon + 1).toInt(&numeric) : 0;
    QSqlQuery q = runSql(context.db,
                         u"SELECT %1 FROM HISTALTERA A WHERE A.NRLOTE = ? AND A.NRSEQ = ? AND A.CDFILIAL = ?"_s.arg(
                             entryColumns),
                         {id.left(colon), seq, branch});
    if (!numeric || !q.next())
        throw MethodError(u"A entrada %1 não está no histórico da filial %2."_s.arg(id, branch));
    return entryFrom(q);
}

// The newest entry of a row, nothing when it has none.
std::optional<Entry> newestOf(MethodContext& context, const Entry& entry)
{
    QSqlQuery q = runSql(context.db,
                         u"SELECT %1 FROM HISTALTERA A JOIN HISTLOTE L ON L.NRLOTE = A.NRLOTE "
                         "WHERE A.CDESPEPRODSG = ? AND A.NMTABELA = ? AND A.DSCHAVE = ? ORDER BY %2 LIMIT 1"_s.arg(
                             entryColumns, newestFirst),
                         {entry.subgroup, entry.table->name, entry.keyText});
    if (!q.next())
        return std::nullopt;
    return entryFrom(q);
}

// An image as kept, its large value left as the digest.
RowImage keptImage(const QByteArray& bytes)
{
    if (bytes.isEmpty())
        return std::nullopt;
    return packetFromCbor(QCborValue::fromCbor(bytes)).rows.value(0);
}

bool sameImage(const HistoryTable& table, const RowImage& a, const RowImage& b)
{
    if (!a || !b)
        return !a && !b;
    for (int i = 0; i < table.columns.size(); ++i)
        if (!sameValue(table.columns[i].kind, a->value(i), b->value(i)))
            return false;
    return true;
}

QVariant bindable(const FieldDef& column, const QVariant& value)
{
    if (value.isNull())
        return typedNull(column.kind);
    return column.kind == FieldKind::DateTime ? dbDateTime(value.toDateTime()) : value;
}

// Makes the row at `key` hold `target` (absent: deleted), recording the change.
void putBack(MethodContext& context, const HistoryTable& table, const QVariantList& key, const RowImage& current,
             const RowImage& target)
{
    QStringList keyParts, columns, assignments;
    QVariantList values;
    for (const FieldDef& column : table.keys())
        keyParts << column.name + u" = ?"_s;
    const QString where = keyParts.join(u" AND "_s);
    if (!target) {
        runSql(context.db, u"DELETE FROM %1 WHERE %2"_s.arg(table.name, where), key);
    } else if (!current) {
        for (int i = 0; i < table.columns.size(); ++i) {
            columns << table.columns[i].name;
            values << bindable(table.columns[i], target->value(i));
        }
        runSql(context.db, u"INSERT INTO %1 (%2) VALUES (%3)"_s.arg(table.name, columns.join(u", "_s),
                                                                   QStringList(columns.size(), u"?"_s).join(u", "_s)),
               values);
    } else {
        for (int i = table.keyCount; i < table.columns.size(); ++i) {
            assignments << table.columns[i].name + u" = ?"_s;
            values << bindable(table.columns[i], target->value(i));
        }
        runSql(context.db, u"UPDATE %1 SET %2 WHERE %3"_s.arg(table.name, assignments.join(u", "_s), where),
               values + key);
    }
    if (context.history)
        context.history->record(table, key, current);
}

bool anyRow(MethodContext& context, const QString& table, const QString& subgroupColumn, const QString& subgroup)
{
    return runSql(context.db, u"SELECT 1 FROM %1 WHERE %2 = ?"_s.arg(table, subgroupColumn), {subgroup}).next();
}

// A row of a sub-group's pages cannot come back without its sub-group, nor a sub-group go while
// rows of its pages remain: said in words rather than left to the database's key violation.
void refuseOrphans(MethodContext& context, const Entry& entry, const RowImage& current, const RowImage& target)
{
    const bool subgroupRow = entry.table->name == u"SUBGRUSEMA"_s;
    if (target && !current && !subgroupRow && !anyRow(context, u"SUBGRUSEMA"_s, u"CDESPEPRODSG"_s, entry.subgroup))
        throw MethodError(u"O sub-grupo de %1 (%2) foi excluído; restaure antes a exclusão do sub-grupo. Nenhuma "
                          "alteração foi gravada."_s.arg(entry.table->name, entry.keyText));
    if (target || !current || !subgroupRow)
        return;
    for (const QString& page : {u"FOTOSEMA"_s, u"FOTOSUBMA"_s, u"EQUISUBSEMA"_s, u"PRODRECSEMA"_s})
        if (anyRow(context, page, u"CDESPEPROD"_s, entry.subgroup))
            throw MethodError(u"O sub-grupo (%1) tem dados em %2 e não pode ser removido pela restauração. Nenhuma "
                              "alteração foi gravada."_s.arg(entry.keyText, page));
}

MethodResult restauraHist(const Arguments& a, MethodContext& context)
{
    const QString branch = a.text(0, u"filial"_s, 4);
    const QString id = a.text(1, u"entrada do histórico"_s, 48);
    const QString seen = a.text(2, u"entrada mais recente lida"_s, 48);
    WriteScope scope(context);
    const Entry entry = entryById(context, branch, id);
    const RowImage current = readRow(context, *entry.table, entry.key);
    const std::optional<Entry> newest = newestOf(context, entry);
    if (!newest || newest->id != seen || !sameImage(*entry.table, current, keptImage(newest->after)))
        throw MethodError(u"Outro usuário alterou %1 (%2) depois que o histórico foi lido. Nenhuma alteração foi "
                          "gravada; recarregue o histórico e repita a operação."_s.arg(entry.table->name, entry.keyText));
    const RowImage target = imageFromPacket(context, *entry.table, entry.before);
    if (sameImage(*entry.table, current, target))
        return statusResult(0);
    refuseOrphans(context, entry, current, target);
    putBack(context, *entry.table, entry.key, current, target);
    scope.commit();
    return statusResult(1);
}

MethodResult desfazImportaFoto(const Arguments& a, MethodContext& context)
{
    const QString branch = a.text(0, u"filial"_s, 4);
    const QString batch = a.text(1, u"lote"_s, 36);
    if (!runSql(context.db, u"SELECT 1 FROM HISTLOTE WHERE NRLOTE = ? AND CDFILIAL = ? AND NMMETODO = 'ImportaFoto'"_s,
                {batch, branch})
             .next())
        throw MethodError(u"A importação %1 não está no histórico da filial %2."_s.arg(batch, branch));
    WriteScope scope(context);
    QSqlQuery q = runSql(context.db, u"SELECT %1 FROM HISTALTERA A WHERE A.NRLOTE = ? ORDER BY A.NRSEQ"_s.arg(entryColumns),
                         {batch});
    QList<Entry> entries;
    while (q.next())
        entries << entryFrom(q);
    DataPacket answer{{textField(u"CDPRODUTO"_s, 10), textField(u"CDESPEPROD"_s, 10), fixedTextField(u"IDDESFEITO"_s, 1),
                       textField(u"DSMOTIVO"_s, 200)},
                      {}};
    for (const Entry& entry : entries) {
        const RowImage current = readRow(context, *entry.table, entry.key);
        const bool untouched = sameImage(*entry.table, current, keptImage(entry.after));
        QString reason = u"A foto foi alterada depois da importação e ficou como está."_s;
        if (untouched) {
            const RowImage target = imageFromPacket(context, *entry.table, entry.before);
            reason = target ? u"A foto anterior foi restaurada."_s : u"A foto incluída pela importação foi removida."_s;
            putBack(context, *entry.table, entry.key, current, target);
        }
        answer.rows.append({entry.key.value(0), entry.key.value(1), untouched ? u"S"_s : u"N"_s, reason});
    }
    scope.commit();
    return packetResult(answer);
}

}  // namespace

void addHistoryWriteMethods(Catalogue& catalogue)
{
    catalogue.add(u"RestauraHist"_s, restauraHist);
    catalogue.add(u"DesfazImportaFoto"_s, desfazImportaFoto);
}

}  // namespace qmv::appserver

#include "appserver/methods/changeapplier.h"

#include "platform/blobdigest.h"

#include "appserver/methods/methoderror.h"
#include "appserver/methods/packetbuilder.h"
#include "appserver/database/sql.h"
#include "appserver/methods/valuecheck.h"

#include <QDateTime>
#include <algorithm>
#include <cmath>

namespace qmv::appserver {

using namespace Qt::StringLiterals;

namespace {

const FieldDef* findDef(const QList<FieldDef>& defs, const QString& name)
{
    for (const FieldDef& def : defs)
        if (def.name == name)
            return &def;
    return nullptr;
}

bool isNumber(const QVariant& v)
{
    switch (v.metaType().id()) {
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
        return true;
    default:
        return false;
    }
}

}  // namespace

QVariant typedNull(FieldKind kind)
{
    switch (kind) {
    case FieldKind::Float:
        return QVariant(QMetaType(QMetaType::Double));
    case FieldKind::Integer:
        return QVariant(QMetaType(QMetaType::LongLong));
    case FieldKind::DateTime:
        return QVariant(QMetaType(QMetaType::QDateTime));
    case FieldKind::Blob:
        return QVariant(QMetaType(QMetaType::QByteArray));
    default:
        return nullText();
    }
}

bool sameValue(FieldKind kind, const QVariant& a, const QVariant& b)
{
    const bool textual = kind == FieldKind::Text || kind == FieldKind::FixedText;
    const bool aNull = a.isNull() || (textual && a.toString().isEmpty());
    const bool bNull = b.isNull() || (textual && b.toString().isEmpty());
    if (aNull || bNull)
        return aNull == bNull;
    switch (kind) {
    case FieldKind::Float: {
        const double x = a.toDouble(), y = b.toDouble();
        return std::abs(x - y) <= 1e-9 * std::max({1.0, std::abs(x), std::abs(y)});
    }
    case FieldKind::Integer:
        return a.toLongLong() == b.toLongLong();
    case FieldKind::DateTime: {
        const QDateTime x = toDateTime(a), y = toDateTime(b);
        return x.date() == y.date() && x.time() == y.time();
    }
    case FieldKind::Blob:
        // Either side may be the digest a client sends instead of the original bytes.
        if (isBlobDigest(a) || isBlobDigest(b)) {
            // Compared in the kind of digest the client sent.
            const BlobDigest::Kind kind = (isBlobDigest(a) ? a : b).value<BlobDigest>().kind;
            const auto digest = [kind](const QVariant& v) {
                return isBlobDigest(v) ? v.value<BlobDigest>() : digestOf(v.toByteArray(), kind);
            };
            return digest(a) == digest(b);
        }
        return a.toByteArray() == b.toByteArray();
    default:
        return a.toString() == b.toString();
    }
}

void visitChanges(const ChangeSet& changes, ChangeVisitor& visitor)
{
    for (const Change& change : changes.changes) {
        switch (change.kind) {
        case ChangeKind::Insert:
            visitor.inserted(change.current);
            break;
        case ChangeKind::Update:
            visitor.updated(change.original, change.current);
            break;
        case ChangeKind::Delete:
            visitor.deleted(change.original);
            break;
        }
    }
}

TableWriter::TableWriter(const TableLayout& tableLayout, const ChangeSet& changes, MethodContext& context)
    : layout_(tableLayout), changes_(changes), context_(context)
{
    checkFields();
    QStringList keys;
    for (const FieldDef& key : layout_.keys)
        keys << key.name;
    checkChangeSetValues(context_.method, changes_, keys, [this](const Row& row) { return keyText(row); });
}

void TableWriter::checkFields() const
{
    for (const FieldDef& key : layout_.keys)
        if (changes_.indexOf(key.name) < 0)
            throw MethodError(u"O conjunto de alterações não traz o campo %1, que identifica %2."_s
                                  .arg(key.name, layout_.what));
    for (const Change& change : changes_.changes) {
        const qsizetype expected = changes_.fields.size();
        const bool originalOk = change.kind == ChangeKind::Insert || change.original.size() == expected;
        const bool currentOk = change.kind == ChangeKind::Delete || change.current.size() == expected;
        if (!originalOk || !currentOk)
            throw MethodError(u"O conjunto de alterações tem uma linha com número de valores diferente "
                              "do número de campos."_s);
    }
}

QVariant TableWriter::value(const Row& row, const QString& field) const
{
    const int index = changes_.indexOf(field);
    return index < 0 ? QVariant() : row.value(index);
}

QVariantList TableWriter::keyValues(const Row& row) const
{
    QVariantList values;
    for (const FieldDef& key : layout_.keys) {
        const QVariant v = value(row, key.name);
        if (v.isNull() || v.toString().isEmpty())
            throw MethodError(u"O campo %1, que identifica %2, está vazio."_s.arg(key.name, layout_.what));
        values.append(bindable(key, v));
    }
    return values;
}

QString TableWriter::keyText(const Row& row) const
{
    QStringList parts;
    for (const FieldDef& key : layout_.keys)
        parts << key.name + u'=' + value(row, key.name).toString();
    return parts.join(u", "_s);
}

QString TableWriter::keyCondition() const
{
    QStringList parts;
    for (const FieldDef& key : layout_.keys)
        parts << key.name + u" = ?"_s;
    return parts.join(u" AND "_s);
}

QVariant TableWriter::bindable(const FieldDef& def, const QVariant& v) const
{
    if (v.isNull())
        return typedNull(def.kind);
    auto refuse = [&](const QString& problem) {
        throw MethodError(u"O campo %1 %2."_s.arg(def.name, problem));
    };
    switch (def.kind) {
    case FieldKind::Float:
        if (!isNumber(v))
            refuse(u"deve ser um número"_s);
        return v.toDouble();
    case FieldKind::Integer:
        if (!isNumber(v))
            refuse(u"deve ser um número inteiro"_s);
        return v.toLongLong();
    case FieldKind::DateTime:
        if (v.metaType().id() != QMetaType::QDateTime && v.metaType().id() != QMetaType::QDate)
            refuse(u"deve ser uma data"_s);
        return dbDateTime(v.toDateTime());
    case FieldKind::Blob:
        if (v.metaType().id() != QMetaType::QByteArray)
            refuse(u"deve ser um objeto binário"_s);
        if (layout_.blobLimit > 0 && v.toByteArray().size() >= layout_.blobLimit)
            throw MethodError(layout_.blobLimitMessage);
        return v.toByteArray();
    default:
        if (v.metaType().id() != QMetaType::QString)
            refuse(u"deve ser um texto"_s);
        if (def.size > 0 && v.toString().size() > def.size)
            refuse(u"tem %1 caracteres; o máximo é %2"_s.arg(v.toString().size()).arg(def.size));
        return v.toString();
    }
}

void TableWriter::validate(const Row& current) const
{
    for (const FieldDef& def : layout_.stored)
        if (changes_.indexOf(def.name) >= 0)
            bindable(def, value(current, def.name));
    if (check_)
        check_(current);
}

void TableWriter::conflict(const QString& what) const
{
    throw MethodError(u"%1 Nenhuma alteração foi gravada; recarregue os dados e repita a operação."_s.arg(what));
}

QVariantList TableWriter::storedValues(const Row& original, const QList<const FieldDef*>& compared,
                                       const std::optional<Trace>& trace) const
{
    const auto deleted = [&] {
        conflict(u"Outro usuário excluiu %1 (%2) depois que os dados foram lidos."_s.arg(layout_.what, keyText(original)));
    };
    QVariantList values;
    const auto inTrace = [&](const FieldDef* def) { return trace->table->indexOf(def->name) >= 0; };
    if (trace && std::all_of(compared.begin(), compared.end(), inTrace)) {
        if (!trace->before)
            deleted();
        for (const FieldDef* def : compared)
            values << trace->before->at(trace->table->indexOf(def->name));
        return values;
    }
    QStringList columns;
    for (const FieldDef* def : compared)
        columns << def->name;
    const QString select = u"SELECT %1 FROM %2 WHERE %3"_s.arg(
        columns.isEmpty() ? u"1"_s : columns.join(u", "_s), layout_.table, keyCondition());
    QSqlQuery q = runSql(context_.db, select, keyValues(original));
    if (!q.next())
        deleted();
    for (int i = 0; i < compared.size(); ++i)
        values << q.value(i);
    return values;
}

TableWriter::Condition TableWriter::unchangedSince(const Row& original, const std::optional<Trace>& trace) const
{
    QList<const FieldDef*> compared;
    for (const FieldDef& def : layout_.stored)
        if (changes_.indexOf(def.name) >= 0)
            compared << &def;
    const QVariantList storedNow = storedValues(original, compared, trace);
    Condition condition;
    QStringList parts;
    for (int i = 0; i < compared.size(); ++i) {
        const FieldDef& def = *compared[i];
        const QVariant& stored = storedNow[i];
        if (!sameValue(def.kind, packetValue(stored, def.kind), value(original, def.name)))
            conflict(u"Outro usuário alterou %1 (%2), campo %3, depois que os dados foram lidos."_s
                         .arg(layout_.what, keyText(original), def.name));
        // Compare again in the write itself with the values just read, so a change made by another
        // server between this read and the write is caught too. On SQLite a photo is not read a
        // second time for it: a write over a snapshot that another writer changed fails there anyway.
        if (def.kind == FieldKind::Blob && context_.driver == Driver::Sqlite)
            continue;
        if (stored.isNull()) {
            parts << def.name + u" IS NULL"_s;
        } else {
            parts << def.name + u" = ?"_s;
            // A date read from PostgreSQL goes back in the form it is written in; SQLite's text as is.
            condition.params << (stored.metaType().id() == QMetaType::QDateTime ? dbDateTime(stored.toDateTime())
                                                                                 : stored);
        }
    }
    condition.sql = parts.join(u" AND "_s);
    return condition;
}

std::optional<TableWriter::Trace> TableWriter::traceBefore(const Row& row) const
{
    const HistoryTable* table = context_.history ? historyTable(layout_.table) : nullptr;
    if (!table)
        return std::nullopt;
    QVariantList key;
    for (const FieldDef& def : table->keys())
        key << value(row, def.name).toString();
    return Trace{table, key, readStoredRow(context_, *table, key)};
}

// The large value as the conflict check saw it (the digest a client sends for a large original) and
// as the write stored it, when this change set carries it.
KnownContent TableWriter::knownContent(const Trace& trace, const Row* original, const Row* current) const
{
    KnownContent known;
    const QString blob = trace.table->blobColumn < 0 ? QString() : trace.table->columns[trace.table->blobColumn].name;
    if (blob.isEmpty() || !findDef(layout_.stored, blob) || changes_.indexOf(blob) < 0)
        return known;
    if (original && isBlobDigest(value(*original, blob))) {
        const BlobDigest digest = value(*original, blob).value<BlobDigest>();
        if (digest.kind == BlobDigest::Kind::Xxh3)
            known.before = digest;
    }
    if (current)
        known.after = value(*current, blob).toByteArray();
    return known;
}

void TableWriter::traceAfter(const std::optional<Trace>& trace, const Row* original, const Row* current) const
{
    if (trace)
        context_.history->record(*trace->table, trace->key, imageOf(*trace->table, trace->before),
                                 knownContent(*trace, original, current));
}

void TableWriter::inserted(const Row& current)
{
    if (!layout_.refuseInsert.isEmpty())
        throw MethodError(layout_.refuseInsert);
    const QVariantList keys = keyValues(current);
    validate(current);
    if (runSql(context_.db, u"SELECT 1 FROM %1 WHERE %2"_s.arg(layout_.table, keyCondition()), keys).next())
        conflict(u"Outro usuário já incluiu %1 (%2)."_s.arg(layout_.what, keyText(current)));
    QStringList columns;
    QVariantList values = keys;
    for (const FieldDef& key : layout_.keys)
        columns << key.name;
    for (const FieldDef& def : layout_.stored)
        if (changes_.indexOf(def.name) >= 0) {
            columns << def.name;
            values << bindable(def, value(current, def.name));
        }
    const QString marks = QStringList(columns.size(), u"?"_s).join(u", "_s);
    const auto trace = traceBefore(current);
    runSql(context_.db, u"INSERT INTO %1 (%2) VALUES (%3)"_s.arg(layout_.table, columns.join(u", "_s), marks),
           values);
    traceAfter(trace, nullptr, &current);
    ++rows_;
}

void TableWriter::updated(const Row& original, const Row& current)
{
    for (const FieldDef& key : layout_.keys)
        if (!sameValue(key.kind, value(original, key.name), value(current, key.name)))
            throw MethodError(u"O campo %1 identifica %2 e não pode ser alterado."_s.arg(key.name, layout_.what));
    for (int i = 0; i < changes_.fields.size(); ++i) {
        const FieldDef& def = changes_.fields[i];
        const bool writable = findDef(layout_.keys, def.name) || findDef(layout_.stored, def.name)
                              || layout_.derived.contains(def.name) || def.kind == FieldKind::Calculated;
        if (!writable && !sameValue(def.kind, original.value(i), current.value(i)))
            throw MethodError(u"O campo %1 não pode ser alterado."_s.arg(def.name));
    }
    validate(current);
    const auto trace = traceBefore(original);
    const Condition unchanged = unchangedSince(original, trace);
    QStringList assignments;
    QVariantList values;
    for (const FieldDef& def : layout_.stored)
        if (changes_.indexOf(def.name) >= 0) {
            assignments << def.name + u" = ?"_s;
            values << bindable(def, value(current, def.name));
        }
    if (assignments.isEmpty()) {
        ++rows_;
        return;
    }
    values << keyValues(original) << unchanged.params;
    const QString where = unchanged.sql.isEmpty() ? keyCondition() : keyCondition() + u" AND "_s + unchanged.sql;
    QSqlQuery q = runSql(context_.db, u"UPDATE %1 SET %2 WHERE %3"_s.arg(layout_.table, assignments.join(u", "_s), where),
                         values);
    if (q.numRowsAffected() != 1)
        conflict(u"Outro usuário alterou %1 (%2) enquanto a alteração era gravada."_s
                     .arg(layout_.what, keyText(original)));
    traceAfter(trace, &original, &current);
    ++rows_;
}

void TableWriter::deleted(const Row& original)
{
    if (!layout_.refuseDelete.isEmpty())
        throw MethodError(layout_.refuseDelete);
    const auto trace = traceBefore(original);
    const Condition unchanged = unchangedSince(original, trace);
    QVariantList values = keyValues(original);
    values << unchanged.params;
    const QString where = unchanged.sql.isEmpty() ? keyCondition() : keyCondition() + u" AND "_s + unchanged.sql;
    QSqlQuery q = runSql(context_.db, u"DELETE FROM %1 WHERE %2"_s.arg(layout_.table, where), values);
    if (q.numRowsAffected() != 1)
        conflict(u"Outro usuário alterou %1 (%2) enquanto a exclusão era gravada."_s
                     .arg(layout_.what, keyText(original)));
    traceAfter(trace, &original, nullptr);
    ++rows_;
}

qint64 applyChangeSet(const TableLayout& tableLayout, const ChangeSet& changes, MethodContext& context, RowCheck check)
{
    TableWriter writer(tableLayout, changes, context);  // checks every value before the transaction
    WriteScope scope(context);
    writer.setRowCheck(std::move(check));
    visitChanges(changes, writer);
    scope.commit();
    return writer.rowsWritten();
}

}  // namespace qmv::appserver

#include "appserver/history/historyrecorder.h"

#include "appserver/database/sql.h"
#include "appserver/methods/methodcontext.h"
#include "appserver/methods/methoderror.h"
#include "appserver/methods/packetbuilder.h"
#include "platform/blobdigest.h"

#include <QDateTime>
#include <QUuid>

namespace qmv::appserver {

using namespace Qt::StringLiterals;

namespace {

QString keyCondition(const HistoryTable& table)
{
    QStringList parts;
    for (const FieldDef& key : table.keys())
        parts << key.name + u" = ?"_s;
    return parts.join(u" AND "_s);
}

QString columnList(const HistoryTable& table, bool withBlob)
{
    QStringList names;
    for (int i = 0; i < table.columns.size(); ++i)
        names << (withBlob || i != table.blobColumn ? table.columns[i].name : u"NULL"_s);
    return names.join(u", "_s);
}

}  // namespace

StoredRow readStoredRow(MethodContext& context, const HistoryTable& table, const QVariantList& key, bool withBlob)
{
    const QString lock = context.driver == Driver::Postgres ? u" FOR UPDATE"_s : QString();
    QSqlQuery q = runSql(
        context.db,
        u"SELECT %1 FROM %2 WHERE %3%4"_s.arg(columnList(table, withBlob), table.name, keyCondition(table), lock), key);
    if (!q.next())
        return std::nullopt;
    QVariantList values;
    for (int i = 0; i < table.columns.size(); ++i)
        values << q.value(i);
    return values;
}

RowImage imageOf(const HistoryTable& table, const StoredRow& stored)
{
    if (!stored)
        return std::nullopt;
    Row row;
    for (int i = 0; i < table.columns.size(); ++i)
        row << packetValue(stored->at(i), table.columns[i].kind);
    return row;
}

RowImage readRow(MethodContext& context, const HistoryTable& table, const QVariantList& key)
{
    return imageOf(table, readStoredRow(context, table, key));
}

RowImage imageFromPacket(MethodContext& context, const HistoryTable& table, const QByteArray& bytes)
{
    if (bytes.isEmpty())
        return std::nullopt;
    const DataPacket packet = packetFromCbor(QCborValue::fromCbor(bytes));
    if (packet.rows.size() != 1 || packet.fields.size() != table.columns.size())
        throw MethodError(u"O histórico de %1 guarda uma linha em formato inesperado."_s.arg(table.name));
    Row row = packet.rows[0];
    if (table.blobColumn >= 0 && isBlobDigest(row[table.blobColumn])) {
        const QString digest = QString::fromLatin1(row[table.blobColumn].value<BlobDigest>().value.toHex());
        QSqlQuery q = runSql(context.db, u"SELECT FGCONTEUDO FROM HISTCONTEUDO WHERE CDDIGEST = ?"_s, {digest});
        if (!q.next())
            throw MethodError(u"O conteúdo %1 do histórico não está mais guardado."_s.arg(digest));
        row[table.blobColumn] = q.value(0).toByteArray();
    }
    return row;
}

HistoryRecorder::HistoryRecorder(MethodContext& context)
    : context_(context), batch_(QUuid::createUuid().toString(QUuid::WithoutBraces))
{
}

RowImage HistoryRecorder::read(const HistoryTable& table, const QVariantList& key) const
{
    return readRow(context_, table, key);
}

void HistoryRecorder::describeImport(const QVariantList& service, const QString& description)
{
    importService_ = service;
    description_ = description.left(200);
}

void HistoryRecorder::startBatch()
{
    const QVariantList service = importService_.isEmpty() ? QVariantList(4, nullText()) : importService_;
    runSql(context_.db,
           u"INSERT INTO HISTLOTE (NRLOTE, DTLOTE, NMCHAVE, NMUSUARIO, NMMETODO, CDFILIAL, CDCIA, CDMANCIA, "
           "CDSERVICO, DSLOTE) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"_s,
           QVariantList{batch_, dbDateTime(QDateTime::currentDateTimeUtc()), context_.caller.keyName,
                        context_.caller.user.isEmpty() ? nullText() : QVariant(context_.caller.user), context_.method}
               + service + QVariantList{description_.isEmpty() ? nullText() : QVariant(description_)});
}

QVariantList HistoryRecorder::serviceOf(const HistoryTable& table, const RowImage& image)
{
    const QString subgroup = image->value(table.indexOf(table.subgroupColumn)).toString();
    if (table.name == u"SUBGRUSEMA")
        return image->mid(0, 4);
    const auto known = services_.constFind(subgroup);
    if (known != services_.constEnd())
        return known.value();
    QSqlQuery q = runSql(context_.db,
                         u"SELECT CDFILIAL, CDCIA, CDMANCIA, CDSERVICO FROM SUBGRUSEMA WHERE CDESPEPRODSG = ?"_s,
                         {subgroup});
    QVariantList service(4, nullText());
    if (q.next())
        for (int i = 0; i < 4; ++i)
            service[i] = q.value(i);
    services_.insert(subgroup, service);
    return service;
}

void HistoryRecorder::keep(const QByteArray& bytes, const QString& digest)
{
    // Touched when used again after a day, so that pruning, which only removes contents untouched
    // for its whole period (a day at least), never takes one that a write in progress refers to. Not
    // touched more often: on SQLite an update rewrites the whole row, bytes included.
    const QDateTime now = QDateTime::currentDateTimeUtc();
    QSqlQuery q = runSql(context_.db, u"SELECT DTCONTEUDO FROM HISTCONTEUDO WHERE CDDIGEST = ?"_s, {digest});
    bool kept = q.next();
    if (kept) {
        const QDateTime used = toDateTime(q.value(0));
        // A pruning that removed it meanwhile leaves the update nothing to touch: it is kept again.
        if (QDateTime(used.date(), used.time(), Qt::UTC) < now.addDays(-1))
            kept = runSql(context_.db, u"UPDATE HISTCONTEUDO SET DTCONTEUDO = ? WHERE CDDIGEST = ?"_s,
                          {dbDateTime(now), digest})
                       .numRowsAffected() == 1;
    }
    if (!kept)
        runSql(context_.db,
               u"INSERT INTO HISTCONTEUDO (CDDIGEST, DTCONTEUDO, FGCONTEUDO) VALUES (?, ?, ?) "
               "ON CONFLICT (CDDIGEST) DO NOTHING"_s,
               {digest, dbDateTime(now), bytes});
}

// The image's large value goes into the packet as its digest, computed once: a photo is large.
QByteArray HistoryRecorder::packetOf(const HistoryTable& table, const RowImage& image,
                                     const std::optional<BlobDigest>& known, QVariant& content)
{
    content = nullText();
    if (!image)
        return QByteArray();
    Row values = *image;
    if (table.blobColumn >= 0 && !values[table.blobColumn].isNull()) {
        const QByteArray bytes = values[table.blobColumn].toByteArray();
        const BlobDigest digest = known ? *known : digestOf(bytes, BlobDigest::Kind::Xxh3);
        const QString hex = QString::fromLatin1(digest.value.toHex());
        keep(bytes, hex);
        content = hex;
        values[table.blobColumn] = QVariant::fromValue(digest);
    }
    return encodePacket(DataPacket{table.columns, {values}});
}

// The large value a write has just stored is not read back: the row holds exactly those bytes.
RowImage HistoryRecorder::readAfter(const HistoryTable& table, const QVariantList& key, const QByteArray& stored) const
{
    if (table.blobColumn < 0 || stored.isEmpty())
        return read(table, key);
    RowImage after = imageOf(table, readStoredRow(context_, table, key, false));
    if (after)
        (*after)[table.blobColumn] = stored;
    return after;
}

void HistoryRecorder::record(const HistoryTable& table, const QVariantList& key, const RowImage& before,
                             const KnownContent& known)
{
    const RowImage after = readAfter(table, key, known.after);
    if (before == after)
        return;
    if (entries_ == 0)
        startBatch();
    QVariant contentBefore, contentAfter;
    const QByteArray packetBefore = packetOf(table, before, known.before, contentBefore);
    const QByteArray packetAfter = packetOf(table, after, std::nullopt, contentAfter);
    const RowImage& either = after ? after : before;
    const auto blob = [](const QByteArray& bytes) {
        return bytes.isEmpty() ? QVariant(QMetaType(QMetaType::QByteArray)) : QVariant(bytes);
    };
    runSql(context_.db,
           u"INSERT INTO HISTALTERA (NRLOTE, NRSEQ, NMTABELA, DSCHAVE, IDTIPO, CDFILIAL, CDCIA, CDMANCIA, CDSERVICO, "
           "CDESPEPRODSG, PKANTES, PKDEPOIS, CDCONTANTES, CDCONTDEPOIS) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"_s,
           QVariantList{batch_, ++entries_, table.name, table.keyText(key),
                        !before ? u"I"_s : !after ? u"D"_s : u"U"_s}
               + serviceOf(table, either)
               + QVariantList{either->value(table.indexOf(table.subgroupColumn)), blob(packetBefore), blob(packetAfter),
                              contentBefore, contentAfter});
}

}  // namespace qmv::appserver

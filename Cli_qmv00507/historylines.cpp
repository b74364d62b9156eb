#include "Cli_qmv00507/historylines.h"

#include "platform/blobdigest.h"

#include <QCborValue>
#include <QDateTime>
#include <QHash>

namespace qmv {

namespace {

QString tableLabel(const QString& table)
{
    static const QHash<QString, QString> labels = {
        {QStringLiteral("SUBGRUSEMA"), QStringLiteral("Sub-grupo")},
        {QStringLiteral("FOTOSEMA"), QStringLiteral("Foto")},
        {QStringLiteral("FOTOSUBMA"), QStringLiteral("Instruções de montagem")},
        {QStringLiteral("EQUISUBSEMA"), QStringLiteral("Equipamento")},
        {QStringLiteral("PRODRECSEMA"), QStringLiteral("Produto/Receita")}};
    return labels.value(table, table);
}

QString kindLabel(const QString& kind)
{
    return kind == u"I" ? QStringLiteral("inclusão") : kind == u"D" ? QStringLiteral("exclusão") : QStringLiteral("alteração");
}

std::optional<DataPacket> image(const QByteArray& bytes)
{
    if (bytes.isEmpty())
        return std::nullopt;
    DataPacket packet = packetFromCbor(QCborValue::fromCbor(bytes));
    if (packet.rows.size() != 1)
        return std::nullopt;
    return packet;
}

QString shown(const QVariant& value)
{
    if (value.isNull() || value.toString().isEmpty())
        return QStringLiteral("(vazio)");
    if (value.metaType().id() == QMetaType::QDateTime)
        return value.toDateTime().toString(QStringLiteral("dd/MM/yyyy"));
    if (value.metaType().id() == QMetaType::Double)
        return QString::number(value.toDouble(), 'g', 12);
    return value.toString();
}

// A photo or an instruction text changes as a whole.
QString blobChange(const QString& field, const QVariant& before, const QVariant& after)
{
    const bool photo = field == u"FGESPEPROD";
    const QString change = before.isNull() ? QStringLiteral("incluíd") : after.isNull() ? QStringLiteral("removid")
                                                                                         : QStringLiteral("substituíd");
    return photo ? QStringLiteral("foto ") + change + u'a' : QStringLiteral("instruções ") + change + QStringLiteral("as");
}

}  // namespace

QString changedFields(const QString& table, const QByteArray& beforeBytes, const QByteArray& afterBytes,
                      const ColumnCaption& caption)
{
    const std::optional<DataPacket> before = image(beforeBytes);
    const std::optional<DataPacket> after = image(afterBytes);
    const DataPacket& layout = after ? *after : *before;
    QStringList parts;
    for (int i = 0; i < layout.fields.size(); ++i) {
        const QVariant old = before ? before->rows[0].value(i) : QVariant();
        const QVariant now = after ? after->rows[0].value(i) : QVariant();
        const FieldDef& field = layout.fields[i];
        if (field.kind == FieldKind::Blob) {
            const auto digest = [](const QVariant& v) { return isBlobDigest(v) ? v.value<BlobDigest>().value : QByteArray(); };
            if (digest(old) != digest(now))
                parts << blobChange(field.name, old, now);
        } else if (shown(old) != shown(now)) {
            parts << caption(table, field.name) + QStringLiteral(": ") + shown(old) + QStringLiteral(" → ") + shown(now);
        }
    }
    return parts.join(QStringLiteral("; "));
}

QList<HistoryLine> historyLines(const DataPacket& entries, const ColumnCaption& caption)
{
    const auto at = [&](int row, const char* field) { return entries.rows[row].value(entries.indexOf(QLatin1String(field))); };
    QHash<QString, QString> newest;  // by table and key
    QList<HistoryLine> lines;
    for (int row = 0; row < entries.rows.size(); ++row) {
        HistoryLine line;
        line.id = at(row, "IDHIST").toString();
        line.table = at(row, "NMTABELA").toString();
        line.subgroup = at(row, "CDESPEPRODSG").toString();
        const QString rowKey = line.table + u'\n' + at(row, "DSCHAVE").toString();
        line.newestOfRow = newest.value(rowKey, line.id);
        newest.insert(rowKey, line.newestOfRow);
        QDateTime when = at(row, "DTLOTE").toDateTime();
        when.setTimeSpec(Qt::UTC);
        line.when = when.toLocalTime().toString(QStringLiteral("dd/MM/yyyy hh:mm:ss"));
        const QString user = at(row, "NMUSUARIO").toString();
        line.who = (user.isEmpty() ? QStringLiteral("?") : user) + QStringLiteral(" (") + at(row, "NMCHAVE").toString()
                   + u')';
        const QString kind = at(row, "IDTIPO").toString();
        line.what = tableLabel(line.table) + QStringLiteral(" - ") + kindLabel(kind) + QStringLiteral(": ")
                    + changedFields(line.table, at(row, "PKANTES").toByteArray(), at(row, "PKDEPOIS").toByteArray(),
                                    caption);
        line.contentBefore = at(row, "CDCONTANTES").toString();
        lines << line;
    }
    return lines;
}

}  // namespace qmv

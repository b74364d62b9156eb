// The canonical text of a change set, for tests and logs.
#include "platform/packet.h"
#include "platform/packetvalue.h"

#include <QDateTime>
#include <QStringList>

namespace qmv {

namespace {

QString valueText(const QVariant& value)
{
    if (!value.isValid() || value.isNull())
        return QStringLiteral("null");
    switch (value.typeId()) {
    case QMetaType::QByteArray: return QStringLiteral("<%1 bytes>").arg(value.toByteArray().size());
    case QMetaType::QDateTime: return packetvalue::dateText(value.toDateTime()).chopped(1);
    case QMetaType::Double: return QString::number(value.toDouble(), 'g', 15);
    default: return value.toString();
    }
}

QString keyText(const ChangeSet& changes, const Row& row, const QStringList& keyFields)
{
    QStringList parts;
    for (const QString& key : keyFields) {
        const int i = changes.indexOf(key);
        if (i >= 0 && i < row.size())
            parts << changes.fields[i].name + '=' + valueText(row[i]);
    }
    return parts.join(',');
}

bool isKey(const QString& name, const QStringList& keyFields)
{
    return keyFields.contains(name, Qt::CaseInsensitive);
}

QString withDetail(const QString& keys, const QStringList& detail)
{
    if (detail.isEmpty())
        return keys;
    return keys.isEmpty() ? detail.join(", ") : keys + ": " + detail.join(", ");
}

QString insertText(const ChangeSet& changes, const Change& change, const QStringList& keyFields)
{
    QStringList detail;
    for (int i = 0; i < changes.fields.size() && i < change.current.size(); ++i)
        if (!isKey(changes.fields[i].name, keyFields) && !change.current[i].isNull())
            detail << changes.fields[i].name + '=' + valueText(change.current[i]);
    return "I(" + withDetail(keyText(changes, change.current, keyFields), detail) + ')';
}

QString updateText(const ChangeSet& changes, const Change& change, const QStringList& keyFields)
{
    QStringList detail;
    for (int i = 0; i < changes.fields.size(); ++i) {
        const QVariant before = change.original.value(i);
        const QVariant after = change.current.value(i);
        if (before != after || before.isNull() != after.isNull())
            detail << changes.fields[i].name + ' ' + valueText(before) + "->" + valueText(after);
    }
    return "U(" + withDetail(keyText(changes, change.original, keyFields), detail) + ')';
}

}  // namespace

QString canonicalText(const ChangeSet& changes, const QStringList& keyFields)
{
    QString text;
    for (const Change& change : changes.changes) {
        switch (change.kind) {
        case ChangeKind::Insert: text += insertText(changes, change, keyFields); break;
        case ChangeKind::Update: text += updateText(changes, change, keyFields); break;
        case ChangeKind::Delete:
            text += "D(" + keyText(changes, change.original, keyFields) + ')';
            break;
        }
    }
    return text;
}

}  // namespace qmv

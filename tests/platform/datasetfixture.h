#pragma once
// A small sub-group dataset for the dataset tests: three rows keyed by CDSUBGRU, an event log.
#include "platform/dataset.h"

#include <QStringList>

namespace qmv::test {

inline FieldDef def(const QString& name, FieldKind kind, int size = 0)
{
    FieldDef f;
    f.name = name;
    f.kind = kind;
    f.size = size;
    return f;
}

inline DataPacket subGroups()
{
    DataPacket packet;
    packet.fields = {def("CDSUBGRU", FieldKind::Text, 10), def("NRORDSUMA", FieldKind::Text, 3),
                     def("VRPELOADSUMA", FieldKind::Float), def("DTEFETSUMA", FieldKind::DateTime)};
    const QDateTime march10(QDate(2026, 3, 10), QTime(0, 0));
    packet.rows = {Row{QString("0001"), QString("1"), 12.6, march10},
                   Row{QString("0002"), QString("2"), QVariant(), QVariant()},
                   Row{QString("0003"), QString("3"), 7.4, march10}};
    return packet;
}

// Declares the packet's fields plus a calculated OBS, records every event in `log`.
inline void declare(DataSet& ds, QStringList& log)
{
    for (const FieldDef& f : subGroups().fields)
        ds.addField(f);
    ds.addField(def("OBS", FieldKind::Calculated, 20));
    const auto record = [&log](const char* name) {
        return [&log, name](DataSet&) { log << QString::fromLatin1(name); };
    };
    ds.beforeOpen = record("beforeOpen");
    ds.afterOpen = record("afterOpen");
    ds.beforeInsert = record("beforeInsert");
    ds.afterInsert = record("afterInsert");
    ds.beforePost = record("beforePost");
    ds.afterPost = record("afterPost");
    ds.beforeCancel = record("beforeCancel");
    ds.afterCancel = record("afterCancel");
    ds.beforeDelete = record("beforeDelete");
    ds.afterDelete = record("afterDelete");
    ds.beforeScroll = record("beforeScroll");
    ds.afterScroll = record("afterScroll");
}

inline QStringList column(DataSet& ds, const QString& name)
{
    QStringList values;
    for (int row = 0; row < ds.rowCount(); ++row)
        values << ds.fieldByName(name).valueAt(row).toString();
    return values;
}

}  // namespace qmv::test

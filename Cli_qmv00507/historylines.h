#pragma once
// The lines the history dialog shows, from a history packet (newest entry first): when, who, and what
// changed, field by field with the old and new value, a replaced photo or instruction text named by
// the digest of its old content. Plain values; any thread.
#include "platform/packet.h"

#include <functional>

namespace qmv {

struct HistoryLine {
    QString id;             // IDHIST, what RestauraHist takes
    QString newestOfRow;    // the IDHIST of the newest entry of the same row in the same packet
    QString table;          // NMTABELA
    QString subgroup;       // CDESPEPRODSG, the sub-group the row belongs to
    QString when;           // local time, "dd/MM/yyyy hh:mm:ss"
    QString who;            // "maria (local)"
    QString what;           // "Foto - alteração: foto substituída"
    QString contentBefore;  // digest of the replaced photo or instructions, empty when none
};

// The caption a person reads for a column of a table; the column's name when there is none.
using ColumnCaption = std::function<QString(const QString& table, const QString& column)>;

QList<HistoryLine> historyLines(const DataPacket& entries, const ColumnCaption& caption);

// What differs between an entry's row of `table` before and after (kept packets, either empty when the
// row did not exist), each field under its caption, e.g. "Clas.: 001 → 009"; a photo or instructions
// as a whole, e.g. "foto substituída".
QString changedFields(const QString& table, const QByteArray& before, const QByteArray& after,
                      const ColumnCaption& caption);

}  // namespace qmv

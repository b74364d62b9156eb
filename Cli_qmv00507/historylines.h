#pragma once
// The lines the history dialog shows, from a history packet (newest entry first): when, who, and what
// changed, field by field with the old and new value, a replaced photo or instruction text named by
// the digest of its old content. Plain values; any thread.
#include "platform/packet.h"

namespace qmv {

struct HistoryLine {
    QString id;             // IDHIST, what RestauraHist takes
    QString newestOfRow;    // the IDHIST of the newest entry of the same row in the same packet
    QString table;          // NMTABELA
    QString when;           // local time, "dd/MM/yyyy hh:mm:ss"
    QString who;            // "maria (local)"
    QString what;           // "Foto - alteração: foto substituída"
    QString contentBefore;  // digest of the replaced photo or instructions, empty when none
};

QList<HistoryLine> historyLines(const DataPacket& entries);

// What differs between an entry's row before and after (kept packets, either empty when the row did
// not exist), e.g. "NRORDSUMA: 001 → 009; FGESPEPROD: foto substituída".
QString changedFields(const QByteArray& before, const QByteArray& after);

}  // namespace qmv

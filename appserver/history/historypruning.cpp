#include "appserver/history/historypruning.h"

#include "appserver/database/sql.h"
#include "appserver/methods/packetbuilder.h"

#include <QDateTime>

namespace qmv::appserver {

using namespace Qt::StringLiterals;

PruneResult pruneHistory(MethodContext& context, int days, const QDateTime& now)
{
    const QVariant cutoff = dbDateTime(now.addDays(-days));
    WriteScope scope(context);
    PruneResult result;
    result.entries = runSql(context.db,
                            u"DELETE FROM HISTALTERA WHERE NRLOTE IN (SELECT NRLOTE FROM HISTLOTE WHERE DTLOTE < ?)"_s,
                            {cutoff})
                         .numRowsAffected();
    result.batches = runSql(context.db, u"DELETE FROM HISTLOTE WHERE DTLOTE < ?"_s, {cutoff}).numRowsAffected();
    result.contents = runSql(context.db, uR"(
        DELETE FROM HISTCONTEUDO
         WHERE DTCONTEUDO < ?
           AND NOT EXISTS (SELECT 1 FROM HISTALTERA A WHERE A.CDCONTANTES = HISTCONTEUDO.CDDIGEST)
           AND NOT EXISTS (SELECT 1 FROM HISTALTERA A WHERE A.CDCONTDEPOIS = HISTCONTEUDO.CDDIGEST))"_s,
                             {cutoff})
                          .numRowsAffected();
    scope.commit();
    return result;
}

}  // namespace qmv::appserver

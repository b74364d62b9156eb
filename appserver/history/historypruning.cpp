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
           AND CDDIGEST NOT IN (SELECT CDCONTANTES FROM HISTALTERA WHERE CDCONTANTES IS NOT NULL
                                UNION SELECT CDCONTDEPOIS FROM HISTALTERA WHERE CDCONTDEPOIS IS NOT NULL))"_s,
                             {cutoff})
                          .numRowsAffected();
    scope.commit();
    return result;
}

}  // namespace qmv::appserver

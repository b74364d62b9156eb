#include "appserver/database/transactionguard.h"

#include "appserver/database/sql.h"

#include <QSqlError>

namespace qmv::appserver {

using namespace Qt::StringLiterals;

TransactionGuard::TransactionGuard(QSqlDatabase db) : db_(std::move(db))
{
    if (!db_.transaction())
        throw DatabaseError(u"cannot begin a transaction: "_s + db_.lastError().text());
    open_ = true;
}

TransactionGuard::~TransactionGuard()
{
    if (open_)
        db_.rollback();
}

void TransactionGuard::commit()
{
    if (!db_.commit())
        throw DatabaseError(u"commit failed: "_s + db_.lastError().text());
    open_ = false;
}

}  // namespace qmv::appserver

#include "appserver/transactionguard.h"

#include "appserver/sql.h"

#include <QSqlError>

namespace qmv::appserver {

TransactionGuard::TransactionGuard(QSqlDatabase db) : db_(std::move(db))
{
    if (!db_.transaction())
        throw DatabaseError(("cannot begin a transaction: " + db_.lastError().text()).toStdString());
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
        throw DatabaseError(("commit failed: " + db_.lastError().text()).toStdString());
    open_ = false;
}

}  // namespace qmv::appserver

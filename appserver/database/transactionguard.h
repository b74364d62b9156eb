#pragma once
// Opens a transaction on construction and rolls it back on destruction unless commit() was called,
// so an exception anywhere in a write leaves the database as it was. Connection's thread only.
#include <QSqlDatabase>

namespace qmv::appserver {

class TransactionGuard {
public:
    explicit TransactionGuard(QSqlDatabase db);  // throws DatabaseError when it cannot begin
    ~TransactionGuard();
    TransactionGuard(const TransactionGuard&) = delete;
    TransactionGuard& operator=(const TransactionGuard&) = delete;

    void commit();  // throws DatabaseError; after a failed commit the destructor still rolls back

private:
    QSqlDatabase db_;
    bool open_ = false;
};

}  // namespace qmv::appserver

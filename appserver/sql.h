#pragma once
// Runs one SQL statement with positional parameters bound (never spliced into the text) and raises
// DatabaseError with the driver's message on failure. Use on the connection's own thread.
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QVariantList>
#include <stdexcept>

namespace qmv::appserver {

// what() is the driver's message; statement() the SQL that failed, for the log only.
class DatabaseError : public std::runtime_error {
public:
    explicit DatabaseError(const QString& message, const QString& statement = {})
        : std::runtime_error(message.toStdString()), statement_(statement) {}
    const QString& statement() const { return statement_; }

private:
    QString statement_;
};

QSqlQuery runSql(const QSqlDatabase& db, const QString& sql, const QVariantList& params = {});

// A typed null for a text parameter (PostgreSQL needs to know the type of a bound null).
QVariant nullText();

}  // namespace qmv::appserver

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

// On a connection whose statements are cached (see cacheStatements), a statement with parameters is
// prepared once and reused: its previous result is gone when the same SQL runs again.
QSqlQuery runSql(const QSqlDatabase& db, const QString& sql, const QVariantList& params = {});

// Keeps the prepared statements of connection `name` for the calling thread until
// forgetStatements(name) (closeDatabase does it).
void cacheStatements(const QString& name);
void forgetStatements(const QString& name);
// Ends the results the cached statements still hold (a half-read SQLite result would keep its read
// snapshot open), keeping them prepared. Called after each call.
void finishStatements(const QString& name);

// A typed null for a text parameter (PostgreSQL needs to know the type of a bound null).
QVariant nullText();

}  // namespace qmv::appserver

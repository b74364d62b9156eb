#pragma once
// The failure of one remote call, carrying the message the caller sees (in Portuguese) and how the
// HTTP layer answers it. Thrown by method code, caught by the endpoint; plain value, any thread.
#include <QString>
#include <stdexcept>

namespace qmv::appserver {

enum class Failure {
    Refused,     // the call was understood and refused (validation, conflict): HTTP 200, ok false
    BadRequest,  // the body is not an argument array: HTTP 400
    NotFound,    // unknown object or method: HTTP 404
    Forbidden,   // the access key does not reach that branch: HTTP 403
    Internal     // the database or the server failed: HTTP 200, ok false
};

class MethodError : public std::runtime_error {
public:
    MethodError(Failure failure, const QString& message, const QString& detail = {})
        : std::runtime_error(message.toStdString()), failure_(failure), message_(message), detail_(detail) {}
    explicit MethodError(const QString& message) : MethodError(Failure::Refused, message) {}

    Failure failure() const { return failure_; }
    const QString& message() const { return message_; }
    const QString& detail() const { return detail_; }  // for the log only (the failed SQL)

private:
    Failure failure_;
    QString message_;
    QString detail_;
};

}  // namespace qmv::appserver

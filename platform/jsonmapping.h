#pragma once
// How values travel in JSON, for requests and answers alike: a byte string is {"base64": "..."} and a
// date {"datetime": "2026-03-10T00:00:00.000Z"}; everything else maps to its plain JSON kind. The
// server and the client both read and write JSON through these. Plain functions, any thread.
#include <QCborValue>
#include <QJsonValue>
#include <stdexcept>

namespace qmv {

// A JSON value that holds a tagged object it cannot be (base64 that does not decode).
class JsonMappingError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

QJsonValue cborToJson(const QCborValue& value);
QCborValue jsonToCbor(const QJsonValue& value);  // throws JsonMappingError

}  // namespace qmv

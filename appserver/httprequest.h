#pragma once
// One HTTP/1.x request read incrementally from a connection's bytes: the request line and headers
// (bounded in size), then a body of exactly Content-Length bytes, allocated once and never larger
// than the server's cap. Malformed or ambiguous framing (two different Content-Length headers, a
// chunked body, a body over the cap) is an error with the status to answer. One connection's
// thread at a time.
#include <QByteArray>

#include <string>
#include <utility>
#include <vector>

namespace qmv::appserver {

struct HttpRequest {
    std::string method;  // "GET", "POST", ...
    std::string path;    // percent-decoded, without the query
    int minorVersion = 1;  // HTTP/1.0 or HTTP/1.1
    std::vector<std::pair<std::string, std::string>> headers;  // names in lower case
    QByteArray body;
    bool keepAlive = true;
    bool expectContinue = false;

    // The value of a header (the first of that name), empty when absent.
    const std::string& header(std::string_view lowerName) const;
};

class RequestParser {
public:
    enum class State { Head, Body, Complete, Failed };

    RequestParser(size_t maxHeadBytes, qsizetype maxBodyBytes);

    // Takes bytes from `data` (at most what this request needs) and returns how many were used.
    size_t feed(const char* data, size_t size);
    // While reading a body: where the next bytes go and how many are still missing (to read
    // straight into the body without an intermediate copy); advance() records what was read.
    char* bodyCursor();
    qsizetype bodyMissing() const;
    void advance(qsizetype bytes);

    State state() const { return state_; }
    bool started() const { return started_; }
    HttpRequest& request() { return request_; }
    int errorStatus() const { return errorStatus_; }
    const std::string& errorMessage() const { return errorMessage_; }
    // Starts over for the next request on the same connection.
    void reset();

private:
    void parseHead();
    void fail(int status, std::string message);

    size_t maxHeadBytes_;
    qsizetype maxBodyBytes_;
    State state_ = State::Head;
    bool started_ = false;
    std::string head_;
    qsizetype received_ = 0;
    HttpRequest request_;
    int errorStatus_ = 0;
    std::string errorMessage_;
};

// "%0A" and the like decoded; an invalid escape stays as it is.
std::string percentDecoded(std::string_view text);

}  // namespace qmv::appserver

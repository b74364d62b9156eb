#pragma once
// The access keys of a server exposed beyond loopback, read from a key file: each key names the
// branches (CDFILIAL) it may read and those it may write. A call is allowed when every branch it
// reads or writes is granted to its key. Read once at start and read-only afterwards: any thread.
//
// File: one key per line, "<key> read=<branches> write=<branches> [metrics]", branches separated
// by commas, "*" for every branch, "-" for none; "metrics" lets the key read GET /metrics from
// another machine. Blank lines and lines starting with "#" are ignored. A key has at least 16
// characters. Calls that name no branch (the photo and instructions of a sub-group
// product) need a key that reads (Get...) or writes (Set...) at least one branch.
#include <QCborArray>
#include <QHash>
#include <QSet>
#include <QString>
#include <optional>
#include <stdexcept>

namespace qmv::appserver {

class AccessKeyError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class AccessKeys {
public:
    static AccessKeys fromFile(const QString& path);   // throws AccessKeyError
    static AccessKeys parse(const QByteArray& text);   // throws AccessKeyError naming the line

    qsizetype size() const { return grants_.size(); }

    // Nothing when `key` may make this call; otherwise why not (Portuguese), for a 403 answer.
    std::optional<QString> refusal(const std::string& key, const QString& method, const QCborArray& args) const;
    // True when `key` is marked for metrics.
    bool readsMetrics(const std::string& key) const;
    // Whether `key` may read `branch`; an empty branch asks whether it reads any (the web view's sign-in).
    bool reads(const std::string& key, const QString& branch) const;

private:
    struct Branches {
        bool all = false;
        QSet<QString> codes;
        bool reaches(const QString& branch) const { return all || codes.contains(branch); }
        bool any() const { return all || !codes.isEmpty(); }
    };
    struct Grant {
        Branches read;
        Branches write;
        bool metrics = false;
    };
    static Branches branchList(const QString& text, int line);

    QHash<QString, Grant> grants_;
};

}  // namespace qmv::appserver

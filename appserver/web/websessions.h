#pragma once
// The web view's sign-in sessions: an access key, entered once, is exchanged for a random token
// that the browser keeps in a cookie; the key stays here, in memory. A token ends at its expiry or
// when the server stops. Any thread.
#include <QByteArray>
#include <QHash>
#include <chrono>
#include <mutex>
#include <optional>
#include <string>

namespace qmv::appserver {

class WebSessions {
public:
    using Clock = std::chrono::steady_clock;
    explicit WebSessions(std::chrono::seconds lifetime) : lifetime_(lifetime) {}

    std::chrono::seconds lifetime() const { return lifetime_; }
    // A new token (64 hex digits from the system's random source) for `key`.
    QByteArray open(const std::string& key);
    // The key a token stands for, while it has not expired.
    std::optional<std::string> keyOf(const QByteArray& token) const;

private:
    struct Session {
        std::string key;
        Clock::time_point expires;
    };
    std::chrono::seconds lifetime_;
    mutable std::mutex mutex_;
    QHash<QByteArray, Session> sessions_;
};

// The value of cookie `name` in a Cookie header, empty when absent.
QByteArray cookieValue(const std::string& header, const QByteArray& name);

}  // namespace qmv::appserver

#include "appserver/web/websessions.h"

#include <QList>
#include <QRandomGenerator>

namespace qmv::appserver {

QByteArray WebSessions::open(const std::string& key)
{
    QByteArray random(32, Qt::Uninitialized);
    QRandomGenerator::system()->generate(reinterpret_cast<quint32*>(random.data()),
                                         reinterpret_cast<quint32*>(random.data() + random.size()));
    const QByteArray token = random.toHex();
    const Clock::time_point now = Clock::now();
    std::lock_guard lock(mutex_);
    sessions_.removeIf([now](const auto& entry) { return entry.value().expires <= now; });
    sessions_.insert(token, Session{key, now + lifetime_});
    return token;
}

std::optional<std::string> WebSessions::keyOf(const QByteArray& token) const
{
    std::lock_guard lock(mutex_);
    const auto found = sessions_.constFind(token);
    if (token.isEmpty() || found == sessions_.constEnd() || found->expires <= Clock::now())
        return std::nullopt;
    return found->key;
}

QByteArray cookieValue(const std::string& header, const QByteArray& name)
{
    for (const QByteArray& part : QByteArray::fromStdString(header).split(';')) {
        const QByteArray pair = part.trimmed();
        if (pair.startsWith(name + '='))
            return pair.mid(name.size() + 1);
    }
    return {};
}

}  // namespace qmv::appserver

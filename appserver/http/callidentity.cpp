#include "appserver/http/callidentity.h"

#include "appserver/appserver.h"

#include <QCryptographicHash>

namespace qmv::appserver {

using namespace Qt::StringLiterals;

QString accessKeyLabel(const std::string& key)
{
    if (key.empty())
        return u"local"_s;
    const QByteArray digest = QCryptographicHash::hash(QByteArrayView(key.data(), qsizetype(key.size())),
                                                       QCryptographicHash::Sha256);
    return u"chave:"_s + QString::fromLatin1(digest.toHex().left(8));
}

CallIdentity callIdentity(const http::HttpRequest& request)
{
    const std::string& header = request.header(UserHeader);
    QString user = QString::fromUtf8(QByteArray::fromPercentEncoding(QByteArray(header.data(), qsizetype(header.size()))));
    user.removeIf([](QChar c) { return c.category() == QChar::Other_Control; });
    return CallIdentity{accessKeyLabel(request.header(AccessKeyHeader)), user.trimmed().left(64)};
}

}  // namespace qmv::appserver

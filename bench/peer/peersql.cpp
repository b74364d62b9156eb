#include "peersql.h"

#include "appserver/methods/subgroupquery.h"
#include "platform/jsonmapping.h"

#include <QCborMap>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <stdexcept>

namespace qmv::bench {

void writePeerSql(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw std::runtime_error("cannot write " + path.toStdString());
    file.write("SELECT CDTIPODOCU FROM PARAMFILIAL WHERE CDFILIAL = ?\n");
    file.write(appserver::subGruSeMaQuery(QStringLiteral("2"), QStringLiteral("2")).simplified().toUtf8() + '\n');
    const QCborValue fields =
        toCbor(DataPacket{appserver::subGruSeMaFields(), {}}).toMap().value(QStringLiteral("fields"));
    file.write(QJsonDocument(cborToJson(fields).toArray()).toJson(QJsonDocument::Compact) + '\n');
    if (!file.flush())
        throw std::runtime_error("cannot write " + path.toStdString());
}

}  // namespace qmv::bench

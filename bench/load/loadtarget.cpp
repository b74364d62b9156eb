#include "loadtarget.h"

#include "appserver/database/dbconfig.h"

#include <QCborArray>
#include <QCborValue>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSqlQuery>
#include <stdexcept>

namespace qmv::bench {

namespace {

std::string request(const QString& method, const QStringList& args, bool json)
{
    QCborArray cbor;
    QJsonArray array;
    for (const QString& arg : args) {
        cbor.append(arg);
        array.append(arg);
    }
    const QByteArray body = json ? QJsonDocument(array).toJson(QJsonDocument::Compact) : QCborValue(cbor).toCbor();
    return "POST /rdm/Qmv00500.rdmFotoMontManual/" + method.toStdString()
           + " HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Type: application/" + (json ? "json" : "cbor")
           + "\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body.toStdString();
}

}  // namespace

LoadTarget loadTarget(const QString& sqliteFile)
{
    const QString name = QStringLiteral("qmv-load-target");
    LoadTarget target;
    {
        QSqlDatabase db = appserver::openDatabase({appserver::Driver::Sqlite, sqliteFile, {}}, name);
        QSqlQuery q(db);
        q.exec(QStringLiteral("SELECT CDFILIAL, CDCIA, CDMANCIA, CDSERVICO, CDCLASSE, CDCICLO, COUNT(*) FROM SUBGRUSEMA "
                              "GROUP BY CDFILIAL, CDCIA, CDMANCIA, CDSERVICO, CDCLASSE, CDCICLO "
                              "ORDER BY 7 DESC, 1, 2, 3, 4 LIMIT 1"));
        if (!q.next())
            throw std::runtime_error("the database has no sub-groups (create it with --init-demo)");
        const QStringList args{q.value(0).toString(), q.value(1).toString(), q.value(2).toString(),
                               q.value(3).toString() + q.value(4).toString() + q.value(5).toString(),
                               QStringLiteral("2"), QStringLiteral("2")};
        target.rows = q.value(6).toInt();
        target.rowsCbor = request(QStringLiteral("GetSubGruSeMa"), args, false);
        target.rowsJson = request(QStringLiteral("GetSubGruSeMa"), args, true);
        target.cheapCbor = request(QStringLiteral("GetParametros"), {args[0]}, false);
        target.cheapJson = request(QStringLiteral("GetParametros"), {args[0]}, true);
    }
    appserver::closeDatabase(name);
    return target;
}

}  // namespace qmv::bench

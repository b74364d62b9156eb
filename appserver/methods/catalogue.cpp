#include "appserver/methods/catalogue.h"
#include "appserver/database/sqlitestream.h"
#include "appserver/history/historymethods.h"

#include "appserver/methods/methoderror.h"
#include "appserver/methods/packetbuilder.h"
#include "appserver/database/sql.h"
#include "platform/methodfacts.h"

#include <QCborMap>
#include <QUuid>
#include <algorithm>
#include <atomic>
#include <stdexcept>

namespace qmv::appserver {

using namespace Qt::StringLiterals;

const Catalogue& Catalogue::standard()
{
    static const Catalogue catalogue = [] {
        Catalogue c;
        addSubgroupMethods(c);
        addServiceMethods(c);
        addPhotoMethods(c);
        addInstructionMethods(c);
        addEquipmentMethods(c);
        addProductMethods(c);
        addEmissionMethods(c);
        addHistoryReadMethods(c);
        addHistoryWriteMethods(c);
        return c;
    }();
    return catalogue;
}

void Catalogue::add(const QString& name, MethodHandler handler)
{
    const wire::MethodFacts* facts = wire::methodFacts(name);
    if (!facts)
        throw std::logic_error("no method facts for " + name.toStdString());
    methods_.insert(name, Method{name, int(facts->argumentCount()), std::move(handler)});
}

const Method* Catalogue::find(const QString& name) const
{
    const auto it = methods_.constFind(name);
    return it == methods_.constEnd() ? nullptr : &it.value();
}

QStringList Catalogue::names() const
{
    QStringList all = methods_.keys();
    std::sort(all.begin(), all.end());
    return all;
}

MethodResult Catalogue::dispatch(const QString& name, const QCborArray& args, MethodContext& context) const
{
    const Method* method = find(name);
    if (!method)
        throw MethodError(Failure::NotFound, u"Método desconhecido: %1."_s.arg(name));
    context.method = name;
    const Arguments arguments(name, args);
    arguments.expectCount(method->argumentCount);
    try {
        return method->handler(arguments, context);
    } catch (const MethodError&) {
        throw;
    } catch (const DatabaseError& error) {
        throw internalError(name, u"erro no banco de dados"_s,
                            QString::fromUtf8(error.what()) + u" | "_s + error.statement());
    } catch (const std::exception& error) {
        throw internalError(name, u"erro interno do servidor"_s, QString::fromUtf8(error.what()));
    }
}

namespace {

QString newOccurrenceId()
{
    static std::atomic<quint32> calls{0};
    static const QString process = QUuid::createUuid().toString(QUuid::Id128).left(6);
    return u"%1-%2"_s.arg(process).arg(++calls);
}

}  // namespace

MethodError internalError(const QString& method, const QString& what, const QString& detail)
{
    const QString id = newOccurrenceId();
    return MethodError(Failure::Internal,
                       u"%1: %2 (ocorrência %3). A operação não foi concluída; se o erro persistir, "
                       "informe a ocorrência ao suporte."_s.arg(method, what, id),
                       u"ocorrência %1: %2"_s.arg(id, detail.simplified()));
}

MethodError writeConnectionLost(const QString& method, const QString& detail)
{
    const QString id = newOccurrenceId();
    return MethodError(Failure::Internal,
                       u"%1: a conexão do servidor com o banco de dados caiu durante a gravação (ocorrência %2). "
                       "A gravação não foi repetida: recarregue os dados para ver se ela foi concluída antes de "
                       "tentar de novo."_s.arg(method, id),
                       u"ocorrência %1: %2"_s.arg(id, detail.simplified()));
}

void requireSubgroup(MethodContext& context, const QString& subgroup, const QString& espeProd)
{
    QSqlQuery q = runSql(context.db, u"SELECT 1 FROM SUBGRUSEMA WHERE CDSUBGRU = ? AND CDESPEPRODSG = ?"_s,
                         {subgroup, espeProd});
    if (!q.next())
        throw MethodError(u"O sub-grupo %1 (especificação %2) não está cadastrado."_s.arg(subgroup, espeProd));
}

MethodResult packetResult(const DataPacket& packet)
{
    return MethodResult{QCborValue(), encodePacket(packet)};
}

MethodResult streamedSelect(const QSqlDatabase& db, const QString& sql, const QVariantList& params,
                            const QList<FieldDef>& fields)
{
    if (std::optional<QByteArray> bytes = encodedPacketFromSqlite(db, sql, params, fields))
        return MethodResult{QCborValue(), std::move(*bytes)};
    QSqlQuery query = runSql(db, sql, params);
    return MethodResult{QCborValue(), encodedPacketFromQuery(query, fields)};
}

MethodResult statusResult(qint64 rows)
{
    QCborMap status;
    status.insert(u"rows"_s, rows);
    return MethodResult{status, {}};
}

}  // namespace qmv::appserver

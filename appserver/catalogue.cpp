#include "appserver/catalogue.h"

#include "appserver/methoderror.h"
#include "appserver/packetbuilder.h"
#include "appserver/sql.h"

#include <QCborMap>
#include <algorithm>

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
        return c;
    }();
    return catalogue;
}

void Catalogue::add(const QString& name, int argumentCount, MethodHandler handler)
{
    methods_.insert(name, Method{name, argumentCount, std::move(handler)});
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
    const Arguments arguments(name, args);
    arguments.expectCount(method->argumentCount);
    try {
        return method->handler(arguments, context);
    } catch (const DatabaseError& error) {
        throw MethodError(Failure::Internal,
                          u"%1: erro no banco de dados: %2"_s.arg(name, QString::fromUtf8(error.what())),
                          error.statement().simplified());
    }
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

MethodResult streamedPacket(QSqlQuery& query, const QList<FieldDef>& fields)
{
    return MethodResult{QCborValue(), encodedPacketFromQuery(query, fields)};
}

MethodResult statusResult(qint64 rows)
{
    QCborMap status;
    status.insert(u"rows"_s, rows);
    return MethodResult{status, {}};
}

}  // namespace qmv::appserver

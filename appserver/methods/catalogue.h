#pragma once
// The remote methods of the server object, by name, each with its handler; the argument count of
// each comes from the facts both sides share (platform/methodfacts.h). Built once and read-only
// afterwards, so any worker thread may dispatch through it.
#include "appserver/methods/arguments.h"
#include "appserver/methods/methodcontext.h"
#include "appserver/http/wirecodec.h"

#include <QCborValue>
#include <QHash>
#include <QSqlQuery>
#include <functional>

namespace qmv::appserver {

inline constexpr char16_t ServerObjectName[] = u"Qmv00500.rdmFotoMontManual";

using MethodHandler = std::function<MethodResult(const Arguments&, MethodContext&)>;

struct Method {
    QString name;
    int argumentCount = 0;
    MethodHandler handler;
};

class Catalogue {
public:
    // Every method of the server object.
    static const Catalogue& standard();

    // Throws std::logic_error for a name the shared method facts do not have.
    void add(const QString& name, MethodHandler handler);
    const Method* find(const QString& name) const;
    QStringList names() const;

    // Checks the argument count, runs the method, turns database failures into a MethodError.
    MethodResult dispatch(const QString& name, const QCborArray& args, MethodContext& context) const;

private:
    QHash<QString, Method> methods_;
};

class MethodError;
// A failure of the database or of the server itself: the caller sees only the method and an
// occurrence id; `detail` (the driver's message, the SQL) goes to the server's log with the id.
MethodError internalError(const QString& method, const QString& what, const QString& detail);
// A write whose database connection died under it: it may or may not have been committed.
MethodError writeConnectionLost(const QString& method, const QString& detail);

// Results: a data packet for Get... methods, {"rows": n} for the others.
MethodResult packetResult(const DataPacket& packet);
// The packet of an executed query's rows, written straight from them.
// Runs a SELECT and writes its rows straight into the packet's bytes (through SQLite's own
// statements on SQLite).
MethodResult streamedSelect(const QSqlDatabase& db, const QString& sql, const QVariantList& params,
                            const QList<FieldDef>& fields);
MethodResult statusResult(qint64 rows);

// Refuses a row that names a sub-group (CDSUBGRU and its CDESPEPRODSG) that does not exist.
void requireSubgroup(MethodContext& context, const QString& subgroup, const QString& espeProd);

// Registration of each concern's methods.
void addSubgroupMethods(Catalogue& catalogue);
void addServiceMethods(Catalogue& catalogue);
void addPhotoMethods(Catalogue& catalogue);
void addInstructionMethods(Catalogue& catalogue);
void addEquipmentMethods(Catalogue& catalogue);
void addProductMethods(Catalogue& catalogue);
void addEmissionMethods(Catalogue& catalogue);

}  // namespace qmv::appserver

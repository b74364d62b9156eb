#pragma once
// TADOIBQuery: a parametrised read-only query on the shared database (dtmDBGeral). Its rows, read
// whole on Open, are a DataSet with the declared fields (labels, sizes, required and visible
// flags), so a lookup button can list them through a DataSource. Parameters are texts or null.
// Refuses edits. UI thread only.
#include <QStringList>
#include <initializer_list>
#include <utility>

#include "lookup/dtmdbgeral.h"
#include "lookup/queryparams.h"
#include "platform/dataset.h"

namespace qmv {

class TADOIBQuery : public DataSet {
    Q_OBJECT
public:
    // name becomes the objectName; sql holds the lines of the query text.
    TADOIBQuery(dtmDBGeral& db, const QString& name, const QStringList& sql,
                const QList<FieldDef>& fields, QObject* parent = nullptr);

    const QStringList& SQL() const { return sql_; }
    QString text() const { return sql_.join(QLatin1Char('\n')); }

    // Throws QueryError for a name the text does not use.
    QueryParam& ParamByName(const QString& name) { return params_.byName(name); }
    const QList<QueryParam>& Params() const { return params_.all(); }

    // Runs the query with the current parameters; its rows replace the previous ones and the
    // first becomes current. A database failure throws (DatabaseError, QueryError) and leaves
    // the query closed.
    void Open();
    void Close() { close(); }
    // Closes, gives the named parameters these texts, opens again; true when a row was found.
    bool Reopen(std::initializer_list<std::pair<const char*, QString>> params);
    bool Active() const { return isActive(); }
    bool IsEmpty() const { return isEmpty(); }
    Field& FieldByName(const QString& name) const { return fieldByName(name); }

    dtmDBGeral& database() const { return db_; }

private:
    dtmDBGeral& db_;
    QStringList sql_;
    QueryParams params_;
    QList<FieldDef> fields_;
};

}  // namespace qmv

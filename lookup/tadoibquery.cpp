#include "lookup/tadoibquery.h"

#include "lookup/sqlpacket.h"

namespace qmv {

namespace {

[[noreturn]] void refuseChange(DataSet& ds)
{
    throw DataSetError(QStringLiteral("%1: consulta somente para leitura.")
                           .arg(ds.objectName())
                           .toStdString());
}

}  // namespace

TADOIBQuery::TADOIBQuery(dtmDBGeral& db, const QString& name, const QStringList& sql,
                         const QList<FieldDef>& fields, QObject* parent)
    : DataSet(parent), db_(db), sql_(sql), params_(sql.join(QLatin1Char('\n'))), fields_(fields)
{
    setObjectName(name);
    for (const FieldDef& def : fields_)
        addField(def).setReadOnly(true);
    beforeInsert = refuseChange;
    beforeEdit = refuseChange;
    beforeDelete = refuseChange;
}

void TADOIBQuery::Open()
{
    close();
    DataPacket packet = fetchPacket(db_.adcGeral(), text(), params_, fields_);
    loadPacket(std::move(packet));
}

bool TADOIBQuery::Reopen(std::initializer_list<std::pair<const char*, QString>> params)
{
    Close();
    for (const auto& [name, value] : params)
        ParamByName(QLatin1String(name)).setAsString(value);
    Open();
    return !IsEmpty();
}

}  // namespace qmv

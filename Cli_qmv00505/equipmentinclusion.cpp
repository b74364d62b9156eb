#include "Cli_qmv00505/equipmentinclusion.h"

#include "host/checkresultserv.h"
#include "platform/dataset.h"
#include "server/catalogue.h"
#include "server/loadresult.h"

namespace qmv {

namespace {

QString text(const DataSet& ds, const char* field)
{
    return ds.fieldByName(QLatin1String(field)).asString();
}

void linkIfMissing(TNetConnection& conn, const DataSet& row, DataSet& aux, const DataSet& sub)
{
    loadResult(aux, GetEquipAux(conn, text(row, "CDFILIAL"), text(row, "CDCIA"), text(sub, "CDMANCIA"),
                                text(sub, "CDSERVICO"), text(sub, "CDCLASSE"), text(sub, "CDCICLO"),
                                text(sub, "CDSUBGRU"), text(row, "CDPRODUTO")));
    if (aux.isEmpty())
        CheckResultServ(InsereEquip(conn, text(row, "CDFILIAL"), text(row, "CDCIA"), text(sub, "CDESPEPRODSG"),
                                    text(row, "CDPRODUTO"), text(sub, "CDSUBGRU"), 1),
                        true, 0);
}

}  // namespace

void insertTickedEquipment(TNetConnection& conn, DataSet& list, DataSet& aux, const DataSet& subGroups)
{
    try {
        list.setFiltered(true);
        list.first();
        while (!list.eof()) {
            linkIfMissing(conn, list, aux, subGroups);
            list.next();
        }
    } catch (...) {
        list.setFiltered(false);
        throw;
    }
}

}  // namespace qmv

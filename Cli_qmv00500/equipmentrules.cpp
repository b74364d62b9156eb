#include "Cli_qmv00500/equipmentrules.h"

#include "platform/dataset.h"

namespace qmv {

void takeSubGroupKeys(DataSet& equipment, const DataSet& subGroups)
{
    const std::pair<const char*, const char*> keys[] = {
        {"CDFILIAL", "CDFILIAL"}, {"CDCIA", "CDCIA"}, {"CDESPEPROD", "CDESPEPRODSG"}, {"CDPRODUTO", "CDSUBGRU"}};
    for (const auto& [target, source] : keys)
        equipment.fieldByName(QLatin1String(target))
            .setAsString(subGroups.fieldByName(QLatin1String(source)).asString());
}

bool quantityGiven(const DataSet& equipment)
{
    return equipment.fieldByName(QStringLiteral("QTEQUISUMA")).asFloat() != 0;
}

}  // namespace qmv

#include "server/nullfieldlist.h"

#include "platform/dataset.h"

namespace qmv {

QString nullFieldList(const DataSet& dataSet)
{
    QString list;
    for (const Field* field : dataSet.fields()) {
        if (field->isNull())
            list += QLatin1Char('_') + field->name();
    }
    return list;
}

}  // namespace qmv

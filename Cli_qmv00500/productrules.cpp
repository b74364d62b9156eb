#include "Cli_qmv00500/productrules.h"

#include "host/routines.h"
#include "platform/editmask.h"

namespace qmv {

QString productOrder(const QString& typed)
{
    return EmptyString(typed) ? QString() : Ajusta(typed, 3);
}

QString productCodeText(const QString& id, const QString& code, const QString& codeMask)
{
    if (id != QLatin1String("P") && id != QLatin1String("R"))
        return {};
    return EditMask(codeMask).format(code);
}

}  // namespace qmv

#include "module/packagetable.h"

#include "Cli_qmv00500/cli_qmv00500.h"
#include "Cli_qmv00501/cli_qmv00501.h"
#include "Cli_qmv00502/cli_qmv00502.h"
#include "Cli_qmv00503/cli_qmv00503.h"
#include "Cli_qmv00505/cli_qmv00505.h"
#include "Cli_qmv00506/cli_qmv00506.h"

namespace qmv {

namespace {

const PackageUnit table[] = {
    {"Cli_qmv00501", &Cli_qmv00501::initialization, &Cli_qmv00501::finalization},
    {"Cli_qmv00502", &Cli_qmv00502::initialization, &Cli_qmv00502::finalization},
    {"Cli_qmv00503", &Cli_qmv00503::initialization, &Cli_qmv00503::finalization},
    {"Cli_qmv00505", &Cli_qmv00505::initialization, &Cli_qmv00505::finalization},
    {"Cli_qmv00506", &Cli_qmv00506::initialization, &Cli_qmv00506::finalization},
    {"Cli_qmv00500", &Cli_qmv00500::initialization, &Cli_qmv00500::finalization},
};

}  // namespace

std::span<const PackageUnit> packageUnitTable()
{
    return table;
}

PackageUnits& packageUnits()
{
    static PackageUnits runner(table);
    return runner;
}

}  // namespace qmv

// The package's exports under their plain names; its one unit is initialised once per load.
#include "qmv01200/qmv01200.h"

#include "host/packageunits.h"
#include "qmv01200/cli_qmv01200.h"

#define QMV_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

const qmv::PackageUnit units[] = {
    {"Cli_qmv01200", &qmv::Cli_qmv01200::initialization, &qmv::Cli_qmv01200::finalization},
};
qmv::PackageUnits runner(units);

}  // namespace

QMV_EXPORT void IniProc()
{
    qmv::Cli_qmv01200::CriaEmissaoManual();
}

QMV_EXPORT void IniProcParams(const QVariantList& parameters)
{
    qmv::Cli_qmv01200::CriaEmissaoManual(parameters);
}

QMV_EXPORT void CriaEmissaoManual()
{
    qmv::Cli_qmv01200::CriaEmissaoManual();
}

QMV_EXPORT void Initialize() noexcept
{
    runner.initialize();
}

QMV_EXPORT void Finalize() noexcept
{
    runner.finalize();
}

QMV_EXPORT const qmv::PackageInfo* GetPackageInfoTable() noexcept
{
    static const qmv::PackageInfo info{units, int(std::size(units))};
    return &info;
}

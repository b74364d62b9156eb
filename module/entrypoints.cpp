// The package's exports under their plain names; each one hands over to its unit.
#include "Cli_qmv00500/cli_qmv00500.h"
#include "Cli_qmv00501/cli_qmv00501.h"
#include "Cli_qmv00502/cli_qmv00502.h"
#include "Cli_qmv00503/cli_qmv00503.h"
#include "Cli_qmv00505/cli_qmv00505.h"
#include "Cli_qmv00506/cli_qmv00506.h"
#include "module/packagetable.h"
#include "module/qmv00500.h"

#define QMV_EXPORT extern "C" __attribute__((visibility("default")))

QMV_EXPORT void IniProc()
{
    qmv::Cli_qmv00500::CriaFotoMontManual();
}

QMV_EXPORT void CriaFotoMontManual()
{
    qmv::Cli_qmv00500::CriaFotoMontManual();
}

QMV_EXPORT void CriaFiltroFoto()
{
    qmv::Cli_qmv00501::CriaFiltroFoto();
}

QMV_EXPORT void CriaRelFotoMan()
{
    qmv::Cli_qmv00502::CriaRelFotoMan();
}

QMV_EXPORT void CriaImpFotoMan()
{
    qmv::Cli_qmv00503::CriaImpFotoMan();
}

QMV_EXPORT void CriaIncluEqui()
{
    qmv::Cli_qmv00505::CriaIncluEqui();
}

QMV_EXPORT void CriaObsSubGrupo()
{
    qmv::Cli_qmv00506::CriaObsSubGrupo();
}

QMV_EXPORT void Initialize() noexcept
{
    qmv::packageUnits().initialize();
}

QMV_EXPORT void Finalize() noexcept
{
    qmv::packageUnits().finalize();
}

QMV_EXPORT const qmv::PackageInfo* GetPackageInfoTable() noexcept
{
    static const qmv::PackageInfo info{qmv::packageUnitTable().data(),
                                       static_cast<int>(qmv::packageUnitTable().size())};
    return &info;
}

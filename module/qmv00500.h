#pragma once
// The package's entry points, exported by libqmv00500.so under their plain names. The host loads
// the package, calls Initialize, then IniProc each time the user opens the screen, and Finalize
// before unloading. IniProc and the creation procedures may throw: the host runs them inside its
// guard, which is how a failed creation reaches the user. UI thread only.
#include "module/packageunit.h"

extern "C" {
void IniProc();
void CriaFotoMontManual();
void CriaFiltroFoto();
void CriaRelFotoMan();
void CriaImpFotoMan();
void CriaIncluEqui();
void CriaObsSubGrupo();
void Initialize() noexcept;
void Finalize() noexcept;
const qmv::PackageInfo* GetPackageInfoTable() noexcept;
}

namespace qmv::package {

using EntryProc = void (*)();
using LoadProc = void (*)() noexcept;
using InfoProc = const PackageInfo* (*)() noexcept;

}  // namespace qmv::package

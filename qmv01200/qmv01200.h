#pragma once
// The package's entry points, exported by libqmv01200.so under their plain names: IniProc opens the
// screen alone (the host's "Telas" menu), IniProcParams with the parameters of LoadBPL (the caller's
// screen code and its form). Both may throw; the host runs them inside its guard. UI thread only.
#include <QVariantList>

#include "module/packageunit.h"

extern "C" {
void IniProc();
void IniProcParams(const QVariantList& parameters);
void CriaEmissaoManual();
void Initialize() noexcept;
void Finalize() noexcept;
const qmv::PackageInfo* GetPackageInfoTable() noexcept;
}

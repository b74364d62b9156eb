#pragma once
// This package's units in initialisation order (the dialogs first, the main screen last) and the one
// runner that Initialize and Finalize drive. UI thread only.
#include <span>

#include "host/packageunits.h"

namespace qmv {

std::span<const PackageUnit> packageUnitTable();
PackageUnits& packageUnits();

}  // namespace qmv

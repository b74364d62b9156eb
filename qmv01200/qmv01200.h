#pragma once
// The package's own entry point, exported by libqmv01200.so beside the ones every package has
// (host/packageabi.h): IniProc opens the screen alone (the host's "Telas" menu), IniProcParams with
// the parameters of LoadBPL (the caller's screen code and its form). UI thread only.
#include "host/packageabi.h"

extern "C" {
void CriaEmissaoManual();
}

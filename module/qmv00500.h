#pragma once
// The package's own entry points, exported by libqmv00500.so under their plain names beside the
// ones every package has (host/packageabi.h): IniProc opens the main screen, each creation
// procedure one of its windows. UI thread only.
#include "host/packageabi.h"

extern "C" {
void CriaFotoMontManual();
void CriaFiltroFoto();
void CriaRelFotoMan();
void CriaImpFotoMan();
void CriaIncluEqui();
void CriaObsSubGrupo();
}

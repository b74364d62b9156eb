#pragma once
// The contract between the shell and a screen package (lib<code>.so): the entry points the shell
// resolves by their plain names, their signatures, and the unit table a package reports. The shell
// loads a package, calls Initialize once, IniProc (or IniProcParams, when the package has it and
// the opening carries parameters) at each opening, and Finalize before unloading. IniProc and the
// creation procedures may throw: the shell runs them inside its guard. UI thread only.
#include <QVariantList>

namespace qmv {

using UnitProc = void (*)() noexcept;

// One unit of a package: its initialisation runs at load, its finalisation at unload.
struct PackageUnit {
    const char* name;
    UnitProc initialization;
    UnitProc finalization;
};

struct PackageInfo {
    const PackageUnit* units;
    int count;
};

namespace package {

using EntryProc = void (*)();                          // IniProc and the creation procedures
using ParamsProc = void (*)(const QVariantList&);      // IniProcParams
using LoadProc = void (*)() noexcept;                  // Initialize, Finalize
using InfoProc = const PackageInfo* (*)() noexcept;    // GetPackageInfoTable

inline constexpr char initializeName[] = "Initialize";
inline constexpr char finalizeName[] = "Finalize";
inline constexpr char iniProcName[] = "IniProc";
inline constexpr char iniProcParamsName[] = "IniProcParams";
inline constexpr char packageInfoName[] = "GetPackageInfoTable";

}  // namespace package
}  // namespace qmv

// Every package exports these; IniProcParams only a package that sibling screens open with
// parameters (LoadBPL).
extern "C" {
void IniProc();
void IniProcParams(const QVariantList& parameters);
void Initialize() noexcept;
void Finalize() noexcept;
const qmv::PackageInfo* GetPackageInfoTable() noexcept;
}

#pragma once
// The package's unit table and the runner that initialises its units once per load, in table
// order, and finalises them in reverse at unload. Plain data so the host can read the table
// through GetPackageInfoTable. UI thread only.
#include <cstddef>
#include <span>

namespace qmv {

using UnitProc = void (*)() noexcept;

struct PackageUnit {
    const char* name;
    UnitProc initialization;
    UnitProc finalization;
};

struct PackageInfo {
    const PackageUnit* units;
    int count;
};

class PackageUnits {
public:
    explicit PackageUnits(std::span<const PackageUnit> units) : units_(units) {}

    // Runs every initialisation in table order; a second call before finalize() does nothing.
    void initialize() noexcept;
    // Runs the finalisations of the initialised units in reverse order; nothing when not initialised.
    void finalize() noexcept;
    bool initialized() const { return initialized_; }

private:
    std::span<const PackageUnit> units_;
    bool initialized_ = false;
};

}  // namespace qmv

#pragma once
// The runner that initialises a package's units once per load, in table order, and finalises them
// in reverse at unload (what a package's Initialize and Finalize do). UI thread only.
#include <span>

#include "host/packageabi.h"

namespace qmv {

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

#include "host/packageunits.h"

#include <ranges>

namespace qmv {

void PackageUnits::initialize() noexcept
{
    if (initialized_)
        return;
    for (const PackageUnit& unit : units_)
        unit.initialization();
    initialized_ = true;
}

void PackageUnits::finalize() noexcept
{
    if (!initialized_)
        return;
    for (const PackageUnit& unit : std::views::reverse(units_))
        unit.finalization();
    initialized_ = false;
}

}  // namespace qmv

// Unit initialisation at package load, in table order, once per load; finalisation in the reverse
// order at unload.
#include <gtest/gtest.h>
#include <string>

#include "host/packageunits.h"

namespace qmv {
namespace {

std::string trace;

template <char Unit>
void init() noexcept
{
    trace += std::string("+") + Unit;
}

template <char Unit>
void fini() noexcept
{
    trace += std::string("-") + Unit;
}

const PackageUnit recorded[] = {
    {"a", &init<'a'>, &fini<'a'>}, {"b", &init<'b'>, &fini<'b'>}, {"c", &init<'c'>, &fini<'c'>}};

TEST(PackageUnits, InitialiseInTableOrderAndFinaliseInReverse)
{
    trace.clear();
    PackageUnits units(recorded);
    units.initialize();
    units.finalize();
    EXPECT_EQ(trace, "+a+b+c-c-b-a");
}

TEST(PackageUnits, InitialiseOncePerLoadAndFinaliseOnlyWhatWasInitialised)
{
    trace.clear();
    PackageUnits units(recorded);
    units.finalize();
    EXPECT_EQ(trace, "") << "nothing to finalise before a load";
    units.initialize();
    units.initialize();
    EXPECT_EQ(trace, "+a+b+c");
    units.finalize();
    units.finalize();
    EXPECT_EQ(trace, "+a+b+c-c-b-a");
    units.initialize();
    EXPECT_EQ(trace, "+a+b+c-c-b-a+a+b+c") << "a later load initialises again";
}

}  // namespace
}  // namespace qmv

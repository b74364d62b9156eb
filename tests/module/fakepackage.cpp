// A screen package for the loader's tests: records the calls it receives, in order, in a text the
// test reads through FakeCalls. Built with and without its load entry points.
#include <QString>
#include <QVariantList>
#include <string>

#define FAKE_EXPORT extern "C" __attribute__((visibility("default")))

namespace {
std::string calls;
}

FAKE_EXPORT const char* FakeCalls()
{
    return calls.c_str();
}

FAKE_EXPORT void IniProc()
{
    calls += "IniProc;";
}

#ifndef FAKE_WITHOUT_LOAD_ENTRIES
FAKE_EXPORT void Initialize() noexcept
{
    calls += "Initialize;";
}

FAKE_EXPORT void Finalize() noexcept
{
    calls += "Finalize;";
}

FAKE_EXPORT void IniProcParams(const QVariantList& parameters)
{
    calls += "IniProcParams(" + parameters.value(0).toString().toStdString() + "," +
             std::to_string(parameters.value(1).toLongLong()) + ");";
}
#endif

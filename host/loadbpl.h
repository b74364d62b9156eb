#pragma once
// LoadBPL: opens a sibling screen's package through the loader the host shell registers.
// A missing loader, or a loader that cannot find the package, ends the event with a clear
// message. UI thread only.
#include <QString>
#include <QVariantList>
#include <functional>

namespace qmv {

// Loads and opens the named package with the parameters; throws (any std::exception, with a
// message for the user) when the package cannot be loaded or opened.
using PackageLoader = std::function<void(const QString& name, const QVariantList& parameters)>;

void setPackageLoader(PackageLoader loader);
bool hasPackageLoader();

void LoadBPL(const QString& name, const QVariantList& parameters);

}  // namespace qmv

#pragma once
// Loads screen packages (lib<code>.so, e.g. libqmv00500.so for "QMV00500") from the package folders.
// The first opening of a screen loads its package and runs its Initialize; every opening runs its
// IniProc. Unloading runs Finalize, then releases the library. UI thread only.
#include <QLibrary>
#include <QStringList>
#include <QVariantList>
#include <map>
#include <memory>
#include <stdexcept>

namespace qmv {

class PackageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class ScreenPackages {
public:
    explicit ScreenPackages(QStringList folders);
    ~ScreenPackages();
    ScreenPackages(const ScreenPackages&) = delete;
    ScreenPackages& operator=(const ScreenPackages&) = delete;

    // Loads the screen's package when needed and calls its IniProc. A missing package, or one that
    // lacks an entry point, throws PackageError with a message for the person; nothing else changes.
    // IniProc's own failures propagate unchanged. When the package exports IniProcParams, the
    // parameters go to it instead (sibling screens opened with LoadBPL).
    void open(const QString& code, const QVariantList& parameters = {});

    bool isLoaded(const QString& code) const;
    // Screen codes of the packages present in the folders, sorted.
    QStringList availableCodes() const;
    // Finalize and release every loaded package, the last loaded first.
    void unloadAll();

private:
    struct Package;
    Package& load(const QString& code);
    QString locate(const QString& code) const;

    QStringList folders_;
    std::map<QString, std::unique_ptr<Package>> packages_;
    QStringList loadOrder_;
};

// "QMV00500" -> "qmv00500": the base name of a screen's package file, without "lib" and suffix.
QString packageBaseName(const QString& code);

}  // namespace qmv

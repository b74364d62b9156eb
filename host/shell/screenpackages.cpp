#include "host/shell/screenpackages.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include "host/packageabi.h"

namespace qmv {

struct ScreenPackages::Package {
    QLibrary library;
    package::LoadProc initialize = nullptr;
    package::LoadProc finalize = nullptr;
    package::EntryProc iniProc = nullptr;
    package::ParamsProc iniProcParams = nullptr;
};

namespace {

std::string text(const QString& s)
{
    return s.toStdString();
}

QString validCode(const QString& code)
{
    static const QRegularExpression pattern(QStringLiteral("^[A-Za-z]{3}[0-9]{5}$"));
    const QString trimmed = code.trimmed();
    if (!pattern.match(trimmed).hasMatch())
        throw PackageError(text(QStringLiteral("Código de tela inválido: \"%1\".").arg(code)));
    return trimmed.toUpper();
}

}  // namespace

QString packageBaseName(const QString& code)
{
    return code.trimmed().toLower();
}

ScreenPackages::ScreenPackages(QStringList folders) : folders_(std::move(folders)) {}

ScreenPackages::~ScreenPackages()
{
    unloadAll();
}

QString ScreenPackages::locate(const QString& code) const
{
    const QString fileName = QStringLiteral("lib%1.so").arg(packageBaseName(code));
    for (const QString& folder : folders_) {
        const QFileInfo candidate(QDir(folder), fileName);
        if (candidate.isFile())
            return candidate.absoluteFilePath();
    }
    return {};
}

ScreenPackages::Package& ScreenPackages::load(const QString& code)
{
    if (auto found = packages_.find(code); found != packages_.end())
        return *found->second;
    const QString path = locate(code);
    if (path.isEmpty())
        throw PackageError(text(QStringLiteral("Módulo %1 não encontrado (lib%2.so em %3).")
                                    .arg(code, packageBaseName(code), folders_.join(QStringLiteral(", ")))));
    auto package = std::make_unique<Package>();
    package->library.setFileName(path);
    if (!package->library.load())
        throw PackageError(text(QStringLiteral("Não foi possível carregar o módulo %1: %2")
                                    .arg(code, package->library.errorString())));
    QLibrary& library = package->library;
    package->initialize = reinterpret_cast<package::LoadProc>(library.resolve(package::initializeName));
    package->finalize = reinterpret_cast<package::LoadProc>(library.resolve(package::finalizeName));
    package->iniProc = reinterpret_cast<package::EntryProc>(library.resolve(package::iniProcName));
    package->iniProcParams = reinterpret_cast<package::ParamsProc>(library.resolve(package::iniProcParamsName));
    if (!package->initialize || !package->finalize || !package->iniProc) {
        package->library.unload();
        throw PackageError(text(QStringLiteral("O módulo %1 não exporta Initialize, Finalize e IniProc.")
                                    .arg(code)));
    }
    package->initialize();
    loadOrder_.append(code);
    return *packages_.emplace(code, std::move(package)).first->second;
}

void ScreenPackages::open(const QString& code, const QVariantList& parameters)
{
    Package& package = load(validCode(code));
    if (package.iniProcParams && !parameters.isEmpty())
        package.iniProcParams(parameters);
    else
        package.iniProc();
}

bool ScreenPackages::isLoaded(const QString& code) const
{
    return packages_.count(code.trimmed().toUpper()) > 0;
}

QStringList ScreenPackages::availableCodes() const
{
    static const QRegularExpression pattern(QStringLiteral("^lib([a-z]{3}[0-9]{5})\\.so$"));
    QStringList codes;
    for (const QString& folder : folders_) {
        const QStringList files = QDir(folder).entryList({QStringLiteral("lib*.so")}, QDir::Files);
        for (const QString& file : files)
            if (const auto match = pattern.match(file); match.hasMatch())
                codes.append(match.captured(1).toUpper());
    }
    codes.removeDuplicates();
    codes.sort();
    return codes;
}

void ScreenPackages::unloadAll()
{
    while (!loadOrder_.isEmpty()) {
        const QString code = loadOrder_.takeLast();
        auto node = packages_.extract(code);
        node.mapped()->finalize();
        node.mapped()->library.unload();
    }
}

}  // namespace qmv

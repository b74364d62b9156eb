#include "host/loadbpl.h"

#include "host/abort.h"
#include "host/guard.h"
#include "host/menserro.h"

namespace qmv {

namespace {

PackageLoader& loader()
{
    static PackageLoader instance;
    return instance;
}

}  // namespace

void setPackageLoader(PackageLoader newLoader)
{
    loader() = std::move(newLoader);
}

bool hasPackageLoader()
{
    return static_cast<bool>(loader());
}

void LoadBPL(const QString& name, const QVariantList& parameters)
{
    if (!loader())
        MensErro(QStringLiteral("Não foi possível abrir \"%1\": este host não carrega módulos.").arg(name), true);
    try {
        loader()(name, parameters);
    } catch (const Abort&) {
        throw;
    } catch (const std::exception& e) {
        MensErro(QStringLiteral("Não foi possível abrir \"%1\": %2").arg(name, describeException(e)), true);
    }
}

}  // namespace qmv

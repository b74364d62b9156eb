#include "host/guard.h"

#include <QtGlobal>

#include "host/ui.h"

namespace qmv {

QString describeException(const std::exception& e)
{
    const QString text = QString::fromUtf8(e.what());
    return text.isEmpty() ? QStringLiteral("Erro inesperado.") : text;
}

void reportError(const QString& text) noexcept
{
    try {
        ui().showError(text);
    } catch (const std::exception& e) {
        qCritical("%s (while showing: %s)", e.what(), qUtf8Printable(text));
    } catch (...) {
        qCritical("%s", qUtf8Printable(text));
    }
}

}  // namespace qmv

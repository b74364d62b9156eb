#include "host/routines.h"

#include <array>

namespace qmv {

bool EmptyString(const QString& text)
{
    return text.trimmed().isEmpty();
}

QString Ajusta(const QString& text, int width)
{
    const QString trimmed = text.trimmed();
    if (trimmed.size() >= width)
        return trimmed;
    return QString(width - trimmed.size(), QLatin1Char('0')) + trimmed;
}

QString NomeSemana(const QDate& date)
{
    static const std::array<QString, 7> names = {
        QStringLiteral("Segunda"), QStringLiteral("Terça"), QStringLiteral("Quarta"),
        QStringLiteral("Quinta"),  QStringLiteral("Sexta"), QStringLiteral("Sábado"),
        QStringLiteral("Domingo")};
    if (!date.isValid())
        return {};
    return names[static_cast<std::size_t>(date.dayOfWeek() - 1)];
}

QString NomeSemana(const QDateTime& date)
{
    return date.isValid() ? NomeSemana(date.date()) : QString();
}

}  // namespace qmv

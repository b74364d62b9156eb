#include "Cli_qmv00500/subgrouprules.h"

#include <QLocale>
#include <cmath>

#include "host/routines.h"
#include "platform/dataset.h"
#include "platform/displayformat.h"

namespace qmv {

namespace {

// Dates compared as texts: a blank date is the empty text, which differs from every set date.
QString dateText(const QVariant& value)
{
    if (value.isNull() || !value.isValid())
        return {};
    return value.toDateTime().toString(Qt::ISODate);
}

}  // namespace

QString loadingText(const QString& stored)
{
    bool number = false;
    double value = QLocale::c().toDouble(stored.trimmed(), &number);
    if (!number)
        value = QLocale().toDouble(stored.trimmed(), &number);
    if (!number)
        return stored;
    return formatNumber(value, QStringLiteral("#####0%"));
}

QString cycleTime(double rate)
{
    const qint64 seconds = rate != 0 ? static_cast<qint64>(3600 / rate) : 0;
    const auto part = [](qint64 n) { return Ajusta(QString::number(n), 2); };
    return part(seconds / 3600) + u':' + part(seconds % 3600 / 60) + u':' + part(seconds % 3600 % 60);
}

bool applyRevisionRule(DataSet& subGroups)
{
    Field& effective = subGroups.fieldByName(QStringLiteral("DTEFETSUMA"));
    Field& revision = subGroups.fieldByName(QStringLiteral("DTREVISUMA"));
    const QString oldEffective = dateText(effective.oldValue());
    const bool changed = dateText(effective.value()) != oldEffective;
    if (changed && dateText(revision.value()) == oldEffective && effective.asFloat() != 0)
        revision.setValue(effective.value());
    return effective.asFloat() <= revision.asFloat();
}

}  // namespace qmv

#include "host/shell/shelloptions.h"

namespace qmv {

namespace {

// Accepts "--name value" and "--name=value"; returns true when arguments[i] is that option.
bool takeValue(const QStringList& arguments, qsizetype& i, const QString& name, QString& value,
               QString& error)
{
    const QString& argument = arguments[i];
    if (argument.startsWith(name + QLatin1Char('='))) {
        value = argument.mid(name.size() + 1);
        return true;
    }
    if (argument != name)
        return false;
    if (i + 1 >= arguments.size()) {
        error = QStringLiteral("Falta o valor de %1.").arg(name);
        return true;
    }
    value = arguments[++i];
    return true;
}

}  // namespace

ShellOptions parseShellOptions(const QStringList& arguments)
{
    ShellOptions options;
    if (!arguments.isEmpty())
        options.rest.append(arguments.first());
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        QString value;
        if (takeValue(arguments, i, QStringLiteral("--open"), value, options.error)) {
            options.open.append(value);
        } else if (takeValue(arguments, i, QStringLiteral("--packages"), value, options.error)) {
            options.packageFolders.append(value);
        } else if (takeValue(arguments, i, QStringLiteral("--screenshot"), value, options.error)) {
            options.screenshot = value;
        } else if (takeValue(arguments, i, QStringLiteral("--quit-after"), value, options.error)) {
            bool ok = false;
            const int ms = value.toInt(&ok);
            if (ok && ms >= 0)
                options.quitAfterMs = ms;
            else
                options.error = QStringLiteral("--quit-after espera milissegundos: \"%1\".").arg(value);
        } else {
            options.rest.append(arguments[i]);
        }
    }
    return options;
}

}  // namespace qmv

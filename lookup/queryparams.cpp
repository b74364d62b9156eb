#include "lookup/queryparams.h"

namespace qmv {

namespace {

bool isNameChar(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_');
}

}  // namespace

QVariant QueryParam::bindValue() const
{
    if (null_)
        return QVariant(QMetaType::fromType<QString>());
    return value_;
}

QStringList parameterNames(const QString& sql)
{
    QStringList names;
    bool quoted = false;
    for (qsizetype i = 0; i < sql.size(); ++i) {
        const QChar c = sql[i];
        if (c == QLatin1Char('\'')) {
            quoted = !quoted;
            continue;
        }
        if (quoted || c != QLatin1Char(':'))
            continue;
        if (i + 1 < sql.size() && sql[i + 1] == QLatin1Char(':')) {
            ++i;  // a type cast, not a parameter
            continue;
        }
        qsizetype end = i + 1;
        while (end < sql.size() && isNameChar(sql[end]))
            ++end;
        const QString name = sql.mid(i + 1, end - i - 1);
        if (!name.isEmpty() && !names.contains(name, Qt::CaseInsensitive))
            names << name;
        i = end - 1;
    }
    return names;
}

QueryParams::QueryParams(const QString& sql)
{
    for (const QString& name : parameterNames(sql))
        params_ << QueryParam(name);
}

QueryParam& QueryParams::byName(const QString& name)
{
    for (QueryParam& p : params_) {
        if (p.name().compare(name, Qt::CaseInsensitive) == 0)
            return p;
    }
    throw QueryError("Parâmetro inexistente: " + name.toStdString());
}

}  // namespace qmv

#include "appserver/methods/valuecheck.h"

#include "appserver/methods/methoderror.h"

#include <QDateTime>
#include <cmath>

namespace qmv::appserver {

using namespace Qt::StringLiterals;

namespace {

constexpr int firstYear = 1;
constexpr int lastYear = 9999;

QString dateProblem(const QDate& date)
{
    if (!date.isValid() || date.year() < firstYear || date.year() > lastYear)
        return u"traz uma data fora do intervalo aceito (anos %1 a %2)"_s.arg(firstYear).arg(lastYear);
    return {};
}

QString describe(const QVariant& value)
{
    if (value.typeId() == QMetaType::QDateTime)
        return value.toDateTime().date().toString(Qt::ISODate);
    return printable(value.toString());
}

}  // namespace

QString valueProblem(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
        return std::isfinite(value.toDouble()) ? QString() : u"não é um número finito"_s;
    case QMetaType::QString:
        return value.toString().contains(QChar(0)) ? u"contém o caractere NUL"_s : QString();
    case QMetaType::QDateTime:
        return dateProblem(value.toDateTime().date());
    case QMetaType::QDate:
        return dateProblem(value.toDate());
    default:
        return {};
    }
}

QString printable(const QString& text, qsizetype maxLength)
{
    QString out;
    for (const QChar c : text.left(maxLength)) {
        if (c.category() == QChar::Other_Control || c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
            out += u"\\u%1"_s.arg(uint(c.unicode()), 4, 16, QChar(u'0'));
        else
            out += c;
    }
    return text.size() > maxLength ? out + u"..."_s : out;
}

void checkChangeSetValues(const QString& method, const ChangeSet& changes, const QStringList& keyFields,
                          const RowName& rowName)
{
    auto check = [&](const Row& row, qsizetype change, bool keysOnly) {
        for (qsizetype i = 0; i < row.size() && i < changes.fields.size(); ++i) {
            const QString& field = changes.fields[i].name;
            if (keysOnly && !keyFields.contains(field, Qt::CaseInsensitive))
                continue;
            const QString problem = valueProblem(row[i]);
            if (!problem.isEmpty())
                throw MethodError(u"%1: o campo %2 da alteração %3 (%4) %5: %6."_s.arg(
                    method, field, QString::number(change), printable(rowName(row), 300), problem, describe(row[i])));
        }
    };
    for (qsizetype n = 0; n < changes.changes.size(); ++n) {
        const Change& change = changes.changes[n];
        if (change.kind != ChangeKind::Insert)
            check(change.original, n + 1, true);
        if (change.kind != ChangeKind::Delete)
            check(change.current, n + 1, false);
    }
}

}  // namespace qmv::appserver

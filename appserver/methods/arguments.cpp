#include "appserver/methods/arguments.h"

#include "appserver/methods/methoderror.h"
#include "appserver/methods/valuecheck.h"

namespace qmv::appserver {

using namespace Qt::StringLiterals;

Arguments::Arguments(QString method, QCborArray values)
    : method_(std::move(method)), values_(std::move(values))
{
}

void Arguments::expectCount(qsizetype expected) const
{
    if (values_.size() != expected)
        throw MethodError(u"%1 espera %2 argumento(s), mas recebeu %3."_s
                              .arg(method_).arg(expected).arg(values_.size()));
}

void Arguments::refuse(int index, const QString& meaning, const QString& problem) const
{
    throw MethodError(u"%1: o argumento %2 (%3) %4."_s.arg(method_, QString::number(index + 1), meaning, problem));
}

QString Arguments::text(int index, const QString& meaning, int maxLength) const
{
    const QCborValue value = values_.at(index);
    if (!value.isString())
        refuse(index, meaning, u"deve ser um texto"_s);
    const QString text = value.toString();
    if (text.contains(QChar(0)))
        refuse(index, meaning, u"contém o caractere NUL"_s);
    if (text.size() > maxLength)
        refuse(index, meaning, u"tem %1 caracteres; o máximo é %2"_s.arg(text.size()).arg(maxLength));
    return text;
}

QString Arguments::oneOf(int index, const QString& meaning, const QStringList& allowed) const
{
    int longest = 0;
    for (const QString& choice : allowed)
        longest = std::max(longest, int(choice.size()));
    const QString value = text(index, meaning, longest);
    if (!allowed.contains(value))
        refuse(index, meaning, u"deve ser um destes valores: \"%1\""_s.arg(allowed.join(u"\", \""_s)));
    return value;
}

qint64 Arguments::integer(int index, const QString& meaning) const
{
    const QCborValue value = values_.at(index);
    if (!value.isInteger())
        refuse(index, meaning, u"deve ser um número inteiro"_s);
    const qint64 number = value.toInteger();
    if (number < INT32_MIN || number > INT32_MAX)
        refuse(index, meaning, u"está fora do intervalo de um inteiro de 32 bits"_s);
    return number;
}

ServiceKey Arguments::serviceKey(int index, const QString& meaning) const
{
    const QString key = text(index, meaning, 18);
    if (key.size() < 9)
        refuse(index, meaning, u"deve trazer o código do serviço seguido da classe e do ciclo, de 4 caracteres cada"_s);
    return ServiceKey{key.left(key.size() - 8), key.mid(key.size() - 8, 4), key.right(4)};
}

int Arguments::levels(int index) const
{
    const QString digits = text(index, u"níveis do código"_s, 2);
    bool ok = false;
    const int value = digits.toInt(&ok);
    if (!ok || value < 1)
        refuse(index, u"níveis do código"_s, u"deve ser um número de 1 a 99"_s);
    return value;
}

ChangeSet Arguments::changeSet(int index) const
{
    const QCborValue value = values_.at(index);
    if (!value.isMap())
        refuse(index, u"conjunto de alterações"_s, u"deve ser um conjunto de alterações"_s);
    try {
        return changeSetFromCbor(value);
    } catch (const PacketValueError& error) {
        throw MethodError(u"%1: o campo %2 da alteração %3 traz um valor que não pode ser lido (%4)."_s.arg(
            method_, printable(error.field()), QString::number(error.row()),
            printable(QString::fromStdString(error.problem()))));
    } catch (const PacketError& error) {
        refuse(index, u"conjunto de alterações"_s,
               u"não pôde ser lido (%1)"_s.arg(QString::fromUtf8(error.what())));
    }
}

}  // namespace qmv::appserver

#include "host/tmessages.h"

#include <stdexcept>

#include "host/ui.h"

namespace qmv {

TMessages::TMessages(QObject* owner, const QString& name)
    : QObject(owner)
{
    setObjectName(name);
}

void TMessages::setMessages(const QStringList& lines)
{
    QHash<QString, QString> texts;
    for (const QString& line : lines) {
        const qsizetype bar = line.indexOf(QLatin1Char('|'));
        if (bar <= 0)
            throw std::invalid_argument(
                QStringLiteral("Entrada inválida na tabela de mensagens %1: \"%2\"")
                    .arg(objectName(), line).toStdString());
        texts.insert(line.left(bar), line.mid(bar + 1));
    }
    lines_ = lines;
    texts_ = texts;
}

void TMessages::add(const QString& key, const QString& text)
{
    setMessages(lines_ + QStringList{key + QLatin1Char('|') + text});
}

QString TMessages::Msg(const QString& key) const
{
    const auto it = texts_.constFind(key);
    if (it == texts_.constEnd())
        throw std::out_of_range(QStringLiteral("Mensagem \"%1\" não encontrada na tabela %2.")
                                    .arg(key, objectName()).toStdString());
    return *it;
}

int TMessages::ShowMsg(const QString& key, MsgType type, MsgButtons buttons, int) const
{
    const QString text = Msg(key);
    if (type == MsgType::Confirmation || (buttons & mbYes)) {
        const bool yes = ui().askYesNo(text);
        if (yes)
            return mrYes;
        return (buttons & mbNo) ? mrNo : mrCancel;
    }
    if (type == MsgType::Error)
        ui().showError(text);
    else
        ui().showInfo(text);
    return mrOk;
}

}  // namespace qmv

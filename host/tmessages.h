#pragma once
// TMessages: a form's message table, entries written "key|text". Msg gives the text of a key;
// ShowMsg shows it through the UI seam and gives the classic modal result (6 for Yes). UI thread.
#include <QHash>
#include <QObject>
#include <QStringList>

namespace qmv {

enum class MsgType { Warning, Error, Information, Confirmation };

enum MsgButton { mbYes = 0x1, mbNo = 0x2, mbOK = 0x4, mbCancel = 0x8 };
using MsgButtons = int;

enum ModalResult { mrNone = 0, mrOk = 1, mrCancel = 2, mrYes = 6, mrNo = 7 };

class TMessages : public QObject {
    Q_OBJECT
public:
    explicit TMessages(QObject* owner = nullptr, const QString& name = QString());

    // Replaces the table with lines "key|text"; a line without a bar, or with an empty key, is a
    // fault in the table and throws std::invalid_argument naming it.
    void setMessages(const QStringList& lines);
    void add(const QString& key, const QString& text);
    QStringList messages() const { return lines_; }
    bool contains(const QString& key) const { return texts_.contains(key); }

    // The text of key; an unknown key throws std::out_of_range with the key in its message.
    QString Msg(const QString& key) const;

    // Confirmation with Yes (and No): asks, mrYes or mrNo. Error: shows as an error, mrOk.
    // Other kinds: shown as information, mrOk. helpContext is kept for the call's shape.
    int ShowMsg(const QString& key, MsgType type, MsgButtons buttons, int helpContext = 0) const;

private:
    QStringList lines_;
    QHash<QString, QString> texts_;
};

}  // namespace qmv

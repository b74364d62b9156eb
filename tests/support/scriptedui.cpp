#include "support/scriptedui.h"

#include <QDialog>
#include <QPointer>
#include <QWidget>
#include <gtest/gtest.h>

namespace qmv {

namespace {

template <class T>
bool takeFront(std::deque<T>& queue, T& out)
{
    if (queue.empty())
        return false;
    out = std::move(queue.front());
    queue.pop_front();
    return true;
}

}  // namespace

ScriptedUi::ScriptedUi()
    : previous_(hasUi() ? &ui() : nullptr)
{
    setUi(this);
}

ScriptedUi::~ScriptedUi()
{
    setUi(previous_);
}

bool ScriptedUi::answersLeft() const
{
    return !yesNo_.empty() || !yesNoCancel_.empty() || !openFiles_.empty() || !saveFiles_.empty() || !searches_.empty()
        || !searchesMany_.empty() || !finds_.empty() || !modals_.empty();
}

void ScriptedUi::showError(const QString& text)
{
    errors << text;
    log << QStringLiteral("error:") + text;
}

void ScriptedUi::showInfo(const QString& text)
{
    infos << text;
    log << QStringLiteral("info:") + text;
}

bool ScriptedUi::askYesNo(const QString& text, DefaultButton byDefault)
{
    questions << text;
    questionDefaults << byDefault;
    log << QStringLiteral("ask:") + text;
    bool yes = false;
    if (!takeFront(yesNo_, yes))
        ADD_FAILURE() << "unexpected question: " << text.toStdString();
    return yes;
}

Answer ScriptedUi::askYesNoCancel(const QString& text)
{
    questions << text;
    log << QStringLiteral("ask3:") + text;
    Answer answer = Answer::Cancel;
    if (!takeFront(yesNoCancel_, answer))
        ADD_FAILURE() << "unexpected question: " << text.toStdString();
    return answer;
}

QString ScriptedUi::openFile(const FileDialogSpec& dialog)
{
    const QString& title = dialog.title;
    fileDialogs << dialog;
    log << QStringLiteral("open:") + title;
    QString path;
    if (!takeFront(openFiles_, path))
        ADD_FAILURE() << "unexpected open dialog: " << title.toStdString();
    return path;
}

QString ScriptedUi::saveFile(const FileDialogSpec& dialog)
{
    const QString& title = dialog.title;
    fileDialogs << dialog;
    log << QStringLiteral("save:") + title;
    QString path;
    if (!takeFront(saveFiles_, path))
        ADD_FAILURE() << "unexpected save dialog: " << title.toStdString();
    return path;
}

bool ScriptedUi::searchList(DataSource& source, const QString& title)
{
    searchTitles << title;
    log << QStringLiteral("search:") + title;
    SearchAnswer answer;
    if (!takeFront(searches_, answer)) {
        ADD_FAILURE() << "unexpected search list: " << title.toStdString();
        return false;
    }
    return answer(source, title);
}

QStringList ScriptedUi::searchListMany(DataSource& source, const QString& field, const QStringList& titles)
{
    searchTitles << titles.value(0);
    log << QStringLiteral("searchMany:") + field;
    SearchManyAnswer answer;
    if (!takeFront(searchesMany_, answer)) {
        ADD_FAILURE() << "unexpected multi-pick search list over " << field.toStdString();
        return {};
    }
    return answer(source, field, titles);
}

bool ScriptedUi::findRecord(DataSet& dataSet)
{
    log << QStringLiteral("find");
    FindAnswer answer;
    if (!takeFront(finds_, answer)) {
        ADD_FAILURE() << "unexpected find dialog";
        return false;
    }
    return answer(dataSet);
}

int ScriptedUi::showModal(QWidget& form)
{
    modalForms << form.objectName();
    cursorDuringModal << cursor_;
    log << QStringLiteral("modal:") + form.objectName();
    QPointer<QWidget> alive(&form);
    form.show();
    ModalAction action;
    if (takeFront(modals_, action))
        action(form);
    if (alive && alive->isVisible())
        alive->close();
    int result = 0;
    if (auto* dialog = alive ? qobject_cast<QDialog*>(alive.data()) : nullptr)
        result = dialog->result();
    return result;
}

void ScriptedUi::setCursor(CursorShape shape)
{
    cursor_ = shape;
    log << (shape == CursorShape::Wait ? QStringLiteral("cursor:wait") : QStringLiteral("cursor:default"));
}

void ScriptedUi::showBusy(QWidget*, int kind)
{
    ++busyShows;
    busyVisible_ = true;
    lastBusyKind_ = kind;
    log << QStringLiteral("busy+%1").arg(kind);
}

void ScriptedUi::hideBusy()
{
    ++busyHides;
    busyVisible_ = false;
    log << QStringLiteral("busy-");
}

}  // namespace qmv

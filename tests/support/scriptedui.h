#pragma once
// The scripted UI seam for tests: answers questions, file dialogs, search lists and modal forms from
// queues filled by the test, and records everything shown, in order. Installs itself on
// construction and restores the previous seam on destruction. UI thread only.
#include <QStringList>
#include <deque>
#include <functional>

#include "host/ui.h"

namespace qmv {

class ScriptedUi : public Ui {
public:
    using SearchAnswer = std::function<bool(DataSource&, const QString& title)>;
    using SearchManyAnswer =
        std::function<QStringList(DataSource&, const QString& field, const QStringList& titles)>;
    using FindAnswer = std::function<bool(DataSet&)>;
    using ModalAction = std::function<void(QWidget&)>;

    ScriptedUi();
    ~ScriptedUi() override;
    ScriptedUi(const ScriptedUi&) = delete;
    ScriptedUi& operator=(const ScriptedUi&) = delete;

    // Answers, used in the order queued. A question without an answer fails the test and
    // is answered No / cancelled.
    void answerYesNo(bool yes) { yesNo_.push_back(yes); }
    void answerYesNoCancel(Answer answer) { yesNoCancel_.push_back(answer); }
    void answerOpenFile(const QString& path) { openFiles_.push_back(path); }
    void answerSaveFile(const QString& path) { saveFiles_.push_back(path); }
    void answerSearch(SearchAnswer answer) { searches_.push_back(std::move(answer)); }
    void answerSearchMany(SearchManyAnswer answer) { searchesMany_.push_back(std::move(answer)); }
    void answerFind(FindAnswer answer) { finds_.push_back(std::move(answer)); }
    // Acts inside the next modal form; the form is closed afterwards if the action left it open.
    // Without a queued action a modal form is closed at once, as if the person closed it.
    void actInModal(ModalAction action) { modals_.push_back(std::move(action)); }

    // What was shown.
    QStringList errors;
    QStringList infos;
    QStringList questions;
    QList<DefaultButton> questionDefaults;  // of each yes/no question, in order
    QStringList searchTitles;
    QList<FileDialogSpec> fileDialogs;  // each open or save dialog as it was asked for
    QStringList modalForms;                  // objectName of each form shown modally
    QList<CursorShape> cursorDuringModal;    // the cursor while each modal form was up
    QStringList log;  // every event in order: "error:..", "info:..", "ask:..", "busy+6", "busy-", ...
    int busyShows = 0;
    int busyHides = 0;
    bool busyVisible() const { return busyVisible_; }
    int lastBusyKind() const { return lastBusyKind_; }
    bool answersLeft() const;

    void showError(const QString& text) override;
    void showInfo(const QString& text) override;
    bool askYesNo(const QString& text, DefaultButton byDefault = DefaultButton::Yes) override;
    Answer askYesNoCancel(const QString& text) override;
    QString openFile(const FileDialogSpec& dialog) override;
    QString saveFile(const FileDialogSpec& dialog) override;
    bool searchList(DataSource& source, const QString& title) override;
    QStringList searchListMany(DataSource& source, const QString& field,
                               const QStringList& titles) override;
    bool findRecord(DataSet& dataSet) override;
    int showModal(QWidget& form) override;
    void setCursor(CursorShape shape) override;
    CursorShape cursor() const override { return cursor_; }
    void showBusy(QWidget* mainWindow, int kind) override;
    void hideBusy() override;

private:
    Ui* previous_ = nullptr;
    std::deque<bool> yesNo_;
    std::deque<Answer> yesNoCancel_;
    std::deque<QString> openFiles_;
    std::deque<QString> saveFiles_;
    std::deque<SearchAnswer> searches_;
    std::deque<SearchManyAnswer> searchesMany_;
    std::deque<FindAnswer> finds_;
    std::deque<ModalAction> modals_;
    CursorShape cursor_ = CursorShape::Default;
    bool busyVisible_ = false;
    int lastBusyKind_ = -1;
};

}  // namespace qmv

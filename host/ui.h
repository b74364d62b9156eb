#pragma once
// The UI seam: everything that waits for a person goes through here (message and confirmation
// boxes, file dialogs, search lists, modal forms, the cursor and the busy indicator).
// The host installs the Qt implementation; tests install a scripted one. UI thread only.
#include <QFlags>
#include <QString>
#include <QStringList>

class QWidget;

namespace qmv {

class DataSet;
class DataSource;

enum class CursorShape { Default, Wait };
enum class Answer { Yes, No, Cancel };
// The button Enter presses in a yes/no box: "Não" where "Sim" would undo or destroy something.
enum class DefaultButton { Yes, No };

// How a file dialog behaves, as the screen that runs it sets it.
enum class FileOption {
    HideReadOnly = 0x01,     // no "open as read-only" box
    ShowHelp = 0x02,         // a help button
    PathMustExist = 0x04,    // the folder of the name given must exist
    FileMustExist = 0x08,    // an open dialog accepts only an existing file
    OverwritePrompt = 0x10,  // a save dialog asks before replacing a file
};
Q_DECLARE_FLAGS(FileOptions, FileOption)

// A file dialog as a screen defines it.
struct FileDialogSpec {
    QString title;
    QString filter;       // "description|patterns|description|patterns..."
    int filterIndex = 1;  // the filter selected when the dialog opens, counted from 1
    QString defaultExt;   // added to a name given without an extension (".rtf" or "rtf")
    FileOptions options;
};

class Ui {
public:
    virtual ~Ui() = default;

    virtual void showError(const QString& text) = 0;
    virtual void showInfo(const QString& text) = 0;
    virtual bool askYesNo(const QString& text, DefaultButton byDefault = DefaultButton::Yes) = 0;  // true for Yes
    // Sim, Não and Cancelar; Esc or closing the box cancels.
    virtual Answer askYesNoCancel(const QString& text) = 0;

    // The chosen file's path; empty text when the person cancelled.
    virtual QString openFile(const FileDialogSpec& dialog) = 0;
    virtual QString saveFile(const FileDialogSpec& dialog) = 0;
    // The same with only a title, a filter (the first one selected) and a default extension.
    QString openFileName(const QString& title, const QString& filter);
    QString saveFileName(const QString& title, const QString& filter, const QString& defaultSuffix);

    // Pesquisar: a list over the source's visible fields; true when a row was picked (it is then current).
    virtual bool searchList(DataSource& source, const QString& title) = 0;
    // PesquisaLista: the values of `field` in the rows picked (empty when cancelled);
    // titles holds the window title, then the text for an empty list.
    virtual QStringList searchListMany(DataSource& source, const QString& field,
                                       const QStringList& titles) = 0;
    // Procura: a find dialog over the dataset; true when a record was found (it is then current).
    virtual bool findRecord(DataSet& dataSet) = 0;

    // Shows the form modally and returns when it has been closed; returns its result code.
    virtual int showModal(QWidget& form) = 0;

    virtual void setCursor(CursorShape shape) = 0;
    virtual CursorShape cursor() const = 0;
    virtual void showBusy(QWidget* mainWindow, int kind) = 0;
    virtual void hideBusy() = 0;
};

// The seam in force. Throws std::logic_error while none is installed, so a forgotten installation
// fails loudly instead of opening a real window in a test. setUi does not take ownership.
Ui& ui();
void setUi(Ui* implementation);
bool hasUi();

}  // namespace qmv

Q_DECLARE_OPERATORS_FOR_FLAGS(qmv::FileOptions)

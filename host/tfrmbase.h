#pragma once
// The common ground of the host's base forms: identification (screen code label, help file and
// context), the message table, the creation, close and key handlers that the forms override and call
// by name, a column of command buttons, and the form-level key preview: every key pressed in the
// form reaches FormKeyDown first (F1 shows the help context, Enter moves to the next field, Esc is
// the form's escape). Handlers started by Qt run through the host guard. UI thread only.
#include <QWidget>

#include "host/guard.h"

class QBoxLayout;
class QLabel;

namespace qmv {

class TButtonFlat;
class TMessages;

enum TCloseAction { caNone, caHide, caFree, caMinimize };

class TfrmBase : public QWidget {
    Q_OBJECT
public:
    explicit TfrmBase(QWidget* parent = nullptr, Qt::WindowFlags flags = {});
    ~TfrmBase() override;

    QLabel* lblCodTela = nullptr;
    TMessages* msgPadrao = nullptr;

    void setScreenCode(const QString& code);
    QString screenCode() const;
    void setHelp(const QString& helpFile, int helpContext);
    QString helpFile() const { return helpFile_; }
    int helpContext() const { return helpContext_; }

    // Adds a button of the form's own to the base form's command column or bar.
    virtual void addCommandButton(TButtonFlat* button);

    // The handlers. The creation handler runs once the form is built (by its create function); the
    // close handler decides what closing does (the base forms free the window).
    virtual void FormCreate();
    virtual void FormClose(TCloseAction& action);
    virtual void FormKeyDown(int& key, Qt::KeyboardModifiers shift);
    virtual void ShowHelp();

protected:
    // What Esc does in this form (the base forms cancel an edit, or the dialog); true when it did
    // something, which uses the key up.
    virtual bool EscapeKey() { return false; }
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void setCommandLayout(QBoxLayout* layout, int insertAt);

private:
    bool previewKey(QWidget* target, QKeyEvent* event);

    QString helpFile_;
    int helpContext_ = 0;
    QBoxLayout* commandLayout_ = nullptr;
    int commandInsertAt_ = 0;
};

// True when Enter in this widget should move on to the next field (a one-line field outside a grid).
bool enterMovesOn(const QWidget* focus);

}  // namespace qmv

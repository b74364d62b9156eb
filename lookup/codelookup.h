#pragma once
// A code lookup group: a code edit, its lookup button and a read-only name box. Editing the code
// clears the name box, further boxes and the next dependent code (whose own group then clears
// its dependants); a row chosen from the list is copied back code first, then names, then the
// owner's further state; leaving the code edit (losing the focus to another control of the
// window) runs the exit handler through the host guard. An empty name beside a non-empty code
// marks a code not yet validated. UI thread only.
#include <QLineEdit>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>

#include "platform/dataset.h"
#include "platform/datasource.h"

namespace qmv {

class TBtnPesquisa;

class CodeLookup : public QObject {
    Q_OBJECT
public:
    CodeLookup(QLineEdit& codeEdit, QLineEdit& nameBox, QObject* parent = nullptr);
    ~CodeLookup() override;

    QLineEdit& codeEdit() const { return *code_; }
    QLineEdit& nameBox() const { return *name_; }
    // The code edit's text without surrounding blanks; empty for a masked edit showing only its
    // literals.
    QString code() const;

    // The rows the list and the exact lookup leave current, and the columns copied from them.
    void setSource(DataSet* source, const QString& codeColumn, const QString& nameColumn);
    DataSet* source() const { return source_; }
    // Makes the button this group's lookup button: associated with the code edit, listing
    // listSource (a source of its own over the group's source when null), before-list and
    // after-list as its events.
    void bindButton(TBtnPesquisa& button, DataSource* listSource = nullptr);
    // A further column copied after the name into its own box, which a change also clears.
    void addCopy(const QString& column, QLineEdit& box);
    // The code edit of the next dependent field, cleared by a change of this code.
    void setDependent(QLineEdit* dependentCode) { dependent_ = dependentCode; }
    // The name box of a plain edit: read-only, disabled, no tab stop (only code writes it).
    static void makeNameBox(QLineEdit& box);
    // Upper-case entry of at most maxLength characters, for a code edit without an edit mask.
    void setUpperCaseEntry(int maxLength);

    // Set by the owning screen.
    std::function<void()> onBeforeList;         // parameters for the whole list, then open
    std::function<void(DataSet& row)> onAfterCopy;  // further state from the chosen row
    std::function<void()> onChange;             // runs after the group's own clearing
    // Exact lookup of a typed code: leaves the matching row current and returns true, or false.
    std::function<bool(const QString& code)> findExact;
    std::function<void()> onExit;  // the exit handler; validateTyped() when not set

    // The handlers, callable from code as the screens call them.
    void beforeList();
    void afterList();  // copies the source's current row
    void change();
    void exit();

    // Exit of a company, manual or service: nothing unless a code is typed and its name is
    // empty; no row: focus back on the code edit and MensErro(invalidMessage) (aborts); a row:
    // afterList().
    void validateTyped(const QString& invalidMessage);

    // Validation of a branch-like code (Vd_Filial): empty and required gives nullMessage; empty
    // and not required does nothing; otherwise the code becomes Ajusta(code, width), is looked
    // up, and names the name box or gives invalidMessage. On any failure the focus returns to
    // the code edit (only when enabled if onlyWhenEnabled) before the error goes on.
    struct RequiredRule {
        int width = 4;
        QString nullMessage;
        QString invalidMessage;
        bool onlyWhenEnabled = true;
    };
    void validateRequired(bool required, const RequiredRule& rule);

    // Focus back on the code edit, if it can take it.
    void refocus(bool onlyWhenEnabled = true);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void textEdited();
    void leave();

    QPointer<QLineEdit> code_;
    QPointer<QLineEdit> name_;
    QPointer<QLineEdit> dependent_;
    QPointer<DataSet> source_;
    DataSource ownSource_;
    QString codeColumn_;
    QString nameColumn_;
    QList<QPair<QString, QPointer<QLineEdit>>> copies_;
    QString lastText_;
    bool leaving_ = false;
};

}  // namespace qmv

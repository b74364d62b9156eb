#pragma once
// The layout shared by the host's dialog base forms: the form's own area on the left and, on the
// right, the 55-pixel command column panMenu with its buttons (panBotoes), the help button and the
// screen code. Esc runs the dialog's cancel. UI thread only.
#include <functional>

#include "host/tfrmbase.h"

class QFrame;
class QHBoxLayout;
class QVBoxLayout;

namespace qmv {

class TfrmDialogBase : public TfrmBase {
    Q_OBJECT
public:
    explicit TfrmDialogBase(QWidget* parent = nullptr);

    QFrame* panMenu = nullptr;
    QWidget* panBotoes = nullptr;
    QWidget* panAjuda = nullptr;
    TButtonFlat* sbtAjuda = nullptr;

protected:
    // Adds the form's own area (its group box) at the left.
    void setClientArea(QWidget* area);
    // Adds a button to panBotoes and binds its click, through the guard, to the handler.
    TButtonFlat* addBaseButton(const char* name, const QString& hint, int standardIcon,
                               std::function<void()> handler);
    // What Esc (and the close of the dialog by its cancel) runs.
    virtual void cancelDialog() { close(); }
    bool EscapeKey() override;

private:
    QHBoxLayout* layout_ = nullptr;
    QVBoxLayout* buttons_ = nullptr;
};

}  // namespace qmv

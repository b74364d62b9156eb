#pragma once
// TfrmRotiGeral: the general routine dialog. Its data group box grbDadosRel takes the routine's
// controls; the command column holds the confirm button sbtConfirma and the cancel button
// sbtCancel, whose handlers (both closing the dialog here) a routine overrides and calls by name.
// Esc cancels, F1 shows the help context, Enter moves on. UI thread only.
#include "host/tfrmdialogbase.h"

class QGroupBox;

namespace qmv {

class TfrmRotiGeral : public TfrmDialogBase {
    Q_OBJECT
public:
    explicit TfrmRotiGeral(QWidget* parent = nullptr);

    QGroupBox* grbDadosRel = nullptr;
    TButtonFlat* sbtConfirma = nullptr;
    TButtonFlat* sbtCancel = nullptr;

    void FormCreate() override;
    void FormClose(TCloseAction& action) override;
    void FormKeyDown(int& key, Qt::KeyboardModifiers shift) override;
    virtual void sbtConfirmaClick();
    virtual void sbtCancelClick();

protected:
    void cancelDialog() override { sbtCancelClick(); }
};

}  // namespace qmv

#pragma once
// TfrmFiltroPadrao: the standard filter dialog. Its group box grbFiltroPadrao takes the filter's
// controls; the command column holds the confirm button sbtConfirma (closing here; a filter
// overrides it) and the closing button sbtFechar. Esc closes, F1 shows the help context, Enter moves
// on. UI thread only.
#include "host/tfrmdialogbase.h"

class QGroupBox;

namespace qmv {

class TfrmFiltroPadrao : public TfrmDialogBase {
    Q_OBJECT
public:
    explicit TfrmFiltroPadrao(QWidget* parent = nullptr);

    QGroupBox* grbFiltroPadrao = nullptr;
    TButtonFlat* sbtConfirma = nullptr;
    TButtonFlat* sbtFechar = nullptr;

    void FormClose(TCloseAction& action) override;
    virtual void sbtConfirmaClick();
    virtual void sbtFecharClick();

protected:
    void cancelDialog() override { sbtFecharClick(); }
};

}  // namespace qmv

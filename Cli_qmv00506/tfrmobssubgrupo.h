#pragma once
// The sub-group observation editor "Observação do Delivery" (RXT02203) on the general routine form.
// Built through create(); closing clears its unit's flag. UI thread only.
#include "host/tfrmrotigeral.h"

namespace qmv {

class TfrmObsSubGrupo : public TfrmRotiGeral {
    Q_OBJECT
public:
    static TfrmObsSubGrupo* create(QWidget* parent);

    void FormClose(TCloseAction& action) override;
    void FormActivate();
    // Does nothing: the routine form's keyboard handling does not apply to this window.
    void FormKeyDown(int& key, Qt::KeyboardModifiers shift) override;

protected:
    bool event(QEvent* event) override;

private:
    explicit TfrmObsSubGrupo(QWidget* parent);
};

}  // namespace qmv

#pragma once
// The equipment inclusion dialog "Inclusão de Equipamentos" (QMV00505) on the general routine form.
// Built through create(); closing clears its unit's flag. UI thread only.
#include "host/tfrmrotigeral.h"

namespace qmv {

class TfrmCadAutEquip : public TfrmRotiGeral {
    Q_OBJECT
public:
    static TfrmCadAutEquip* create(QWidget* parent);

    void FormClose(TCloseAction& action) override;

private:
    explicit TfrmCadAutEquip(QWidget* parent);
};

}  // namespace qmv

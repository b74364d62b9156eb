#pragma once
// The photo import dialog, between manuals "Importação de Foto Montagem do Manual" (QMV00503) on the general routine form.
// Built through create(); closing clears its unit's flag. UI thread only.
#include "host/tfrmrotigeral.h"

namespace qmv {

class TfrmImpFotoMan : public TfrmRotiGeral {
    Q_OBJECT
public:
    static TfrmImpFotoMan* create(QWidget* parent);

    void FormClose(TCloseAction& action) override;

private:
    explicit TfrmImpFotoMan(QWidget* parent);
};

}  // namespace qmv

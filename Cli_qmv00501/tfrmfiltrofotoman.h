#pragma once
// The photo and instruction filter dialog "Filtro de Foto Montagem do Manual" (QMV00501) on the
// standard filter form: two lists, whether the sub-group has a photo and whether it has assembly
// instructions. The first activation of each opening starts from the choices kept in Filtro (later
// ones, after a message box or another window, keep what is shown); its closing stores them.
// Built through create(); UI thread only.
#include "host/tfrmfiltropadrao.h"

class QComboBox;
class QLabel;

namespace qmv {

class TfrmFiltroFotoMan : public TfrmFiltroPadrao {
    Q_OBJECT
public:
    static TfrmFiltroFotoMan* create(QWidget* parent);

    void FormActivate();
    void FormClose(TCloseAction& action) override;
    // Reloads the main screen's sub-groups with the two choices (only while a list is loaded),
    // then closes; a failed reload keeps the dialog open and the list as it was.
    void sbtConfirmaClick() override;

    QLabel* lblFotServ = nullptr;
    QComboBox* cbbIdFFoto = nullptr;
    QLabel* lblInstMont = nullptr;
    QComboBox* cbbIdFMontagem = nullptr;

protected:
    bool event(QEvent* event) override;

private:
    explicit TfrmFiltroFotoMan(QWidget* parent);

    bool choicesSet_ = false;  // this opening has started from the stored choices
};

}  // namespace qmv

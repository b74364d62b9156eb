// The check of the emission screen's selection before an emission: its rows (the shared selection
// panel) validated, the codes and names taken as they stand.
#include <QLineEdit>
#include <QRadioButton>

#include "lookup/selectionpanel.h"
#include "qmv01200/tfrmemissaomanual.h"

namespace qmv {

// A code typed and not yet validated is validated now; a missing one is reported on its field.
ManualSelection TfrmEmissaoManual::selection()
{
    selection_->checkAll(rbtServico->isChecked());
    const SelectionKey& k = selection_->key();
    return {medFilial->text().trimmed(), edtNmFilial->text(), k.company, medCdCia->text().trimmed(), edtNmCia->text(),
            k.manual, edtDsManCia->text(), k.service, medCdServico->text().trimmed(), edtDsServico->text(),
            k.classCode, k.cycle, edtClasse->text(), edtCiclo->text()};
}

}  // namespace qmv

#pragma once
// The selection of the screen that opened the emission, read from that screen's form by names only:
// its selection edits (medFilial, medCdCia, edtNmCia...) and the codes it keeps as properties
// (stCdCia, stCdManCia, stCdServico, stCdClasse, stCdCiclo). The emission thus needs no part of the
// calling screen's code. UI thread only.
#include <QVariant>

#include "qmv01200/emissiondata.h"

class QWidget;

namespace qmv {

// The live widget whose address the integer holds (as LoadBPL passes a form), or null when no
// widget of the application has that address any more.
QWidget* liveWidgetAt(const QVariant& reference);

ManualSelection selectionOf(const QWidget& form);

}  // namespace qmv

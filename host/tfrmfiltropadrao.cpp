#include "host/tfrmfiltropadrao.h"

#include <QGroupBox>
#include <QStyle>

namespace qmv {

TfrmFiltroPadrao::TfrmFiltroPadrao(QWidget* parent)
    : TfrmDialogBase(parent)
    , grbFiltroPadrao(new QGroupBox(this))
{
    grbFiltroPadrao->setObjectName(QStringLiteral("grbFiltroPadrao"));
    setClientArea(grbFiltroPadrao);
    sbtConfirma = addBaseButton("sbtConfirma", QStringLiteral("Confirmar"), QStyle::SP_DialogApplyButton,
                                [this] { sbtConfirmaClick(); });
    sbtFechar = addBaseButton("sbtFechar", QStringLiteral("Fechar"), QStyle::SP_DialogCloseButton,
                              [this] { sbtFecharClick(); });
}

void TfrmFiltroPadrao::FormClose(TCloseAction& action)
{
    TfrmDialogBase::FormClose(action);
}

void TfrmFiltroPadrao::sbtConfirmaClick()
{
    close();
}

void TfrmFiltroPadrao::sbtFecharClick()
{
    close();
}

}  // namespace qmv

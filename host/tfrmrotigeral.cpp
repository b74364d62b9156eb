#include "host/tfrmrotigeral.h"

#include <QGroupBox>
#include <QStyle>

namespace qmv {

TfrmRotiGeral::TfrmRotiGeral(QWidget* parent)
    : TfrmDialogBase(parent)
    , grbDadosRel(new QGroupBox(this))
{
    grbDadosRel->setObjectName(QStringLiteral("grbDadosRel"));
    setClientArea(grbDadosRel);
    sbtConfirma = addBaseButton("sbtConfirma", QStringLiteral("Confirmar"), QStyle::SP_DialogApplyButton,
                                [this] { sbtConfirmaClick(); });
    sbtCancel = addBaseButton("sbtCancel", QStringLiteral("Cancelar"), QStyle::SP_DialogCancelButton,
                              [this] { sbtCancelClick(); });
}

void TfrmRotiGeral::FormCreate()
{
    TfrmDialogBase::FormCreate();
}

void TfrmRotiGeral::FormClose(TCloseAction& action)
{
    TfrmDialogBase::FormClose(action);
}

void TfrmRotiGeral::FormKeyDown(int& key, Qt::KeyboardModifiers shift)
{
    TfrmDialogBase::FormKeyDown(key, shift);
}

void TfrmRotiGeral::sbtConfirmaClick()
{
    close();
}

void TfrmRotiGeral::sbtCancelClick()
{
    close();
}

}  // namespace qmv

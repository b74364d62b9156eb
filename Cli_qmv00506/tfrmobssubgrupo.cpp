#include "Cli_qmv00506/tfrmobssubgrupo.h"

#include <QEvent>
#include <memory>

#include "host/guard.h"

#include "Cli_qmv00506/cli_qmv00506.h"

namespace qmv {

TfrmObsSubGrupo* TfrmObsSubGrupo::create(QWidget* parent)
{
    std::unique_ptr<TfrmObsSubGrupo> form(new TfrmObsSubGrupo(parent));
    form->FormCreate();
    return form.release();
}

TfrmObsSubGrupo::TfrmObsSubGrupo(QWidget* parent) : TfrmRotiGeral(parent)
{
    setObjectName(QStringLiteral("frmObsSubGrupo"));
    setWindowTitle(QStringLiteral("Observação do Delivery"));
    setScreenCode(QStringLiteral("RXT02203"));
    setHelp(QStringLiteral("Rxthelp.hlp"), 10102203);
    resize(489, 273);
}

bool TfrmObsSubGrupo::event(QEvent* event)
{
    const bool handled = TfrmRotiGeral::event(event);
    if (event->type() == QEvent::WindowActivate)
        guard([this] { FormActivate(); });
    return handled;
}

void TfrmObsSubGrupo::FormActivate()
{
    update();
}

void TfrmObsSubGrupo::FormKeyDown(int&, Qt::KeyboardModifiers) {}

void TfrmObsSubGrupo::FormClose(TCloseAction& action)
{
    TfrmRotiGeral::FormClose(action);
    Cli_qmv00506::boStCriado = false;
}

}  // namespace qmv

#include "Cli_qmv00506/tfrmobssubgrupo.h"

#include <QEvent>
#include <QGroupBox>
#include <QVBoxLayout>
#include <memory>

#include "host/formatpanel.h"
#include "host/guard.h"
#include "host/tbuttonflat.h"
#include "platform/dataset.h"
#include "platform/datasource.h"
#include "platform/dbrichedit.h"
#include "screenlink/mainscreen.h"

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

    auto* column = new QVBoxLayout(grbDadosRel);
    column->setContentsMargins(2, 2, 2, 2);
    panbot = new QWidget(grbDadosRel);
    panbot->setObjectName(QStringLiteral("panbot"));
    panbot->setFixedHeight(30);
    // The bar is wider than the window's design size: it is cut at the window's edge rather than
    // widening the window.
    panbot->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    fpnPreparo = new TFormatPanel(panbot, QStringLiteral("fpnPreparo"));
    auto* bar = new QVBoxLayout(panbot);
    bar->setContentsMargins(0, 0, 0, 0);
    bar->addWidget(fpnPreparo);
    dbrObsSubGrupo = new DBRichEdit(grbDadosRel, QStringLiteral("dbrObsSubGrupo"), DBRichEdit::Storage::PlainText);
    QFont arial(QStringLiteral("Arial"));
    arial.setPixelSize(13);
    dbrObsSubGrupo->setFont(arial);
    if (MainScreen* main = currentMainScreen()) {
        dbrObsSubGrupo->setDataSource(&main->subGroupSource());
        dbrObsSubGrupo->setDataField(QStringLiteral("TXCOMSUMA"));
    }
    fpnPreparo->setRichEdit(dbrObsSubGrupo);
    column->addWidget(panbot);
    column->addWidget(dbrObsSubGrupo, 1);
    setTabOrder(dbrObsSubGrupo, sbtConfirma);
}

void TfrmObsSubGrupo::sbtConfirmaClick()
{
    MainScreen* main = currentMainScreen();
    if (!main)
        return;
    DataSet& record = main->subGroup();
    if (record.state() != DataSetState::Edit && record.state() != DataSetState::Insert)
        record.edit();
    record.fieldByName(QStringLiteral("TXCOMSUMA")).setAsString(dbrObsSubGrupo->plainContent());
    record.post();
    close();
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

// The sub-group photo on the left of "Foto Sub-Grupo": the bar with the picture button, the delete
// button and the fit box, the picture in its scrolling area, the photo dataset, the picture file
// dialog; attaching, removing and sending the photo; and the automatic display that walks the
// sub-groups on its timer.
#include <QAction>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QScopeGuard>
#include <QScrollArea>
#include <QSplitter>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

#include "Cli_qmv00500/autodisplay.h"
#include "Cli_qmv00500/photofile.h"
#include "Cli_qmv00500/tfrmfotomontmanual.h"
#include "host/abort.h"
#include "host/guard.h"
#include "host/menserro.h"
#include "host/tbtnpesquisa.h"
#include "host/tbuttonflat.h"
#include "host/tcustompagecontrol98.h"
#include "host/tedbimage.h"
#include "host/tmessages.h"
#include "host/ui.h"
#include "platform/dataset.h"
#include "platform/datasource.h"
#include "server/changesetprotocol.h"

namespace qmv {

namespace {

void infoBackground(QWidget* widget)
{
    widget->setAutoFillBackground(true);
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, QColor(255, 255, 225));  // clInfoBk
    palette.setColor(QPalette::Base, QColor(255, 255, 225));
    widget->setPalette(palette);
}

}  // namespace

void TfrmFotoMontManual::buildPhotos()
{
    auto* area = new QWidget;
    area->setObjectName(QStringLiteral("panFotoServ"));
    auto* column = new QVBoxLayout(area);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    auto* bar = new QWidget(area);
    bar->setObjectName(QStringLiteral("panBotFotoServ"));
    bar->setFixedHeight(31);
    auto* buttons = new QHBoxLayout(bar);
    buttons->setContentsMargins(2, 2, 2, 2);
    btpFotoServ = new TBtnPesquisa(bar, QStringLiteral("btpFotoServ"));
    btpFotoServ->setToolTip(QStringLiteral("Pesquisar"));
    sbtDelFotoServ = new TButtonFlat(bar, QStringLiteral("sbtDelFotoServ"), QStringLiteral("Excluir"));
    sbtDelFotoServ->setIcon(style()->standardIcon(QStyle::SP_TrashIcon));
    sbtDelFotoServ->setEnabled(false);
    chbAjustarFtoServ = new QCheckBox(QStringLiteral("Ajustar"), bar);
    chbAjustarFtoServ->setObjectName(QStringLiteral("chbAjustarFtoServ"));
    chbAjustarFtoServ->setChecked(true);
    buttons->addWidget(btpFotoServ);
    buttons->addWidget(sbtDelFotoServ);
    buttons->addWidget(chbAjustarFtoServ);
    buttons->addStretch(1);
    column->addWidget(bar);

    scbFormulario = new QScrollArea(area);
    scbFormulario->setObjectName(QStringLiteral("scbFormulario"));
    scbFormulario->setWidgetResizable(true);
    infoBackground(scbFormulario);
    imgFotoServico = new TEDBImage(scbFormulario, QStringLiteral("imgFotoServico"));
    infoBackground(imgFotoServico);
    scbFormulario->setWidget(imgFotoServico);
    column->addWidget(scbFormulario, 1);
    splFotoServ->insertWidget(0, area);
    // The inner pages keep their width at the right; the photo takes what is left and any growth.
    splFotoServ->setStretchFactor(0, 1);
    splFotoServ->setStretchFactor(1, 0);
    splFotoServ->setSizes({4096, 453});

    cdsFotoSeMa = new DataSet(this);
    cdsFotoSeMa->setObjectName(QStringLiteral("cdsFotoSeMa"));
    cdsFotoSeMa->addField({QStringLiteral("CDPRODUTO"), FieldKind::Text, 10});
    cdsFotoSeMa->addField({QStringLiteral("CDESPEPROD"), FieldKind::Text, 10});
    cdsFotoSeMa->addField({QStringLiteral("FGESPEPROD"), FieldKind::Blob});
    dtsFotoSeMa = new DataSource(this);
    dtsFotoSeMa->setObjectName(QStringLiteral("dtsFotoSeMa"));
    dtsFotoSeMa->setDataSet(cdsFotoSeMa);
    imgFotoServico->setDataSource(dtsFotoSeMa);
    imgFotoServico->setDataField(QStringLiteral("FGESPEPROD"));
    imgFotoServico->setShrinkToFit(true);
    imgFotoServico->setZoomToFit(true);

    opdImagem = {QString(),
                 QStringLiteral("Todos (*.jpg;*.jpeg;*.bmp)|*.jpg;*.jpeg;*.bmp|JPEG Image File (*.jpg)|*.jpg|"
                                "JPEG Image File (*.jpeg)|*.jpeg|Bitmaps (*.bmp)|*.bmp"),
                 1, QString()};

    tmrExibeAuto = new QTimer(this);
    tmrExibeAuto->setObjectName(QStringLiteral("tmrExibeAuto"));
    tmrExibeAuto->setInterval(2000);
    tmrExibeAuto->setProperty("Tag", kAutoDisplayForward);

    msgPadrao->add(QStringLiteral("Imagem_Inv"),
                   QStringLiteral("O arquivo escolhido não é uma imagem válida. Escolha uma foto JPEG ou bitmap."));
    msgPadrao->add(QStringLiteral("Imagem_Leitura"), QStringLiteral("Não foi possível ler o arquivo \"%1\"."));
}

void TfrmFotoMontManual::bindPhotos()
{
    cdsFotoSeMa->afterPost = [this](DataSet& d) { cdsFotoSeMaAfterPost(d); };
    cdsFotoSeMa->afterDelete = [this](DataSet& d) { cdsFotoSeMaAfterDelete(d); };
    // Tied to the button, so the photo dataset closing as the screen is destroyed reaches nothing.
    connect(dtsFotoSeMa, &DataSource::stateChanged, sbtDelFotoServ, guarded([this] { dtsFotoSeMaStateChange(); }));
    connect(btpFotoServ, &QAbstractButton::clicked, this, guarded([this] { btpFotoServClick(); }));
    connect(sbtDelFotoServ, &QAbstractButton::clicked, this, guarded([this] { sbtDelFotoServClick(); }));
    connect(chbAjustarFtoServ, &QCheckBox::toggled, this, guarded([this] { chbAjustarFtoServClick(); }));
    connect(sbtAutoExibe, &QAbstractButton::clicked, this, guarded([this] { sbtAutoExibeClick(); }));
    connect(tmrExibeAuto, &QTimer::timeout, this, guarded([this] { tmrExibeAutoTimer(); }));
}

namespace {

// The file's bytes when it may become the photo; otherwise the reason is shown and the action ends.
QByteArray photoFrom(const QString& path, const TMessages& messages)
{
    PhotoFile photo = readPhotoFile(path);
    switch (photo.fault) {
    case PhotoFileFault::None:
        break;
    case PhotoFileFault::Unreadable:
        MensErro(messages.Msg(QStringLiteral("Imagem_Leitura")).arg(path), true);
        break;
    case PhotoFileFault::TooLarge:
        MensErro(messages.Msg(QStringLiteral("Imagem_Size")), true);
        break;
    case PhotoFileFault::NotAPicture:
        MensErro(messages.Msg(QStringLiteral("Imagem_Inv")), true);
        break;
    }
    return std::move(photo.bytes);
}

}  // namespace

// The file is checked before the photo row goes into edit, so a refused file leaves nothing pending.
void TfrmFotoMontManual::btpFotoServClick()
{
    const QString path = ui().openFileName(opdImagem.title, opdImagem.filter);
    if (path.isEmpty() || pgcPadrao->ActivePage() != tshFotoServ || cdsSubGruSeMa->isEmpty())
        return;
    const QByteArray picture = photoFrom(path, *msgPadrao);
    DataSet& photo = *cdsFotoSeMa;
    photo.edit();
    try {
        photo.fieldByName(QStringLiteral("CDPRODUTO")).setAsString(cdsSubGruSeMa->fieldByName(QStringLiteral("CDSUBGRU")).asString());
        photo.fieldByName(QStringLiteral("CDESPEPROD"))
            .setAsString(cdsSubGruSeMa->fieldByName(QStringLiteral("CDESPEPRODSG")).asString());
        photo.fieldByName(QStringLiteral("FGESPEPROD")).setAsBytes(picture);
    } catch (...) {
        photo.cancel();
        throw;
    }
    photo.post();
}

void TfrmFotoMontManual::sbtDelFotoServClick()
{
    if (msgPadrao->ShowMsg(QStringLiteral("Excl_Foto"), MsgType::Confirmation, mbYes | mbNo, 0) != mrYes)
        return;
    if (!cdsFotoSeMa->isActive() || cdsFotoSeMa->isEmpty())
        return;
    setUpdatesEnabled(false);
    const auto resume = qScopeGuard([this] { setUpdatesEnabled(true); });
    cdsFotoSeMa->remove();
    sbtDelFotoServ->setEnabled(false);
}

void TfrmFotoMontManual::chbAjustarFtoServClick()
{
    imgFotoServico->setShrinkToFit(chbAjustarFtoServ->isChecked());
    imgFotoServico->setZoomToFit(chbAjustarFtoServ->isChecked());
}

// A failed send has put the old photo back without a state change: the delete button follows it.
void TfrmFotoMontManual::cdsFotoSeMaAfterPost(DataSet& sender)
{
    try {
        sendFotoSeMa(*netFotoMantMan, sender, [this] { reloadAfterRefusal(*cdsFotoSeMa); });
    } catch (...) {
        dtsFotoSeMaStateChange();
        throw;
    }
}

void TfrmFotoMontManual::cdsFotoSeMaAfterDelete(DataSet& sender)
{
    cdsFotoSeMaAfterPost(sender);
}

void TfrmFotoMontManual::dtsFotoSeMaStateChange()
{
    const DataSet* photo = dtsFotoSeMa->dataSet();
    const Field* picture = photo && photo->isActive() ? photo->findField(QStringLiteral("FGESPEPROD")) : nullptr;
    sbtDelFotoServ->setEnabled(picture && !picture->isNull());
}

// Releasing the display gives the commands back as the enabling rules decide them for the page
// in view, rather than enabling commands that the page does not offer.
void TfrmFotoMontManual::sbtAutoExibeClick()
{
    const bool running = sbtAutoExibe->isChecked();
    if (running) {
        tmrExibeAuto->start();
        for (QAction* entry : {mnuIncluir, mnuAlterar, mnuExcluir})
            entry->setEnabled(false);
        for (TButtonFlat* button : {sbtIncluir, sbtAlterar, sbtExcluir})
            button->setEnabled(false);
    } else {
        tmrExibeAuto->stop();
        dtsPadraoStateChange();
    }
}

// While a record is pending the current sub-group stays, so the tick waits. The timer rests while
// the page loads, so a message shown on the way never meets a second tick; a failure after a move
// (a page that did not load) releases the display instead of repeating the message every tick.
void TfrmFotoMontManual::tmrExibeAutoTimer()
{
    if (recordPending() || !sbtAutoExibe->isChecked())
        return;
    tmrExibeAuto->stop();
    const int row = cdsSubGruSeMa->isActive() ? cdsSubGruSeMa->recNo() : 0;
    try {
        tmrExibeAuto->setProperty("Tag", autoDisplayStep(*cdsSubGruSeMa, tmrExibeAuto->property("Tag").toInt()));
    } catch (const Abort&) {
        if (cdsSubGruSeMa->isActive() && cdsSubGruSeMa->recNo() != row)
            return stopAutoDisplay();
    } catch (...) {
        stopAutoDisplay();
        throw;
    }
    if (sbtAutoExibe->isChecked())
        tmrExibeAuto->start();
}

void TfrmFotoMontManual::stopAutoDisplay()
{
    sbtAutoExibe->setChecked(false);
    sbtAutoExibeClick();
}

}  // namespace qmv

#include "Cli_qmv00500/photopage.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QScopeGuard>
#include <QScrollArea>
#include <QSplitter>
#include <QStyle>
#include <QVBoxLayout>

#include "Cli_qmv00500/photofile.h"
#include "host/guard.h"
#include "host/menserro.h"
#include "host/tbtnpesquisa.h"
#include "host/tbuttonflat.h"
#include "host/tedbimage.h"
#include "host/tmessages.h"
#include "platform/dataset.h"
#include "platform/datasource.h"
#include "server/catalogue.h"
#include "server/changesetprotocol.h"
#include "server/loadresult.h"

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

PhotoPage::PhotoPage(QSplitter& split, Screen screen, QObject* parent)
    : QObject(parent), screen_(std::move(screen))
{
    auto* area = new QWidget;
    area->setObjectName(QStringLiteral("panFotoServ"));
    auto* column = new QVBoxLayout(area);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(buildBar(*area));
    buildPicture(*area);
    column->addWidget(scbFormulario_, 1);
    split.insertWidget(0, area);
    // The inner pages keep their width at the right; the photo takes what is left and any growth.
    split.setStretchFactor(0, 1);
    split.setStretchFactor(1, 0);
    split.setSizes({4096, 453});
    buildDataSet();
    opdImagem_ = {QString(),
                  QStringLiteral("Todos (*.jpg;*.jpeg;*.bmp)|*.jpg;*.jpeg;*.bmp|JPEG Image File (*.jpg)|*.jpg|"
                                 "JPEG Image File (*.jpeg)|*.jpeg|Bitmaps (*.bmp)|*.bmp"),
                  1, QString()};
    screen_.messages.add(QStringLiteral("Imagem_Inv"),
                         QStringLiteral("O arquivo escolhido não é uma imagem válida. Escolha uma foto JPEG ou bitmap."));
    screen_.messages.add(QStringLiteral("Imagem_Leitura"), QStringLiteral("Não foi possível ler o arquivo \"%1\"."));
    bind();
}

QWidget* PhotoPage::buildBar(QWidget& area)
{
    auto* bar = new QWidget(&area);
    bar->setObjectName(QStringLiteral("panBotFotoServ"));
    bar->setFixedHeight(31);
    auto* buttons = new QHBoxLayout(bar);
    buttons->setContentsMargins(2, 2, 2, 2);
    btpFotoServ_ = new TBtnPesquisa(bar, QStringLiteral("btpFotoServ"));
    btpFotoServ_->setToolTip(QStringLiteral("Pesquisar"));
    sbtDelFotoServ_ = new TButtonFlat(bar, QStringLiteral("sbtDelFotoServ"), QStringLiteral("Excluir"));
    sbtDelFotoServ_->setIcon(area.style()->standardIcon(QStyle::SP_TrashIcon));
    sbtDelFotoServ_->setEnabled(false);
    chbAjustarFtoServ_ = new QCheckBox(QStringLiteral("Ajustar"), bar);
    chbAjustarFtoServ_->setObjectName(QStringLiteral("chbAjustarFtoServ"));
    chbAjustarFtoServ_->setChecked(true);
    buttons->addWidget(btpFotoServ_);
    buttons->addWidget(sbtDelFotoServ_);
    buttons->addWidget(chbAjustarFtoServ_);
    buttons->addStretch(1);
    return bar;
}

void PhotoPage::buildPicture(QWidget& area)
{
    scbFormulario_ = new QScrollArea(&area);
    scbFormulario_->setObjectName(QStringLiteral("scbFormulario"));
    scbFormulario_->setWidgetResizable(true);
    infoBackground(scbFormulario_);
    imgFotoServico_ = new TEDBImage(scbFormulario_, QStringLiteral("imgFotoServico"));
    infoBackground(imgFotoServico_);
    scbFormulario_->setWidget(imgFotoServico_);
}

void PhotoPage::buildDataSet()
{
    cdsFotoSeMa_ = new DataSet(this);
    cdsFotoSeMa_->setObjectName(QStringLiteral("cdsFotoSeMa"));
    cdsFotoSeMa_->addField({QStringLiteral("CDPRODUTO"), FieldKind::Text, 10});
    cdsFotoSeMa_->addField({QStringLiteral("CDESPEPROD"), FieldKind::Text, 10});
    cdsFotoSeMa_->addField({QStringLiteral("FGESPEPROD"), FieldKind::Blob});
    dtsFotoSeMa_ = new DataSource(this);
    dtsFotoSeMa_->setObjectName(QStringLiteral("dtsFotoSeMa"));
    dtsFotoSeMa_->setDataSet(cdsFotoSeMa_);
    imgFotoServico_->setDataSource(dtsFotoSeMa_);
    imgFotoServico_->setDataField(QStringLiteral("FGESPEPROD"));
    imgFotoServico_->setShrinkToFit(true);
    imgFotoServico_->setZoomToFit(true);
}

void PhotoPage::bind()
{
    cdsFotoSeMa_->afterPost = [this](DataSet& d) { cdsFotoSeMaAfterPost(d); };
    cdsFotoSeMa_->afterDelete = [this](DataSet& d) { cdsFotoSeMaAfterDelete(d); };
    // Tied to the button, so the photo dataset closing as the screen is destroyed reaches nothing.
    connect(dtsFotoSeMa_, &DataSource::stateChanged, sbtDelFotoServ_, guarded([this] { dtsFotoSeMaStateChange(); }));
    connect(btpFotoServ_, &QAbstractButton::clicked, this, guarded([this] { btpFotoServClick(); }));
    connect(sbtDelFotoServ_, &QAbstractButton::clicked, this, guarded([this] { sbtDelFotoServClick(); }));
    connect(chbAjustarFtoServ_, &QCheckBox::toggled, this, guarded([this] { chbAjustarFtoServClick(); }));
}

void PhotoPage::load()
{
    const auto field = [&](const char* name) { return screen_.subGroups.fieldByName(QLatin1String(name)).asString(); };
    loadResult(*cdsFotoSeMa_, GetFotoSeMa(screen_.connection, field("CDSUBGRU"), field("CDESPEPRODSG")));
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
void PhotoPage::btpFotoServClick()
{
    const QString path = ui().openFileName(opdImagem_.title, opdImagem_.filter);
    if (path.isEmpty() || !screen_.inView() || screen_.subGroups.isEmpty())
        return;
    const QByteArray picture = photoFrom(path, screen_.messages);
    DataSet& photo = *cdsFotoSeMa_;
    photo.edit();
    try {
        photo.fieldByName(QStringLiteral("CDPRODUTO")).setAsString(screen_.subGroups.fieldByName(QStringLiteral("CDSUBGRU")).asString());
        photo.fieldByName(QStringLiteral("CDESPEPROD"))
            .setAsString(screen_.subGroups.fieldByName(QStringLiteral("CDESPEPRODSG")).asString());
        photo.fieldByName(QStringLiteral("FGESPEPROD")).setAsBytes(picture);
    } catch (...) {
        photo.cancel();
        throw;
    }
    photo.post();
}

void PhotoPage::sbtDelFotoServClick()
{
    if (screen_.messages.ShowMsg(QStringLiteral("Excl_Foto"), MsgType::Confirmation, mbYes | mbNo, 0) != mrYes)
        return;
    if (!cdsFotoSeMa_->isActive() || cdsFotoSeMa_->isEmpty())
        return;
    screen_.window.setUpdatesEnabled(false);
    const auto resume = qScopeGuard([this] { screen_.window.setUpdatesEnabled(true); });
    cdsFotoSeMa_->remove();
    sbtDelFotoServ_->setEnabled(false);
}

void PhotoPage::chbAjustarFtoServClick()
{
    imgFotoServico_->setShrinkToFit(chbAjustarFtoServ_->isChecked());
    imgFotoServico_->setZoomToFit(chbAjustarFtoServ_->isChecked());
}

// A failed send has put the old photo back without a state change: the delete button follows it.
void PhotoPage::cdsFotoSeMaAfterPost(DataSet& sender)
{
    try {
        sendFotoSeMa(screen_.connection, sender, screen_.reloadAfterRefusal);
    } catch (...) {
        dtsFotoSeMaStateChange();
        throw;
    }
}

void PhotoPage::cdsFotoSeMaAfterDelete(DataSet& sender)
{
    cdsFotoSeMaAfterPost(sender);
}

void PhotoPage::dtsFotoSeMaStateChange()
{
    const DataSet* photo = dtsFotoSeMa_->dataSet();
    const Field* picture = photo && photo->isActive() ? photo->findField(QStringLiteral("FGESPEPROD")) : nullptr;
    sbtDelFotoServ_->setEnabled(picture && !picture->isNull());
}

}  // namespace qmv

// The sub-group photo on the left of "Foto Sub-Grupo": the bar with the picture button, the delete
// button and the fit box, the picture in its scrolling area, the photo dataset, the picture file
// dialog and the timer of the automatic display.
#include <QCheckBox>
#include <QHBoxLayout>
#include <QScrollArea>
#include <QSplitter>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

#include "Cli_qmv00500/tfrmfotomontmanual.h"
#include "host/tbtnpesquisa.h"
#include "host/tbuttonflat.h"
#include "host/tedbimage.h"
#include "platform/dataset.h"
#include "platform/datasource.h"

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
    tmrExibeAuto->setProperty("Tag", 0);
}

}  // namespace qmv

#include "host/tfrmdadosgerrel.h"

#include <QDate>
#include <QFile>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPdfWriter>
#include <QStyle>
#include <QTextDocument>
#include <QVBoxLayout>

#include "host/gridlisting.h"
#include "host/menserro.h"
#include "host/tfrmpadraogrid.h"
#include "host/ui.h"

namespace qmv {

TfrmDadosGerRel::TfrmDadosGerRel(QWidget* parent)
    : TfrmDialogBase(parent)
    , grbDadosRel(new QGroupBox(this))
    , panRelat(new QWidget(grbDadosRel))
    , lblRelat(new QLabel(QStringLiteral("Relatório:"), panRelat))
    , lblNmRelat(new QLabel(panRelat))
    , lblCodRel(new QLabel(panMenu))
{
    grbDadosRel->setObjectName(QStringLiteral("grbDadosRel"));
    panRelat->setObjectName(QStringLiteral("panRelat"));
    lblRelat->setObjectName(QStringLiteral("lblRelat"));
    lblNmRelat->setObjectName(QStringLiteral("lblNmRelat"));
    lblCodRel->setObjectName(QStringLiteral("lblCodRel"));
    lblCodRel->setAlignment(Qt::AlignCenter);
    auto* relat = new QHBoxLayout(panRelat);
    relat->addWidget(lblRelat);
    relat->addWidget(lblNmRelat, 1);
    auto* group = new QVBoxLayout(grbDadosRel);
    group->addWidget(panRelat);
    group->addStretch(1);
    setClientArea(grbDadosRel);
    if (auto* column = qobject_cast<QBoxLayout*>(panMenu->layout()))
        column->insertWidget(column->indexOf(lblCodTela), lblCodRel);  // just above the screen code
    sbtImprimir = addBaseButton("sbtImprimir", QStringLiteral("Imprimir"), QStyle::SP_FileDialogListView,
                                [this] { sbtImprimirClick(); });
    sbtFechar = addBaseButton("sbtFechar", QStringLiteral("Fechar"), QStyle::SP_DialogCloseButton,
                              [this] { sbtFecharClick(); });
}

void TfrmDadosGerRel::FormCreate()
{
    TfrmDialogBase::FormCreate();
    lblNmRelat->setText(windowTitle());
}

void TfrmDadosGerRel::FormClose(TCloseAction& action)
{
    TfrmDialogBase::FormClose(action);
}

QString TfrmDadosGerRel::reportHtml() const
{
    auto* source = qobject_cast<TfrmPadraoGrid*>(report_.mainForm.data());
    if (!source) {
        MensErro(QStringLiteral("Não há tela de origem para o relatório."), true);
        return {};
    }
    const QString identification = QStringLiteral("Relatório %1 da tela %2, emitido em %3")
                                       .arg(lblCodRel->text(), source->screenCode(),
                                            QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy")));
    return gridListingHtml(*source->dbgPadrao, windowTitle(), identification);
}

void TfrmDadosGerRel::sbtImprimirClick()
{
    const QString html = reportHtml();
    const QString path = ui().saveFileName(QStringLiteral("Salvar relatório"),
                                           QStringLiteral("Documento PDF (*.pdf)|*.pdf"), QStringLiteral("pdf"));
    if (path.isEmpty())
        return;
    QFile probe(path);
    if (!probe.open(QIODevice::WriteOnly))
        MensErro(QStringLiteral("Não foi possível gravar \"%1\": %2").arg(path, probe.errorString()), true);
    probe.close();
    QPdfWriter writer(path);
    writer.setTitle(windowTitle());
    QTextDocument document;
    document.setHtml(html);
    document.print(&writer);
}

void TfrmDadosGerRel::sbtFecharClick()
{
    close();
}

}  // namespace qmv

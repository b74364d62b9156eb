// The sheet "Instruções de Montagem": the tool strip with import, export and the formatting bar, the
// rich-text editor over the instruction record, the import menu, the two file dialogs, and the
// datasets of the record, the branch parameters and the instructions of other sub-groups.
#include <QHBoxLayout>
#include <QMenu>
#include <QStyle>
#include <QVBoxLayout>

#include "Cli_qmv00500/tfrmfotomontmanual.h"
#include "host/formatpanel.h"
#include "host/tbuttonflat.h"
#include "platform/dataset.h"
#include "platform/datasource.h"
#include "platform/dbrichedit.h"

namespace qmv {

void TfrmFotoMontManual::buildInstructions()
{
    auto* column = new QVBoxLayout(tshInstMont);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    auto* strip = new QWidget(tshInstMont);
    strip->setObjectName(QStringLiteral("panInstMont"));
    strip->setFixedHeight(32);
    auto* row = new QHBoxLayout(strip);
    row->setContentsMargins(2, 2, 2, 2);
    sbtImp = new TButtonFlat(strip, QStringLiteral("sbtImp"), QStringLiteral("Importar"));
    sbtImp->setIcon(style()->standardIcon(QStyle::SP_DialogOpenButton));
    sbtSalva = new TButtonFlat(strip, QStringLiteral("sbtSalva"), QStringLiteral("Salvar"));
    sbtSalva->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    fpnMontagem = new TFormatPanel(strip, QStringLiteral("fpnMontagem"));
    row->addWidget(sbtImp);
    row->addWidget(sbtSalva);
    row->addWidget(fpnMontagem, 1);
    column->addWidget(strip);

    cdsFotoSubMa = new DataSet(this);
    cdsFotoSubMa->setObjectName(QStringLiteral("cdsFotoSubMa"));
    cdsFotoSubMa->addField({QStringLiteral("CDPRODUTO"), FieldKind::Text, 10, {}, false});
    cdsFotoSubMa->addField({QStringLiteral("FGFOTOSUMA"), FieldKind::Blob});
    cdsFotoSubMa->addField({QStringLiteral("CDESPEPROD"), FieldKind::Text, 10});
    cdsFotoSubMa->addField({QStringLiteral("CDTIPODOCU"), FieldKind::Text, 3});
    dtsFotoSubMa = new DataSource(this);
    dtsFotoSubMa->setObjectName(QStringLiteral("dtsFotoSubMa"));
    dtsFotoSubMa->setDataSet(cdsFotoSubMa);

    dbrMontServico = new DBRichEdit(tshInstMont, QStringLiteral("dbrMontServico"));
    dbrMontServico->setFrameShape(QFrame::NoFrame);
    QPalette palette = dbrMontServico->palette();
    palette.setColor(QPalette::Base, QColor(255, 255, 225));  // clInfoBk
    dbrMontServico->setPalette(palette);
    dbrMontServico->setDataSource(dtsFotoSubMa);
    dbrMontServico->setDataField(QStringLiteral("FGFOTOSUMA"));
    fpnMontagem->setRichEdit(dbrMontServico);
    column->addWidget(dbrMontServico, 1);

    pmnImporta = new QMenu(this);
    pmnImporta->setObjectName(QStringLiteral("pmnImporta"));
    mnuImpArquivo = pmnImporta->addAction(QStringLiteral("&Importar de Arquivo..."));
    mnuImpArquivo->setObjectName(QStringLiteral("mnuImpArquivo"));
    mnuImpInst = pmnImporta->addAction(QStringLiteral("&De Outro Sub-grupo..."));
    mnuImpInst->setObjectName(QStringLiteral("mnuImpInst"));

    odgMontServico = {QStringLiteral("Abrir o Arquivo"),
                      QStringLiteral("Todos os Arquivos(*.*)|*.*|Arquivos Rich Text (*.rtf)|*.rtf|"
                                     "Arquivos de Texto(*.txt)|*.txt"),
                      2, QStringLiteral(".rtf")};
    sdgMontServico = {QStringLiteral("Salvar para o Arquivo"),
                      QStringLiteral("Todos os Arquivos(*.*)|*.*|Arquivos Rich Text(*.rtf)|*.rtf|"
                                     "Arquivos de Texto(*.txt)|*.txt"),
                      2, QStringLiteral(".rtf")};

    cdsParametros = new DataSet(this);
    cdsParametros->setObjectName(QStringLiteral("cdsParametros"));
    cdsParametros->addField({QStringLiteral("CDTIPODOCU"), FieldKind::Text, 3});

    cdsImpInsMont = new DataSet(this);
    cdsImpInsMont->setObjectName(QStringLiteral("cdsImpInsMont"));
    cdsImpInsMont->addField({QStringLiteral("CDCIA"), FieldKind::Text, 4, {}, false});
    cdsImpInsMont->addField({QStringLiteral("SGCIA"), FieldKind::Text, 5, QStringLiteral("Cia.")});
    cdsImpInsMont->addField({QStringLiteral("CDMANCIA"), FieldKind::Text, 4, QStringLiteral("Manual")});
    cdsImpInsMont->addField({QStringLiteral("CDSERVICO"), FieldKind::Text, 10, QStringLiteral("Código")});
    cdsImpInsMont->addField({QStringLiteral("DSSERVICO"), FieldKind::Text, 50, QStringLiteral("Descrição")});
    cdsImpInsMont->addField({QStringLiteral("CDSUBGRU"), FieldKind::Text, 10, QStringLiteral("Código")});
    cdsImpInsMont->addField({QStringLiteral("DSSUBGRU"), FieldKind::Text, 200, QStringLiteral("Descrição")});
    cdsImpInsMont->addField({QStringLiteral("FGFOTOSUMA"), FieldKind::Blob, 0, {}, false});
    dtsImpInsMont = new DataSource(this);
    dtsImpInsMont->setObjectName(QStringLiteral("dtsImpInsMont"));
    dtsImpInsMont->setDataSet(cdsImpInsMont);
}

}  // namespace qmv

// The sheet "Instruções de Montagem": the tool strip with import, export and the formatting bar, the
// rich-text editor over the instruction record, the import menu, the two file dialogs, and the
// datasets of the record, the branch parameters and the instructions of other sub-groups; import
// from a file or another sub-group, export to a file, and the record's post: filled when new,
// deleted on the server when blank, sent at once.
#include <QFile>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMenu>
#include <QSaveFile>
#include <QStyle>
#include <QVBoxLayout>

#include "Cli_qmv00500/instructionrules.h"
#include "Cli_qmv00500/tfrmfotomontmanual.h"
#include "host/busyindicator.h"
#include "host/childhost.h"
#include "host/formatpanel.h"
#include "host/guard.h"
#include "host/menserro.h"
#include "host/pesquisa.h"
#include "host/tbuttonflat.h"
#include "host/tmessages.h"
#include "platform/dataset.h"
#include "platform/datasource.h"
#include "platform/dbrichedit.h"
#include "platform/rtfreader.h"
#include "server/catalogue.h"
#include "server/changesetprotocol.h"
#include "server/loadresult.h"

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
    row->setSpacing(1);  // the bar shares the sheet's width with the photo: its boxes need the room
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
                      2, QStringLiteral(".rtf"),
                      FileOption::HideReadOnly | FileOption::ShowHelp | FileOption::PathMustExist
                          | FileOption::FileMustExist};
    sdgMontServico = {QStringLiteral("Salvar para o Arquivo"),
                      QStringLiteral("Todos os Arquivos(*.*)|*.*|Arquivos Rich Text(*.rtf)|*.rtf|"
                                     "Arquivos de Texto(*.txt)|*.txt"),
                      2, QStringLiteral(".rtf"), FileOption::OverwritePrompt | FileOption::HideReadOnly};

    cdsParametros = new DataSet(this);
    cdsParametros->setObjectName(QStringLiteral("cdsParametros"));
    cdsParametros->addField({QStringLiteral("CDTIPODOCU"), FieldKind::Text, 3});

    cdsImpInsMont = new DataSet(this);
    cdsImpInsMont->setObjectName(QStringLiteral("cdsImpInsMont"));
    cdsImpInsMont->addField({QStringLiteral("CDCIA"), FieldKind::Text, 4, {}, false});
    cdsImpInsMont->addField({QStringLiteral("SGCIA"), FieldKind::Text, 5, QStringLiteral("Cia.")});
    // Rows alike in everything else come from different branches: the list shows which.
    cdsImpInsMont->addField({QStringLiteral("CDFILIAL"), FieldKind::Text, 4, QStringLiteral("Filial")});
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

void TfrmFotoMontManual::bindInstructions()
{
    cdsFotoSubMa->beforePost = [this](DataSet& d) { cdsFotoSubMaBeforePost(d); };
    cdsFotoSubMa->afterPost = [this](DataSet& d) { cdsFotoSubMaAfterPost(d); };
    connect(sbtImp, &QAbstractButton::clicked, this, [this] { guard([this] { sbtImpClick(); }); });
    connect(sbtSalva, &QAbstractButton::clicked, this, [this] { guard([this] { sbtSalvaClick(); }); });
    connect(mnuImpArquivo, &QAction::triggered, this, [this] { guard([this] { mnuImpArquivoClick(); }); });
    connect(mnuImpInst, &QAction::triggered, this, [this] { guard([this] { mnuImpInstClick(); }); });
}

// The record stays in edit whatever the person then picks, also when the menu is dismissed.
void TfrmFotoMontManual::sbtImpClick()
{
    dtsFotoSubMa->dataSet()->edit();
    pmnImporta->popup(mapToGlobal(QPoint(310, 200)));
}

void TfrmFotoMontManual::mnuImpArquivoClick()
{
    const QString path = ui().openFile(odgMontServico);
    if (path.isEmpty())
        return;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        MensErro(QStringLiteral("Não foi possível ler o arquivo %1: %2").arg(path, file.errorString()), true);
    const QByteArray content = file.readAll();
    try {
        dbrMontServico->loadContent(content);
    } catch (const RtfError& e) {
        MensErro(QStringLiteral("O arquivo %1 não pôde ser lido como texto formatado: %2")
                     .arg(path, QString::fromStdString(e.what())),
                 true);
    }
}

// Rich text whatever extension or filter was chosen.
void TfrmFotoMontManual::sbtSalvaClick()
{
    const QString path = ui().saveFile(sdgMontServico);
    if (path.isEmpty())
        return;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(dbrMontServico->toRtf()) < 0 || !file.commit())
        MensErro(QStringLiteral("Não foi possível gravar o arquivo %1: %2").arg(path, file.errorString()), true);
}

void TfrmFotoMontManual::mnuImpInstClick()
{
    const QString subGroup = cdsSubGruSeMa->fieldByName(QStringLiteral("CDSUBGRU")).asString();
    loadResult(*cdsImpInsMont, GetImpInsMont(*netFotoMantMan, stCdCia(), stCdManCia(),
                                             stCdServico() + stCdClasse() + stCdCiclo(), subGroup));
    if (cdsImpInsMont->isEmpty())
        MensErro(msgPadrao->Msg(QStringLiteral("Mont_Vaz")), true);
    if (!Pesquisar(*dtsImpInsMont, msgPadrao->Msg(QStringLiteral("Serv")), false, true))
        return;
    if (cdsFotoSubMa->state() == DataSetState::Browse)
        cdsFotoSubMa->edit();
    cdsFotoSubMa->fieldByName(QStringLiteral("FGFOTOSUMA"))
        .setAsBytes(cdsImpInsMont->fieldByName(QStringLiteral("FGFOTOSUMA")).asBytes());
}

// Only a new record is filled; later edits keep what its first post gave it.
void TfrmFotoMontManual::cdsFotoSubMaBeforePost(DataSet& sender)
{
    if (sender.state() != DataSetState::Insert)
        return;
    sender.fieldByName(QStringLiteral("CDESPEPROD"))
        .setAsString(cdsSubGruSeMa->fieldByName(QStringLiteral("CDESPEPRODSG")).asString());
    sender.fieldByName(QStringLiteral("CDPRODUTO"))
        .setAsString(cdsSubGruSeMa->fieldByName(QStringLiteral("CDSUBGRU")).asString());
    loadResult(*cdsParametros, GetParametros(*netFotoMantMan, medFilial->text()));
    sender.fieldByName(QStringLiteral("CDTIPODOCU"))
        .setAsString(cdsParametros->fieldByName(QStringLiteral("CDTIPODOCU")).asString());
}

// A blank text deletes the record on the server; when the server refuses, the editor goes back to
// the text it holds.
void TfrmFotoMontManual::cdsFotoSubMaAfterPost(DataSet& sender)
{
    if (blankInstructions(sender.fieldByName(QStringLiteral("FGFOTOSUMA")).asBytes()))
        dropBlankInstructions(sender);
    try {
        sendFotoSubMa(*netFotoMantMan, sender, hostMainWindow(), [this] { reloadAfterRefusal(*cdsFotoSubMa); });
        dtsPadraoStateChange();
    } catch (...) {
        DeactiveShowAvi();
        if (sender.state() == DataSetState::Browse)  // a send without a verdict keeps the text in edit
            sender.cancelUpdates();
        throw;
    }
}

}  // namespace qmv

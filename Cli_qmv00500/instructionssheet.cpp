#include "Cli_qmv00500/instructionssheet.h"

#include <QFile>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMenu>
#include <QSaveFile>
#include <QStyle>
#include <QVBoxLayout>

#include "Cli_qmv00500/instructionrules.h"
#include "host/busyindicator.h"
#include "host/childhost.h"
#include "host/formatpanel.h"
#include "host/guard.h"
#include "host/menserro.h"
#include "host/pesquisa.h"
#include "host/tbuttonflat.h"
#include "host/tmessages.h"
#include "lookup/selectionpanel.h"
#include "platform/dataset.h"
#include "platform/datasource.h"
#include "platform/dbrichedit.h"
#include "platform/rtfreader.h"
#include "server/catalogue.h"
#include "server/changesetprotocol.h"
#include "server/loadresult.h"

namespace qmv {

InstructionsSheet::InstructionsSheet(QWidget& sheet, Screen screen, QObject* parent)
    : QObject(parent), screen_(std::move(screen))
{
    auto* column = new QVBoxLayout(&sheet);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    buildStrip(sheet);
    buildEditor(sheet);
    buildImport();
    bind();
}

void InstructionsSheet::buildStrip(QWidget& sheet)
{
    auto* strip = new QWidget(&sheet);
    strip->setObjectName(QStringLiteral("panInstMont"));
    strip->setFixedHeight(32);
    auto* row = new QHBoxLayout(strip);
    row->setContentsMargins(2, 2, 2, 2);
    row->setSpacing(1);  // the bar shares the sheet's width with the photo: its boxes need the room
    sbtImp_ = new TButtonFlat(strip, QStringLiteral("sbtImp"), QStringLiteral("Importar"));
    sbtImp_->setIcon(sheet.style()->standardIcon(QStyle::SP_DialogOpenButton));
    sbtSalva_ = new TButtonFlat(strip, QStringLiteral("sbtSalva"), QStringLiteral("Salvar"));
    sbtSalva_->setIcon(sheet.style()->standardIcon(QStyle::SP_DialogSaveButton));
    fpnMontagem_ = new TFormatPanel(strip, QStringLiteral("fpnMontagem"));
    row->addWidget(sbtImp_);
    row->addWidget(sbtSalva_);
    row->addWidget(fpnMontagem_, 1);
    sheet.layout()->addWidget(strip);
}

void InstructionsSheet::buildEditor(QWidget& sheet)
{

    cdsFotoSubMa_ = new DataSet(this);
    cdsFotoSubMa_->setObjectName(QStringLiteral("cdsFotoSubMa"));
    cdsFotoSubMa_->addField({QStringLiteral("CDPRODUTO"), FieldKind::Text, 10, {}, false});
    cdsFotoSubMa_->addField({QStringLiteral("FGFOTOSUMA"), FieldKind::Blob});
    cdsFotoSubMa_->addField({QStringLiteral("CDESPEPROD"), FieldKind::Text, 10});
    cdsFotoSubMa_->addField({QStringLiteral("CDTIPODOCU"), FieldKind::Text, 3});
    dtsFotoSubMa_ = new DataSource(this);
    dtsFotoSubMa_->setObjectName(QStringLiteral("dtsFotoSubMa"));
    dtsFotoSubMa_->setDataSet(cdsFotoSubMa_);

    dbrMontServico_ = new DBRichEdit(&sheet, QStringLiteral("dbrMontServico"));
    dbrMontServico_->setFrameShape(QFrame::NoFrame);
    QPalette palette = dbrMontServico_->palette();
    palette.setColor(QPalette::Base, QColor(255, 255, 225));  // clInfoBk
    dbrMontServico_->setPalette(palette);
    dbrMontServico_->setDataSource(dtsFotoSubMa_);
    dbrMontServico_->setDataField(QStringLiteral("FGFOTOSUMA"));
    fpnMontagem_->setRichEdit(dbrMontServico_);
    static_cast<QBoxLayout*>(sheet.layout())->addWidget(dbrMontServico_, 1);
}

void InstructionsSheet::buildImport()
{
    pmnImporta_ = new QMenu(&screen_.window);
    pmnImporta_->setObjectName(QStringLiteral("pmnImporta"));
    mnuImpArquivo_ = pmnImporta_->addAction(QStringLiteral("&Importar de Arquivo..."));
    mnuImpArquivo_->setObjectName(QStringLiteral("mnuImpArquivo"));
    mnuImpInst_ = pmnImporta_->addAction(QStringLiteral("&De Outro Sub-grupo..."));
    mnuImpInst_->setObjectName(QStringLiteral("mnuImpInst"));

    odgMontServico_ = {QStringLiteral("Abrir o Arquivo"),
                      QStringLiteral("Todos os Arquivos(*.*)|*.*|Arquivos Rich Text (*.rtf)|*.rtf|"
                                     "Arquivos de Texto(*.txt)|*.txt"),
                      2, QStringLiteral(".rtf"),
                      FileOption::HideReadOnly | FileOption::ShowHelp | FileOption::PathMustExist
                          | FileOption::FileMustExist};
    sdgMontServico_ = {QStringLiteral("Salvar para o Arquivo"),
                      QStringLiteral("Todos os Arquivos(*.*)|*.*|Arquivos Rich Text(*.rtf)|*.rtf|"
                                     "Arquivos de Texto(*.txt)|*.txt"),
                      2, QStringLiteral(".rtf"), FileOption::OverwritePrompt | FileOption::HideReadOnly};

    cdsParametros_ = new DataSet(this);
    cdsParametros_->setObjectName(QStringLiteral("cdsParametros"));
    cdsParametros_->addField({QStringLiteral("CDTIPODOCU"), FieldKind::Text, 3});

    cdsImpInsMont_ = new DataSet(this);
    cdsImpInsMont_->setObjectName(QStringLiteral("cdsImpInsMont"));
    cdsImpInsMont_->addField({QStringLiteral("CDCIA"), FieldKind::Text, 4, {}, false});
    cdsImpInsMont_->addField({QStringLiteral("SGCIA"), FieldKind::Text, 5, QStringLiteral("Cia.")});
    // Rows alike in everything else come from different branches: the list shows which.
    cdsImpInsMont_->addField({QStringLiteral("CDFILIAL"), FieldKind::Text, 4, QStringLiteral("Filial")});
    cdsImpInsMont_->addField({QStringLiteral("CDMANCIA"), FieldKind::Text, 4, QStringLiteral("Manual")});
    cdsImpInsMont_->addField({QStringLiteral("CDSERVICO"), FieldKind::Text, 10, QStringLiteral("Código")});
    cdsImpInsMont_->addField({QStringLiteral("DSSERVICO"), FieldKind::Text, 50, QStringLiteral("Descrição")});
    cdsImpInsMont_->addField({QStringLiteral("CDSUBGRU"), FieldKind::Text, 10, QStringLiteral("Código")});
    cdsImpInsMont_->addField({QStringLiteral("DSSUBGRU"), FieldKind::Text, 200, QStringLiteral("Descrição")});
    cdsImpInsMont_->addField({QStringLiteral("FGFOTOSUMA"), FieldKind::Blob, 0, {}, false});
    dtsImpInsMont_ = new DataSource(this);
    dtsImpInsMont_->setObjectName(QStringLiteral("dtsImpInsMont"));
    dtsImpInsMont_->setDataSet(cdsImpInsMont_);
}

void InstructionsSheet::bind()
{
    cdsFotoSubMa_->beforePost = [this](DataSet& d) { cdsFotoSubMaBeforePost(d); };
    cdsFotoSubMa_->afterPost = [this](DataSet& d) { cdsFotoSubMaAfterPost(d); };
    connect(sbtImp_, &QAbstractButton::clicked, this, [this] { guard([this] { sbtImpClick(); }); });
    connect(sbtSalva_, &QAbstractButton::clicked, this, [this] { guard([this] { sbtSalvaClick(); }); });
    connect(mnuImpArquivo_, &QAction::triggered, this, [this] { guard([this] { mnuImpArquivoClick(); }); });
    connect(mnuImpInst_, &QAction::triggered, this, [this] { guard([this] { mnuImpInstClick(); }); });
}

// The record stays in edit whatever the person then picks, also when the menu is dismissed.
void InstructionsSheet::sbtImpClick()
{
    dtsFotoSubMa_->dataSet()->edit();
    pmnImporta_->popup(screen_.window.mapToGlobal(QPoint(310, 200)));
}

void InstructionsSheet::mnuImpArquivoClick()
{
    const QString path = ui().openFile(odgMontServico_);
    if (path.isEmpty())
        return;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        MensErro(QStringLiteral("Não foi possível ler o arquivo %1: %2").arg(path, file.errorString()), true);
    const QByteArray content = file.readAll();
    try {
        dbrMontServico_->loadContent(content);
    } catch (const RtfError& e) {
        MensErro(QStringLiteral("O arquivo %1 não pôde ser lido como texto formatado: %2")
                     .arg(path, QString::fromStdString(e.what())),
                 true);
    }
}

// Rich text whatever extension or filter was chosen.
void InstructionsSheet::sbtSalvaClick()
{
    const QString path = ui().saveFile(sdgMontServico_);
    if (path.isEmpty())
        return;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(dbrMontServico_->toRtf()) < 0 || !file.commit())
        MensErro(QStringLiteral("Não foi possível gravar o arquivo %1: %2").arg(path, file.errorString()), true);
}

void InstructionsSheet::mnuImpInstClick()
{
    const QString subGroup = screen_.subGroups.fieldByName(QStringLiteral("CDSUBGRU")).asString();
    const SelectionKey& key = screen_.selection.key();
    loadResult(*cdsImpInsMont_, GetImpInsMont(screen_.connection, key.company, key.manual,
                                             key.service + key.classCode + key.cycle, subGroup));
    if (cdsImpInsMont_->isEmpty())
        MensErro(screen_.messages.Msg(QStringLiteral("Mont_Vaz")), true);
    if (!Pesquisar(*dtsImpInsMont_, screen_.messages.Msg(QStringLiteral("Serv")), false, true))
        return;
    if (cdsFotoSubMa_->state() == DataSetState::Browse)
        cdsFotoSubMa_->edit();
    cdsFotoSubMa_->fieldByName(QStringLiteral("FGFOTOSUMA"))
        .setAsBytes(cdsImpInsMont_->fieldByName(QStringLiteral("FGFOTOSUMA")).asBytes());
}

// Only a new record is filled; later edits keep what its first post gave it.
void InstructionsSheet::cdsFotoSubMaBeforePost(DataSet& sender)
{
    if (sender.state() != DataSetState::Insert)
        return;
    sender.fieldByName(QStringLiteral("CDESPEPROD"))
        .setAsString(screen_.subGroups.fieldByName(QStringLiteral("CDESPEPRODSG")).asString());
    sender.fieldByName(QStringLiteral("CDPRODUTO"))
        .setAsString(screen_.subGroups.fieldByName(QStringLiteral("CDSUBGRU")).asString());
    loadResult(*cdsParametros_, GetParametros(screen_.connection, screen_.selection.rows().medFilial->text()));
    sender.fieldByName(QStringLiteral("CDTIPODOCU"))
        .setAsString(cdsParametros_->fieldByName(QStringLiteral("CDTIPODOCU")).asString());
}

// A blank text deletes the record on the server; when the server refuses, the editor goes back to
// the text it holds.
void InstructionsSheet::cdsFotoSubMaAfterPost(DataSet& sender)
{
    if (blankInstructions(sender.fieldByName(QStringLiteral("FGFOTOSUMA")).asBytes()))
        dropBlankInstructions(sender);
    try {
        sendFotoSubMa(screen_.connection, sender, hostMainWindow(), screen_.reloadAfterRefusal);
        screen_.afterSend();
    } catch (...) {
        DeactiveShowAvi();
        if (sender.state() == DataSetState::Browse)  // a send without a verdict keeps the text in edit
            sender.cancelUpdates();
        throw;
    }
}

void InstructionsSheet::load()
{
    const auto field = [&](const char* name) { return screen_.subGroups.fieldByName(QLatin1String(name)).asString(); };
    loadResult(*cdsFotoSubMa_, GetFotoSubMa(screen_.connection, field("CDSUBGRU"), field("CDESPEPRODSG")));
}

void InstructionsSheet::showInEditor()
{
    dbrMontServico_->setDataSource(dtsFotoSubMa_);
}

}  // namespace qmv

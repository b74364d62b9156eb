#include "Cli_qmv00500/tfrmfotomontmanual.h"

#include <QEvent>

#include "Cli_qmv00500/autodisplaycommand.h"
#include "Cli_qmv00500/cli_qmv00500.h"
#include "Cli_qmv00500/datessheet.h"
#include "Cli_qmv00500/equipmentlist.h"
#include "Cli_qmv00500/instructionssheet.h"
#include "Cli_qmv00500/photopage.h"
#include "Cli_qmv00500/productlist.h"
#include "Cli_qmv00500/screencommands.h"
#include "Cli_qmv00500/screenpages.h"
#include "Cli_qmv00500/screensize.h"
#include "Cli_qmv00500/subgroupsheet.h"
#include "host/busyindicator.h"
#include "host/childhost.h"
#include "host/guard.h"
#include "host/hostconfig.h"
#include "host/tmessages.h"
#include "platform/dataset.h"
#include "platform/datasource.h"
#include "server/tnetconnection.h"

namespace qmv {

TfrmFotoMontManual* TfrmFotoMontManual::create(QWidget* parent, std::unique_ptr<Transport> transport)
{
    std::unique_ptr<TfrmFotoMontManual> form(new TfrmFotoMontManual(parent, std::move(transport)));
    form->FormCreate();
    return form.release();
}

TfrmFotoMontManual::TfrmFotoMontManual(QWidget* parent, std::unique_ptr<Transport> transport)
    : TfrmPadraoGrid(parent)
{
    setObjectName(QStringLiteral("frmFotoMontManual"));
    setWindowTitle(QStringLiteral("Foto Montagem do Manual"));
    setScreenCode(QStringLiteral("QMV00500"));
    setHelp(QStringLiteral("Qmvhelp.hlp"), 10000500);
    resize(800, 560);

    netFotoMantMan = new TNetConnection(this, std::move(transport));
    netFotoMantMan->setObjectName(QStringLiteral("netFotoMantMan"));
    netFotoMantMan->setServerName(QStringLiteral("Qmv00500.rdmFotoMontManual"));
    netFotoMantMan->setThrowException(false);
    netFotoMantMan->beforeConnect = [this](TNetConnection& sender) { netFotoMantManBeforeConnect(sender); };

    buildMessages();
    buildSelection();
    buildSubGroupSheet();
    buildPages();
    buildCommands();
    setCurrentMainScreen(this);
}

TfrmFotoMontManual::~TfrmFotoMontManual()
{
    releaseMainScreen(this);
}

void TfrmFotoMontManual::FormCreate()
{
    TfrmPadraoGrid::FormCreate();
    {
        BusyIndicator busy(hostMainWindow(), 0);
        netFotoMantMan->connect();
    }
    pages_->showFirst();
    selectionFormCreate();
}

void TfrmFotoMontManual::buildSubGroupSheet()
{
    subGroups_ = new SubGroupSheet(
        {*dbgPadrao, *dbnPadrao, *dbtNome, *selection_, *netFotoMantMan, *msgPadrao,
         [this] { return pages_->inView() == MainPage::SubGrupo; }, [this] { return commands_->autoDisplay().running(); },
         [this] { return pages_->pendingPage(); },
         [this] { dates_->checkBeforePost(pages_->inView() == MainPage::FotoServ); },
         [this] { dates_->focusRevisionDate(); }, [this] { pgcPadraoChange(); }},
        this);
    dtsPadrao->setDataSet(&subGroups_->records());
}

// The pages, then each part built into its sheet and handed to the pages.
void TfrmFotoMontManual::buildPages()
{
    pages_ = new ScreenPages({*pgcPadrao, *tshPadrao, *dtsPadrao, *mnuOperacao, *selection_}, this);
    const auto reload = [this](auto& part) { return [this, &part] { pages_->reloadAfterRefusal(part->records()); }; };
    photo_ = new PhotoPage(pages_->photoSplit(), {*this, subGroups_->records(), *netFotoMantMan, *msgPadrao,
                                                  [this] { return pages_->inView() == MainPage::FotoServ; },
                                                  reload(photo_)},
                           this);
    instructions_ = new InstructionsSheet(pages_->innerSheet(InnerPage::InstMont),
                                          {*this, subGroups_->records(), *selection_, *netFotoMantMan, *msgPadrao,
                                           reload(instructions_), [this] { dtsPadraoStateChange(); }},
                                          this);
    equipment_ = new EquipmentList(pages_->innerSheet(InnerPage::Equipamento),
                                   {subGroups_->records(), *netFotoMantMan, *msgPadrao, *msgMensagensPadroes,
                                    reload(equipment_)},
                                   this);
    dates_ = new DatesSheet(pages_->innerSheet(InnerPage::DadosAdic),
                            {subGroups_->records(), subGroups_->source(), *selection_, *netFotoMantMan, *msgPadrao,
                             pages_->inner()},
                            this);
    products_ = new ProductList(pages_->sheet(MainPage::ProdRec), {*netFotoMantMan, *msgPadrao, *msgMensagensPadroes,
                                                                   reload(products_)},
                                this);
    pages_->attach({*subGroups_, *photo_, *instructions_, *equipment_, *dates_, *products_});
}

// The screen's commands after the maintenance menu's own entries, and the history entry last.
void TfrmFotoMontManual::buildCommands()
{
    commands_ = new ScreenCommands({*this, *pages_, subGroups_->records(), *dates_, *equipment_,
                                    [this] { TfrmPadraoGrid::sbtIncluirClick(); },
                                    [this] { TfrmPadraoGrid::sbtConfirmarClick(); },
                                    [this](int& key, Qt::KeyboardModifiers shift) { TfrmPadraoGrid::FormKeyDown(key, shift); },
                                    [this] { dtsPadraoStateChange(); }},
                                   this);
    subGroups_->addHistoryEntry(*mnuManutencao, *pmnNavegar, *this);
}

void TfrmFotoMontManual::pgcPadraoChange()
{
    pages_->pgcPadraoChange();
}

void TfrmFotoMontManual::sbtIncluirClick()
{
    commands_->sbtIncluirClick();
}

void TfrmFotoMontManual::sbtConfirmarClick()
{
    commands_->sbtConfirmarClick();
}

void TfrmFotoMontManual::sbtVerificarClick()
{
    commands_->sbtVerificarClick();
}

void TfrmFotoMontManual::sbtProcurarClick()
{
    TfrmPadraoGrid::sbtProcurarClick();
}

void TfrmFotoMontManual::sbtImprimirClick()
{
    commands_->sbtImprimirClick();
}

void TfrmFotoMontManual::FormKeyDown(int& key, Qt::KeyboardModifiers shift)
{
    commands_->FormKeyDown(key, shift);
}

void TfrmFotoMontManual::netFotoMantManBeforeConnect(TNetConnection& sender)
{
    sender.setPort(WebPort());
    sender.setHost(WebURL());
}

void TfrmFotoMontManual::FormClose(TCloseAction& action)
{
    if (!commands_->askToSaveOnClose()) {
        action = caNone;
        return;
    }
    netFotoMantMan->disconnect();
    Cli_qmv00500::boStCriado = false;
    TfrmPadraoGrid::FormClose(action);
}

void TfrmFotoMontManual::FormActivate()
{
    update();
    maximizeOn640x480(*this);
}

bool TfrmFotoMontManual::event(QEvent* event)
{
    const bool handled = TfrmPadraoGrid::event(event);
    if (event->type() == QEvent::WindowActivate)
        guard([this] { FormActivate(); });
    return handled;
}

void TfrmFotoMontManual::buildMessages()
{
    msgPadrao->setMessages({
        QStringLiteral("Excl|Confirma exclusão?"),
        QStringLiteral("Mont_Vaz|Não há nenhum outro sub-grupo com a intrução de montagem cadastrada."),
        QStringLiteral("Serv|Serviço"),
        QStringLiteral("Todos|Todos"),
        QStringLiteral("Todas|Todas"),
        QStringLiteral("Imp_Foto|Se a foto for importada não será possível visualizá-la, pois o sistema não "
                       "está trabalhando com esta extensão. Confirma importação?"),
        QStringLiteral("Subst_Foto|O serviço já possui uma foto. Deseja substituí-la?"),
        QStringLiteral("Subst_FtMont|O serviço já possui uma foto de montagem. Deseja substituí-la?"),
        QStringLiteral("Excl_Foto|Confirma exclusão da foto?"),
        QStringLiteral("Cia_Vaz|Companhia deve ser informada."),
        QStringLiteral("Cia_Inv|Companhia não cadastrada."),
        QStringLiteral("ManCia_Vaz|Manual deve ser informado."),
        QStringLiteral("ManCia_Inv|Manual não cadastrado."),
        QStringLiteral("ServMan_Vaz|Serviço deve ser informado."),
        QStringLiteral("ServMan_Inv|Serviço não cadastrado."),
        QStringLiteral("Ordem_Vaz|A ordem de classificação deve ser informada."),
        QStringLiteral("FILIAL_NULL|Filial deve ser informada."),
        QStringLiteral("FILIAL_INV|Filial não cadastrada."),
        QStringLiteral("Dir_Inv|O diretório \"%s\", para armazenamento da foto, não foi encontrado."),
        QStringLiteral("Altera_Foto|Este sub-grupo já possui foto. Deseja substituí-la"),
        QStringLiteral("Sub_Inv|Sub-grupo não cadastrado para o manual."),
        QStringLiteral("SubGru_Mudar|Confirme ou cancele a alteração em %s antes de mudar de sub-grupo."),
        QStringLiteral("SubGru_Excl|Sub-grupos não podem ser excluídos: a lista vem da definição do serviço."),
        QStringLiteral("Equipamento|Equipamento"),
        QStringLiteral("EQUI_PESQ|Não há equipamento cadastrado."),
        QStringLiteral("EQUI_NULL|Equipamento deve ser informado."),
        QStringLiteral("EQUI_INV|Equipamento não cadastrado."),
        QStringLiteral("EQUI_J_CAD|Equipamento já cadastrado."),
        QStringLiteral("QTEQUI_DEVE|Quantidade deve ser informada."),
        QStringLiteral("DTREVISUMA_NAO_MENOR|Data da revisão não pode ser menor que a data da efetivação."),
        QStringLiteral("Foto_ncad|A foto armazenada não foi encontrada no diretório \"%s\"."),
        QStringLiteral("Imagem_Size|Operação Bloqueada! Tamanho da imagem excedeu 200 kb."),
    });
}

}  // namespace qmv

#include "Cli_qmv00503/tfrmimpfotoman.h"

#include <QGroupBox>
#include <memory>

#include "host/tmessages.h"

#include "Cli_qmv00503/cli_qmv00503.h"

namespace qmv {

TfrmImpFotoMan* TfrmImpFotoMan::create(QWidget* parent)
{
    std::unique_ptr<TfrmImpFotoMan> form(new TfrmImpFotoMan(parent));
    form->FormCreate();
    return form.release();
}

TfrmImpFotoMan::TfrmImpFotoMan(QWidget* parent) : TfrmRotiGeral(parent)
{
    setObjectName(QStringLiteral("frmImpFotoMan"));
    setWindowTitle(QStringLiteral("Importação de Foto Montagem do Manual"));
    setScreenCode(QStringLiteral("QMV00503"));
    setHelp(QStringLiteral("Qmvhelp.hlp"), 10000503);
    resize(512, 312);
    grbDadosRel->setFixedWidth(457);
    msgPadrao->setMessages({
        QStringLiteral("SUBGRUPO|Sub-Grupo"),
        QStringLiteral("NAO_HA_SUB|Não há sub-grupo cadastrado."),
        QStringLiteral("FILIAL_NULL|Filial deve ser informada."),
        QStringLiteral("FILIAL_INV|Filial não cadastrada."),
        QStringLiteral("MANUAL_NULL|Manual deve ser informado."),
        QStringLiteral("MANUAL_INV|Manual não cadastrado."),
        QStringLiteral("SUBGRU_NULL|Sub-grupo deve ser informado."),
        QStringLiteral("SERV_NULL|Serviço deve ser informado."),
        QStringLiteral("SERV_INV|Serviço não cadastrado."),
        QStringLiteral("CONFIRMA|Serão importadas as fotos de todos os sub-grupos semelhantes entre as filiais. "
                       "Caso já exista, a foto será substituída. Confirma a importação?"),
        QStringLiteral("IMP_INV|Não é possivel fazer importação de foto para mesma filial, companhia, manual e serviço."),
    });
}

void TfrmImpFotoMan::FormClose(TCloseAction& action)
{
    TfrmRotiGeral::FormClose(action);
    Cli_qmv00503::boIdCriado = false;
}

}  // namespace qmv

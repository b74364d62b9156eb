#include "Cli_qmv00501/tfrmfiltrofotoman.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <memory>

#include "Cli_qmv00501/cli_qmv00501.h"
#include "host/guard.h"
#include "host/tbuttonflat.h"
#include "platform/dataset.h"
#include "screenlink/mainscreen.h"

namespace qmv {

namespace {

QLabel* boldLabel(const QString& name, const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

QComboBox* choiceList(const QString& name, const QStringList& items, QWidget* parent)
{
    auto* list = new QComboBox(parent);
    list->setObjectName(name);
    list->setEditable(false);
    list->addItems(items);
    list->setFixedWidth(114);
    return list;
}

}  // namespace

TfrmFiltroFotoMan* TfrmFiltroFotoMan::create(QWidget* parent)
{
    std::unique_ptr<TfrmFiltroFotoMan> form(new TfrmFiltroFotoMan(parent));
    form->FormCreate();
    return form.release();
}

TfrmFiltroFotoMan::TfrmFiltroFotoMan(QWidget* parent) : TfrmFiltroPadrao(parent)
{
    setObjectName(QStringLiteral("frmFiltroFotoMan"));
    setWindowTitle(QStringLiteral("Filtro de Foto Montagem do Manual"));
    setScreenCode(QStringLiteral("QMV00501"));
    resize(301, 148);

    grbFiltroPadrao->setFixedSize(246, 148);
    auto* grid = new QGridLayout(grbFiltroPadrao);
    lblFotServ = boldLabel(QStringLiteral("lblFotServ"), QStringLiteral("Foto Serviço"), grbFiltroPadrao);
    cbbIdFFoto = choiceList(QStringLiteral("cbbIdFFoto"),
                            {QStringLiteral("Cadastrada"), QStringLiteral("Não Cadastrada"), QStringLiteral("Todas")},
                            grbFiltroPadrao);
    lblInstMont = boldLabel(QStringLiteral("lblInstMont"), QStringLiteral("Inst. de Montagem"), grbFiltroPadrao);
    cbbIdFMontagem = choiceList(QStringLiteral("cbbIdFMontagem"),
                                {QStringLiteral("Cadastrado"), QStringLiteral("Não Cadastrado"), QStringLiteral("Todos")},
                                grbFiltroPadrao);
    grid->addWidget(lblFotServ, 0, 0);
    grid->addWidget(cbbIdFFoto, 1, 0);
    grid->addWidget(lblInstMont, 2, 0);
    grid->addWidget(cbbIdFMontagem, 3, 0);
    grid->setRowStretch(4, 1);
}

bool TfrmFiltroFotoMan::event(QEvent* event)
{
    const bool handled = TfrmFiltroPadrao::event(event);
    if (event->type() == QEvent::WindowActivate)
        guard([this] { FormActivate(); });
    return handled;
}

// The first activation after the package is loaded starts from "Todas"/"Todos"; the first of every
// later opening from the choices stored when the dialog last closed. Coming back from a message box
// or another window keeps the choices the person made since.
void TfrmFiltroFotoMan::FormActivate()
{
    update();
    if (choicesSet_)
        return;
    choicesSet_ = true;
    if (Cli_qmv00501::boPrimVez) {
        cbbIdFFoto->setCurrentIndex(2);
        cbbIdFMontagem->setCurrentIndex(2);
        Cli_qmv00501::boPrimVez = false;
        return;
    }
    cbbIdFFoto->setCurrentIndex(Cli_qmv00501::Filtro.foto.toInt());
    cbbIdFMontagem->setCurrentIndex(Cli_qmv00501::Filtro.montagem.toInt());
}

void TfrmFiltroFotoMan::sbtConfirmaClick()
{
    MainScreen* main = currentMainScreen();
    if (main && main->subGroup().isActive()) {
        main->reloadSubGroups(QString::number(cbbIdFFoto->currentIndex()),
                              QString::number(cbbIdFMontagem->currentIndex()));
        main->setSubGroupPagesEnabled(!main->subGroup().isEmpty());
    }
    sbtFechar->Click();
}

void TfrmFiltroFotoMan::FormClose(TCloseAction& action)
{
    TfrmFiltroPadrao::FormClose(action);
    Cli_qmv00501::Filtro.foto = QString::number(cbbIdFFoto->currentIndex());
    Cli_qmv00501::Filtro.montagem = QString::number(cbbIdFMontagem->currentIndex());
    Cli_qmv00501::boIDCriado = false;
    choicesSet_ = false;
    action = caHide;
}

}  // namespace qmv

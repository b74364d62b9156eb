// The selection panel: branch, company, manual and service, each a code edit, its lookup button and
// name boxes; the service lookup dataset; and what the creation handler fills in from the host.
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

#include "Cli_qmv00500/tfrmfotomontmanual.h"
#include "host/codestructure.h"
#include "host/hostconfig.h"
#include "host/tbtnpesquisa.h"
#include "platform/dataset.h"
#include "platform/datasource.h"
#include "platform/editmask.h"

namespace qmv {

namespace {

QLineEdit* lineEdit(QWidget* parent, const QString& name, int width)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setFixedWidth(width);
    return edit;
}

QLineEdit* nameBox(QWidget* parent, const QString& name, int width)
{
    QLineEdit* box = lineEdit(parent, name, width);
    box->setReadOnly(true);
    box->setEnabled(false);
    box->setFocusPolicy(Qt::NoFocus);
    return box;
}

QLabel* boldLabel(QWidget* parent, const QString& name, const QString& text)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

TBtnPesquisa* lookupButton(QWidget* parent, const QString& name, const QString& title)
{
    auto* button = new TBtnPesquisa(parent, name);
    button->setTitle(title);
    return button;
}

}  // namespace

void TfrmFotoMontManual::buildSelection()
{
    panFiltro = new QFrame(this);
    panFiltro->setObjectName(QStringLiteral("panFiltro"));
    panFiltro->setFrameShape(QFrame::StyledPanel);
    auto* grid = new QGridLayout(panFiltro);
    grid->setContentsMargins(6, 4, 6, 4);
    grid->setVerticalSpacing(3);

    lblFilial = boldLabel(panFiltro, QStringLiteral("lblFilial"), QStringLiteral("Filial"));
    medFilial = lineEdit(panFiltro, QStringLiteral("medFilial"), 48);
    medFilial->setInputMask(EditMask(QStringLiteral(">aaaa;0; ")).inputMask());
    medFilial->setFocusPolicy(Qt::ClickFocus);
    btnFilial = lookupButton(panFiltro, QStringLiteral("btnFilial"), QStringLiteral("Filial"));
    edtNmFilial = nameBox(panFiltro, QStringLiteral("edtNmFilial"), 300);

    lblCompanhia = boldLabel(panFiltro, QStringLiteral("lblCompanhia"), QStringLiteral("Companhia"));
    medCdCia = lineEdit(panFiltro, QStringLiteral("medCdCia"), 56);
    medCdCia->setMaxLength(5);
    btpCompanhia = lookupButton(panFiltro, QStringLiteral("btpCompanhia"), QStringLiteral("Companhia"));
    edtNmCia = nameBox(panFiltro, QStringLiteral("edtNmCia"), 300);

    lblManual = boldLabel(panFiltro, QStringLiteral("lblManual"), QStringLiteral("Manual"));
    medCdManCia = lineEdit(panFiltro, QStringLiteral("medCdManCia"), 48);
    medCdManCia->setMaxLength(4);
    btpManualCia = lookupButton(panFiltro, QStringLiteral("btpManualCia"), QStringLiteral("Manual"));
    edtDsManCia = nameBox(panFiltro, QStringLiteral("edtDsManCia"), 300);

    lblServico = boldLabel(panFiltro, QStringLiteral("lblServico"), QStringLiteral("Serviço"));
    medCdServico = lineEdit(panFiltro, QStringLiteral("medCdServico"), 100);
    medCdServico->setMaxLength(10);
    btpServManual = lookupButton(panFiltro, QStringLiteral("btpServManual"), QStringLiteral("Serviço"));
    edtDsServico = nameBox(panFiltro, QStringLiteral("edtDsServico"), 300);
    edtClasse = nameBox(panFiltro, QStringLiteral("edtClasse"), 60);
    edtCiclo = nameBox(panFiltro, QStringLiteral("edtCiclo"), 90);

    const QList<std::tuple<QLabel*, QLineEdit*, QWidget*, QLineEdit*>> rows = {
        {lblFilial, medFilial, btnFilial, edtNmFilial},
        {lblCompanhia, medCdCia, btpCompanhia, edtNmCia},
        {lblManual, medCdManCia, btpManualCia, edtDsManCia},
        {lblServico, medCdServico, btpServManual, edtDsServico},
    };
    for (int row = 0; row < rows.size(); ++row) {
        const auto& [label, code, button, name] = rows[row];
        grid->addWidget(label, row, 0);
        grid->addWidget(code, row, 1);
        grid->addWidget(button, row, 2);
        grid->addWidget(name, row, 3);
    }
    auto* classCycle = new QHBoxLayout;
    classCycle->addWidget(new QLabel(QStringLiteral("-"), panFiltro));
    classCycle->addWidget(edtClasse);
    classCycle->addWidget(new QLabel(QStringLiteral("-"), panFiltro));
    classCycle->addWidget(edtCiclo);
    classCycle->addStretch(1);
    grid->addLayout(classCycle, 3, 4);
    grid->setColumnStretch(5, 1);
    setTabOrder(medCdCia, medCdManCia);
    setTabOrder(medCdManCia, medCdServico);
    // The panel sits between the command bar and the pages.
    if (auto* column = qobject_cast<QBoxLayout*>(layout()))
        column->insertWidget(column->indexOf(panMenu) + 1, panFiltro);

    cdsServManual = new DataSet(this);
    cdsServManual->setObjectName(QStringLiteral("cdsServManual"));
    cdsServManual->addField({QStringLiteral("CDSERVICO"), FieldKind::Text, 25, {}, false});
    cdsServManual->addField({QStringLiteral("SERVICO"), FieldKind::Text, 18, QStringLiteral("Código")});
    cdsServManual->addField({QStringLiteral("CDCLASSE"), FieldKind::Text, 4, {}, false});
    cdsServManual->addField({QStringLiteral("CDCICLO"), FieldKind::Text, 4, {}, false});
    cdsServManual->addField({QStringLiteral("DSSERVICO"), FieldKind::Text, 35, QStringLiteral("Nome")});
    cdsServManual->addField({QStringLiteral("SGCLASSE"), FieldKind::Text, 5, QStringLiteral("Classe")});
    cdsServManual->addField({QStringLiteral("IDCICLO"), FieldKind::Text, 10, QStringLiteral("Ciclo")});
    cdsServManual->addField({QStringLiteral("DSSERCLACIC"), FieldKind::Text, 71, {}, false});
    dtsServManual = new DataSource(this);
    dtsServManual->setObjectName(QStringLiteral("dtsServManual"));
    dtsServManual->setDataSet(cdsServManual);
    btpServManual->setDataSource(dtsServManual);
}

// Creation steps that come from the host: the user's branch (code first, then its name), whether
// it may be changed, and the hierarchical code mask on every field and edit that shows such codes.
void TfrmFotoMontManual::selectionFormCreate()
{
    medFilial->setText(FiliProc());
    edtNmFilial->setText(NomeFiliProc());
    const bool branchFree = !ModuFili();
    medFilial->setEnabled(branchFree);
    lblFilial->setEnabled(branchFree);
    btnFilial->setEnabled(branchFree);

    const QString mask = DBPict(0);
    cdsSubGruSeMa->fieldByName(QStringLiteral("CDSUBARV")).setEditMask(mask);
    cdsSubGruSeMa->fieldByName(QStringLiteral("CDSUBARVPRI")).setEditMask(mask);
    cdsSubGruPrin->fieldByName(QStringLiteral("CDSUBARV")).setEditMask(mask);
    cdsEquiSubSeMa->fieldByName(QStringLiteral("CDARVPROD")).setEditMask(mask);
    cdsServManual->fieldByName(QStringLiteral("SERVICO")).setEditMask(mask);
    medCdServico->setInputMask(EditMask(mask).inputMask());
}

}  // namespace qmv

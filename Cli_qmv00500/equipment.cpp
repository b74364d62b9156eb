// The sheet "Equipamentos": the equipment dataset of the current sub-group and its grid.
#include <QVBoxLayout>

#include "Cli_qmv00500/tfrmfotomontmanual.h"
#include "platform/dataset.h"
#include "platform/datasource.h"
#include "platform/dbgrid.h"

namespace qmv {

void TfrmFotoMontManual::buildEquipment()
{
    cdsEquiSubSeMa = new DataSet(this);
    cdsEquiSubSeMa->setObjectName(QStringLiteral("cdsEquiSubSeMa"));
    cdsEquiSubSeMa->addField({QStringLiteral("CDFILIAL"), FieldKind::Text, 4, {}, false});
    cdsEquiSubSeMa->addField({QStringLiteral("CDCIA"), FieldKind::Text, 4, {}, false});
    cdsEquiSubSeMa->addField({QStringLiteral("NMPRODUTO"), FieldKind::Text, 50, QStringLiteral("Nome")});
    cdsEquiSubSeMa->addField({QStringLiteral("NMCLASSIFICACAO"), FieldKind::Text, 50, QStringLiteral("Classificação")});
    cdsEquiSubSeMa->addField({QStringLiteral("QTEQUISUMA"), FieldKind::Float, 0, QStringLiteral("Quantidade")});
    cdsEquiSubSeMa->addField({QStringLiteral("CDARVPROD"), FieldKind::Text, 20, QStringLiteral("Código")});
    cdsEquiSubSeMa->addField({QStringLiteral("CDPRODUTO"), FieldKind::Text, 10, QStringLiteral("Código"), false});
    cdsEquiSubSeMa->addField({QStringLiteral("SGUNIDADE"), FieldKind::Text, 10, QStringLiteral("UN")});
    cdsEquiSubSeMa->addField({QStringLiteral("CDESPEPROD"), FieldKind::Text, 10});
    cdsEquiSubSeMa->addField({QStringLiteral("CDPRODEQUIP"), FieldKind::Text, 10});
    dtsEquiSubSeMa = new DataSource(this);
    dtsEquiSubSeMa->setObjectName(QStringLiteral("dtsEquiSubSeMa"));
    dtsEquiSubSeMa->setDataSet(cdsEquiSubSeMa);

    dbgEquiSubSeMa = new DBGrid(tshEquipamento, QStringLiteral("dbgEquiSubSeMa"));
    dbgEquiSubSeMa->setFrameShape(QFrame::NoFrame);
    QPalette palette = dbgEquiSubSeMa->palette();
    palette.setColor(QPalette::Base, QColor(255, 255, 225));  // clInfoBk
    dbgEquiSubSeMa->setPalette(palette);
    dbgEquiSubSeMa->setDataSource(dtsEquiSubSeMa);
    dbgEquiSubSeMa->setColumns({
        {QStringLiteral("NMPRODUTO"), 230, true},
        {QStringLiteral("NMCLASSIFICACAO"), -1, true},
        {QStringLiteral("CDARVPROD"), -1, true},
        {QStringLiteral("QTEQUISUMA"), -1, false},
        {QStringLiteral("SGUNIDADE"), -1, true},
    });
    auto* layout = new QVBoxLayout(tshEquipamento);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(dbgEquiSubSeMa);
}

}  // namespace qmv

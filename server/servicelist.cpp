#include "server/servicelist.h"

#include "platform/dataset.h"

namespace qmv {

DataSet* makeServiceList(QObject* owner)
{
    auto* list = new DataSet(owner);
    list->setObjectName(QStringLiteral("cdsServManual"));
    list->addField({QStringLiteral("CDSERVICO"), FieldKind::Text, 25, {}, false});
    list->addField({QStringLiteral("SERVICO"), FieldKind::Text, 18, QStringLiteral("Código")});
    list->addField({QStringLiteral("CDCLASSE"), FieldKind::Text, 4, {}, false});
    list->addField({QStringLiteral("CDCICLO"), FieldKind::Text, 4, {}, false});
    list->addField({QStringLiteral("DSSERVICO"), FieldKind::Text, 35, QStringLiteral("Nome")});
    list->addField({QStringLiteral("SGCLASSE"), FieldKind::Text, 5, QStringLiteral("Classe")});
    list->addField({QStringLiteral("IDCICLO"), FieldKind::Text, 10, QStringLiteral("Ciclo")});
    list->addField({QStringLiteral("DSSERCLACIC"), FieldKind::Text, 71, {}, false});
    return list;
}

}  // namespace qmv

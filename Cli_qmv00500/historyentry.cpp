#include "Cli_qmv00500/historyentry.h"

#include <QAction>
#include <QMenu>

#include "Cli_qmv00507/cli_qmv00507.h"
#include "host/guard.h"
#include "host/tfrmpadraogrid.h"

namespace qmv {

void addHistoryEntry(TfrmPadraoGrid& form)
{
    auto* action = new QAction(QStringLiteral("&Histórico..."), &form);
    action->setObjectName(QStringLiteral("mnuHistorico"));
    action->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_H));
    form.mnuManutencao->addAction(action);
    form.pmnNavegar->addSeparator();
    form.pmnNavegar->addAction(action);
    form.addAction(action);
    QObject::connect(action, &QAction::triggered, &form, [] { guard([] { Cli_qmv00507::CriaHistSubGrupo(); }); });
}

}  // namespace qmv

#include "Cli_qmv00500/sheetgrid.h"

#include <QVBoxLayout>

#include "host/tmessages.h"
#include "platform/dbgrid.h"

namespace qmv {

DBGrid* sheetGrid(QWidget& sheet, const QString& name, DataSource& source, const TMessages& standardMessages)
{
    auto* grid = new DBGrid(&sheet, name);
    grid->setFrameShape(QFrame::NoFrame);
    QPalette palette = grid->palette();
    palette.setColor(QPalette::Base, QColor(255, 255, 225));  // clInfoBk
    grid->setPalette(palette);
    grid->setDataSource(&source);
    grid->confirmDelete = [&standardMessages](DBGrid&) {
        return standardMessages.ShowMsg(QStringLiteral("Excl"), MsgType::Confirmation, mbYes | mbNo) == mrYes;
    };
    auto* layout = new QVBoxLayout(&sheet);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(grid);
    return grid;
}

}  // namespace qmv

// The automatic display as the screen runs it: its button in the command bar, its timer walking the
// sub-groups, and the commands it holds while it runs.
#include <QAction>
#include <QTimer>

#include "Cli_qmv00500/autodisplay.h"
#include "Cli_qmv00500/subgroupsheet.h"
#include "Cli_qmv00500/tfrmfotomontmanual.h"
#include "host/abort.h"
#include "host/guard.h"
#include "host/tbuttonflat.h"
#include "platform/dataset.h"

namespace qmv {

void TfrmFotoMontManual::buildAutoDisplay()
{
    tmrExibeAuto = new QTimer(this);
    tmrExibeAuto->setObjectName(QStringLiteral("tmrExibeAuto"));
    tmrExibeAuto->setInterval(2000);
    tmrExibeAuto->setProperty("Tag", kAutoDisplayForward);
    connect(sbtAutoExibe, &QAbstractButton::clicked, this, guarded([this] { sbtAutoExibeClick(); }));
    connect(tmrExibeAuto, &QTimer::timeout, this, guarded([this] { tmrExibeAutoTimer(); }));
}

// The enabling rules hold include, edit and delete while the display runs; releasing it gives them
// back as the rules decide them for the page in view, rather than enabling what the page does not offer.
void TfrmFotoMontManual::sbtAutoExibeClick()
{
    if (sbtAutoExibe->isChecked())
        tmrExibeAuto->start();
    else
        tmrExibeAuto->stop();
    dtsPadraoStateChange();
}

// While a record is pending the current sub-group stays, so the tick waits. The timer rests while
// the page loads, so a message shown on the way never meets a second tick; a failure after a move
// (a page that did not load) releases the display instead of repeating the message every tick.
void TfrmFotoMontManual::tmrExibeAutoTimer()
{
    if (recordPending() || !sbtAutoExibe->isChecked())
        return;
    tmrExibeAuto->stop();
    DataSet& subGroups = subGroups_->records();
    const int row = subGroups.isActive() ? subGroups.recNo() : 0;
    try {
        tmrExibeAuto->setProperty("Tag", autoDisplayStep(subGroups, tmrExibeAuto->property("Tag").toInt()));
    } catch (const Abort&) {
        if (subGroups.isActive() && subGroups.recNo() != row)
            return stopAutoDisplay();
    } catch (...) {
        stopAutoDisplay();
        throw;
    }
    if (sbtAutoExibe->isChecked())
        tmrExibeAuto->start();
}

void TfrmFotoMontManual::stopAutoDisplay()
{
    sbtAutoExibe->setChecked(false);
    sbtAutoExibeClick();
}

}  // namespace qmv

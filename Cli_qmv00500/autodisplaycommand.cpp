#include "Cli_qmv00500/autodisplaycommand.h"

#include <QTimer>

#include "Cli_qmv00500/autodisplay.h"
#include "host/abort.h"
#include "host/guard.h"
#include "host/tbuttonflat.h"
#include "platform/dataset.h"

namespace qmv {

AutoDisplayCommand::AutoDisplayCommand(const Screen& screen, QObject* parent) : QObject(parent), screen_(screen)
{
    tmrExibeAuto_ = new QTimer(this);
    tmrExibeAuto_->setObjectName(QStringLiteral("tmrExibeAuto"));
    tmrExibeAuto_->setInterval(2000);
    tmrExibeAuto_->setProperty("Tag", kAutoDisplayForward);
    connect(&screen_.button, &QAbstractButton::clicked, this, guarded([this] { sbtAutoExibeClick(); }));
    connect(tmrExibeAuto_, &QTimer::timeout, this, guarded([this] { tmrExibeAutoTimer(); }));
}

bool AutoDisplayCommand::running() const
{
    return screen_.button.isChecked();
}

// The enabling rules hold include, edit and delete while the display runs; releasing it gives them
// back as the rules decide them for the page in view, rather than enabling what the page does not offer.
void AutoDisplayCommand::sbtAutoExibeClick()
{
    if (running())
        tmrExibeAuto_->start();
    else
        tmrExibeAuto_->stop();
    screen_.decideCommands();
}

// While a record is pending the current sub-group stays, so the tick waits. The timer rests while
// the page loads, so a message shown on the way never meets a second tick; a failure after a move
// (a page that did not load) releases the display instead of repeating the message every tick.
void AutoDisplayCommand::tmrExibeAutoTimer()
{
    if (screen_.recordPending() || !running())
        return;
    tmrExibeAuto_->stop();
    DataSet& subGroups = screen_.subGroups;
    const int row = subGroups.isActive() ? subGroups.recNo() : 0;
    try {
        tmrExibeAuto_->setProperty("Tag", autoDisplayStep(subGroups, tmrExibeAuto_->property("Tag").toInt()));
    } catch (const Abort&) {
        if (subGroups.isActive() && subGroups.recNo() != row)
            return stop();
    } catch (...) {
        stop();
        throw;
    }
    if (running())
        tmrExibeAuto_->start();
}

void AutoDisplayCommand::stop()
{
    screen_.button.setChecked(false);
    sbtAutoExibeClick();
}

}  // namespace qmv

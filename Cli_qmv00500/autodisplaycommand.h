#pragma once
// AutoDisplayCommand: the automatic display as the screen runs it: the toggle button sbtAutoExibe
// (placed in the command bar by the screen's commands) starts and stops its timer tmrExibeAuto,
// whose ticks walk the sub-groups one row at a time. While it runs the enabling rules hold the
// record commands. UI thread only.
#include <QObject>
#include <functional>

class QTimer;

namespace qmv {

class DataSet;
class TButtonFlat;

class AutoDisplayCommand : public QObject {
    Q_OBJECT
public:
    struct Screen {
        TButtonFlat& button;  // sbtAutoExibe
        DataSet& subGroups;
        std::function<bool()> recordPending;
        std::function<void()> decideCommands;  // the enabling rules, run again
    };
    AutoDisplayCommand(const Screen& screen, QObject* parent);

    bool running() const;

    void sbtAutoExibeClick();
    void tmrExibeAutoTimer();

private:
    void stop();

    Screen screen_;
    QTimer* tmrExibeAuto_ = nullptr;
};

}  // namespace qmv

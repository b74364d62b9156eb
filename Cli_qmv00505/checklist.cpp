#include "Cli_qmv00505/checklist.h"

#include "platform/dataset.h"

namespace qmv {

namespace {

const QString kCheck = QStringLiteral("IDCHECK");
const QString kTicked = QStringLiteral("S");
const QString kUnticked = QStringLiteral("N");

void setCheck(DataSet& list, const QString& value)
{
    list.edit();
    list.fieldByName(kCheck).setAsString(value);
    list.post();
}

// Resumes the controls on every way out, after going back to the first row.
class SuspendedControls {
public:
    explicit SuspendedControls(DataSet& list) : list_(list) { list_.disableControls(); }
    ~SuspendedControls()
    {
        try {
            list_.first();
        } catch (...) {
        }
        list_.enableControls();
    }
    SuspendedControls(const SuspendedControls&) = delete;
    SuspendedControls& operator=(const SuspendedControls&) = delete;

private:
    DataSet& list_;
};

}  // namespace

void toggleCheck(DataSet& list)
{
    if (list.isEmpty())
        return;
    const QString value = list.fieldByName(kCheck).asString();
    if (value == kUnticked)
        setCheck(list, kTicked);
    else if (value == kTicked)
        setCheck(list, kUnticked);
}

void markAll(DataSet& list)
{
    SuspendedControls suspended(list);
    if (list.isEmpty())
        return;
    const QString value = list.fieldByName(kCheck).asString() == kTicked ? kUnticked : kTicked;
    list.first();
    while (!list.eof()) {
        setCheck(list, value);
        list.next();
    }
}

}  // namespace qmv

#include "Cli_qmv00500/autodisplay.h"

#include "platform/dataset.h"

namespace qmv {

int autoDisplayStep(DataSet& list, int direction)
{
    if (direction == kAutoDisplayForward) {
        if (list.eof())
            return kAutoDisplayBackward;
        list.next();
    } else if (direction == kAutoDisplayBackward) {
        if (list.bof())
            return kAutoDisplayForward;
        list.prior();
    }
    return direction;
}

}  // namespace qmv

#include "host/menserro.h"

#include "host/abort.h"
#include "host/ui.h"

namespace qmv {

void MensErro(const QString& text, bool abort)
{
    ui().showError(text);
    if (abort)
        throw Abort();
}

void Abortar()
{
    throw Abort();
}

}  // namespace qmv

#include "host/ui.h"

#include <stdexcept>

namespace qmv {

namespace {
Ui* installed = nullptr;
}

Ui& ui()
{
    if (!installed)
        throw std::logic_error("no user interface installed (qmv::setUi)");
    return *installed;
}

void setUi(Ui* implementation)
{
    installed = implementation;
}

bool hasUi()
{
    return installed != nullptr;
}

}  // namespace qmv

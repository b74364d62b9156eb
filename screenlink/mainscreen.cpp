#include "screenlink/mainscreen.h"

namespace qmv {

namespace {
MainScreen* current = nullptr;
}

MainScreen* currentMainScreen()
{
    return current;
}

void setCurrentMainScreen(MainScreen* screen)
{
    current = screen;
}

void releaseMainScreen(const MainScreen* screen)
{
    if (current == screen)
        current = nullptr;
}

}  // namespace qmv

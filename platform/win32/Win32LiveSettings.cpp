#include "platform/win32/Win32LiveSettings.h"

#include "platform/win32/WindowsApi.h"

namespace vantrel {

bool Win32LiveSettings::SetMouseAcceleration(int acceleration) {
    // "SPI_GETMOUSE: Retrieves the two mouse threshold values and the mouse
    // acceleration. The pvParam parameter must point to an array of three
    // integers"; SPI_SETMOUSE sets them from such an array (SystemParametersInfoA).
    int mouse[3] = {};
    if (!SystemParametersInfoA(SPI_GETMOUSE, 0, mouse, 0)) return false;
    mouse[2] = acceleration;
    return SystemParametersInfoA(SPI_SETMOUSE, 0, mouse, SPIF_SENDCHANGE) != FALSE;
}

}  // namespace vantrel

// Resource ids shared by the resource script and the window code.
#pragma once

#define IDI_VANTREL 1   // the 32 x 32 window icon
#define IDB_LOGO 101    // the 50 x 37 logo on the white band

// The Windows headers as the front end uses them. Include this first: the
// MessageBox macro of <windows.h> would otherwise rename Dialogs::MessageBox in
// some translation units and not in others. Code calls MessageBoxA by name.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>

#undef MessageBox

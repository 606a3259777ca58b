// The export choice on screen (see ExportChoice in Platform.h), in the style
// of the review list.
#pragma once

#include "platform/win32/WindowsApi.h"

#include <functional>
#include <string>

#include "platform/Platform.h"

namespace vantrel {

// The dialog's list and folder box, as other programs find them (GetDlgItem).
namespace exportchoice {
constexpr int kListId = 101;
constexpr int kFolderId = 106;
}  // namespace exportchoice

// Runs the folder chooser owned by a window: false when the user cancels.
using FolderChooser = std::function<bool(HWND owner, const std::string& prompt, std::string* folder)>;

// Shows the choice in a resizable modal dialog owned by `owner`: the list with
// a check box on each row, the forms as option buttons with their notes, the
// folder box with "Browse...", then OK and Cancel. True when OK was pressed,
// with the choice as the user left it. Tab goes through the list, the forms,
// the folder box and the buttons; Space ticks the list's focused row; Enter is
// OK and Escape is Cancel; Alt and an underlined letter reach a control.
bool ShowExportChoiceWindow(HWND owner, ExportChoice& choice, const FolderChooser& browse);

}  // namespace vantrel

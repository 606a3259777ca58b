// The review list on screen (see ReviewList in Platform.h).
#pragma once

#include "platform/win32/WindowsApi.h"

#include "platform/Platform.h"

#include <string>
#include <vector>

namespace vantrel {

// Shows the list in a resizable modal dialog owned by `owner`; true when the
// user pressed the button that acts. Enter and Escape close it; Alt and the
// first letter of the acting button press that one.
bool ShowReviewWindow(HWND owner, const ReviewList& list);

// The pieces the review list is made of, for the dialogs in its style. Sizes
// are in dialog units.
namespace reviewlist {

std::wstring Wide(const std::string& utf8);
// "&" before the first letter, so that Alt and the letter presses the button.
std::wstring ButtonText(const std::string& utf8);
// A resizable dialog with a caption and no items, in the shell's dialog font.
std::vector<DWORD> Template(const std::wstring& title, short width, short height);
RECT Units(HWND dialog, int left, int top, int right, int bottom);
HWND Child(HWND dialog, DWORD exStyle, const wchar_t* windowClass, const std::wstring& text, DWORD style, int id);
// The report-view list: columns, rows (a warning icon on marked ones), each
// column's widest text in `wanted`; a check box on each row when `checked`
// is given, ticked as it says.
void FillList(HWND view, const ReviewList& list, std::vector<int>& wanted, const std::vector<bool>* checked = nullptr);
// Shares the list's width among the columns (see the review list).
void FitColumns(HWND view, const std::vector<int>& wanted);
// Whether a notification says the user set a column's width.
bool ColumnDragged(const NMHDR* header);
// The height a text takes at this width in the control's font; 0 for no text.
int TextHeight(HWND control, const std::wstring& text, int width);
// The first size within the work area, centred on it.
void PlaceOnScreen(HWND dialog);
// The owner's icons in the caption.
void TakeOwnerIcons(HWND dialog);
// WM_GETMINMAXINFO: no smaller than this many dialog units.
void LimitTrackSize(HWND dialog, LPARAM info, int minWidth, int minHeight);

}  // namespace reviewlist
}  // namespace vantrel

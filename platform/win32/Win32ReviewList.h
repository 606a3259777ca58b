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
// The height a text takes at this width in the control's font; 0 for no text.
int TextHeight(HWND control, const std::wstring& text, int width);
// The first size within the work area, centred on it.
void PlaceOnScreen(HWND dialog);
// The owner's icons in the caption.
void TakeOwnerIcons(HWND dialog);
// The size grip in the bottom right corner, hidden while the dialog is maximised.
HDWP PlaceGrip(HDWP moves, HWND dialog, HWND grip);

// A dialog in the review list's style: a resizable window, made from a
// template in memory, whose controls it makes when it opens.
class ListDialog {
public:
    ListDialog(int minWidth, int minHeight) : minWidth_(minWidth), minHeight_(minHeight) {}
    virtual ~ListDialog() = default;
    // Makes and fills the controls; the one that gets the focus.
    virtual HWND Open(HWND dialog) = 0;
    // Places the controls in the dialog's client area as it is now.
    virtual void Layout(HWND dialog) = 0;
    // A command of a control; true when handled. IDOK and IDCANCEL come here
    // first and then close the dialog.
    virtual bool Command(HWND, int, int) { return false; }
    // A notification from a control.
    virtual void Notify(HWND, const NMHDR&) {}

    // Runs the dialog owned by `owner` until a button closes it: IDOK or IDCANCEL.
    INT_PTR Run(HWND owner, const std::string& title, short width, short height);

protected:
    bool columnsDragged = false;  // the user set a list's column widths: they stay

private:
    static INT_PTR CALLBACK Proc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    int minWidth_, minHeight_;  // dialog units
};

}  // namespace reviewlist
}  // namespace vantrel

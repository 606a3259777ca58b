// The marks of a form window: a small system icon beside each control whose
// setting is set by a policy (the warning icon) or has no effect on this
// Windows (the information icon), and beside such items of a check-box
// list. Pointing at a mark, or giving its control the keyboard focus, shows
// the mark's words in a tip. The model says which control carries which mark
// (Control::mark, ListBox::itemMark); this only draws them.
#pragma once

#include "platform/win32/WindowsApi.h"

#include <map>
#include <string>

#include "model/Controls.h"

namespace vantrel::win32 {

class Marks {
public:
    Marks(HWND window, HINSTANCE instance, HFONT font, int checkSize);
    ~Marks();
    Marks(const Marks&) = delete;
    Marks& operator=(const Marks&) = delete;

    // The control's mark as the model says, beside its window (made,
    // changed or removed), shown while the control is.
    void Sync(Control& control, HWND hwnd);
    // The focus moved (or may have): the focused control's words, if it is
    // marked, show in a tip beside its mark; otherwise no tip.
    void FocusMoved(HWND focus);
    // The pointer is over an item of a check-box list (-1: over none).
    void PointerOverItem(ListBox& list, HWND hwnd, int item);
    // Draws an item's mark at the left of `room`; returns its width (0 for none).
    int DrawItemMark(HDC dc, const RECT& room, const Mark& mark) const;
    // A tip asks for the words of the list item under the pointer.
    bool TipText(NMHDR* header);

private:
    struct Placed {
        HWND icon = nullptr;
        Mark mark;
        ListBox* list = nullptr;  // a check-box list: the marks are its items'
    };
    HICON IconOf(MarkKind kind) const;
    void Place(Placed& placed, Control& control, HWND hwnd);
    void ShowFocusTip(HWND anchor, const std::string& words);

    HWND window_;
    HINSTANCE instance_;
    HFONT font_;
    int checkSize_;
    int iconSize_;
    HWND pointerTip_ = nullptr;  // tips while the pointer rests on a mark
    HWND focusTip_ = nullptr;    // the tip of the focused control
    std::map<HWND, Placed> placed_;  // by the control's window
    std::string itemWords_;          // the words of the item the pointer is over
    std::string focusWords_;         // the words the focus tip shows ("" when hidden)
    int hoveredItem_ = -1;
};

}  // namespace vantrel::win32

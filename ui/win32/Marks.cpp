#include "ui/win32/Marks.h"

#include <algorithm>

namespace vantrel::win32 {

namespace {

constexpr int kTipWidth = 360;  // pixels before a tip's words wrap

HWND MakeTip(HWND owner, HINSTANCE instance) {
    HWND tip = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr, instance,
                               nullptr);
    if (tip) SendMessageA(tip, TTM_SETMAXTIPWIDTH, 0, kTipWidth);
    return tip;
}

TOOLINFOA Tool(HWND owner, HWND window, const char* text, UINT flags) {
    TOOLINFOA tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = flags;
    tool.hwnd = owner;
    tool.uId = reinterpret_cast<UINT_PTR>(window);
    tool.lpszText = const_cast<char*>(text);
    return tool;
}

}  // namespace

Marks::Marks(HWND window, HINSTANCE instance, HFONT font, int checkSize)
    : window_(window), instance_(instance), font_(font), checkSize_(checkSize),
      iconSize_(GetSystemMetrics(SM_CXSMICON)) {}

Marks::~Marks() {
    for (HWND tip : {pointerTip_, focusTip_}) {
        if (tip && IsWindow(tip)) DestroyWindow(tip);
    }
}

HICON Marks::IconOf(MarkKind kind) const {
    // The system's own warning and information icons, at the small size.
    const WORD icon = kind == MarkKind::Policy ? 32515 /* IDI_WARNING */ : 32516 /* IDI_INFORMATION */;
    return static_cast<HICON>(LoadImageA(nullptr, MAKEINTRESOURCEA(icon), IMAGE_ICON, iconSize_, iconSize_, LR_SHARED));
}

void Marks::Sync(Control& control, HWND hwnd) {
    auto it = placed_.find(hwnd);
    if (control.kind() == ControlKind::CheckListBox) {
        // Items carry the marks, drawn with the items; the list holds one tip for all.
        auto& list = static_cast<ListBox&>(control);
        bool any = false;
        for (int i = 0; i < list.ListCount(); ++i) any = any || list.itemMark(i).kind != MarkKind::None;
        if (!any || it != placed_.end()) return;
        if (!pointerTip_) pointerTip_ = MakeTip(window_, instance_);
        TOOLINFOA tool = Tool(window_, hwnd, LPSTR_TEXTCALLBACKA, TTF_IDISHWND | TTF_SUBCLASS);
        SendMessageA(pointerTip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
        placed_[hwnd].list = &list;
        InvalidateRect(hwnd, nullptr, FALSE);
        return;
    }
    const Mark& mark = control.mark();
    if (mark.kind == MarkKind::None) {
        if (it == placed_.end()) return;
        TOOLINFOA tool = Tool(window_, it->second.icon, nullptr, TTF_IDISHWND);
        SendMessageA(pointerTip_, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
        DestroyWindow(it->second.icon);
        placed_.erase(it);
        return;
    }
    if (it == placed_.end()) {
        if (!pointerTip_) pointerTip_ = MakeTip(window_, instance_);
        Placed placed;
        placed.icon = CreateWindowExA(0, "STATIC", "", WS_CHILD | SS_ICON | SS_NOTIFY, 0, 0, iconSize_, iconSize_,
                                      window_, nullptr, instance_, nullptr);
        TOOLINFOA tool = Tool(window_, placed.icon, "", TTF_IDISHWND | TTF_SUBCLASS);
        SendMessageA(pointerTip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
        it = placed_.emplace(hwnd, placed).first;
        Place(it->second, control, hwnd);
    }
    Placed& placed = it->second;
    if (!(placed.mark == mark)) {
        placed.mark = mark;
        SendMessageA(placed.icon, STM_SETICON, reinterpret_cast<WPARAM>(IconOf(mark.kind)), 0);
        TOOLINFOA tool = Tool(window_, placed.icon, placed.mark.words.c_str(), TTF_IDISHWND | TTF_SUBCLASS);
        SendMessageA(pointerTip_, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
    }
    const bool shown = (GetWindowLongPtrA(hwnd, GWL_STYLE) & WS_VISIBLE) != 0;
    if (shown != ((GetWindowLongPtrA(placed.icon, GWL_STYLE) & WS_VISIBLE) != 0))
        ShowWindow(placed.icon, shown ? SW_SHOWNA : SW_HIDE);
}

void Marks::Place(Placed& placed, Control& control, HWND hwnd) {
    RECT r;
    GetWindowRect(hwnd, &r);
    MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&r), 2);
    int x = r.right - iconSize_ - 4;
    int y = r.top + (r.bottom - r.top - iconSize_) / 2;
    switch (control.kind()) {
    case ControlKind::CheckBox:
    case ControlKind::OptionButton: {
        // Right after the caption.
        char caption[256] = {};
        const int length = GetWindowTextA(hwnd, caption, sizeof caption);
        HDC dc = GetDC(hwnd);
        HGDIOBJ old = SelectObject(dc, font_);
        SIZE extent{};
        GetTextExtentPoint32A(dc, caption, length, &extent);
        SelectObject(dc, old);
        ReleaseDC(hwnd, dc);
        x = std::min<int>(r.left + checkSize_ + 8 + extent.cx, r.right - iconSize_);
        break;
    }
    case ControlKind::TextBox:
    case ControlKind::MultiLineText:
        // Inside the box at its right end; the text keeps clear of it.
        SendMessageA(hwnd, EM_SETMARGINS, EC_RIGHTMARGIN, MAKELPARAM(0, iconSize_ + 4));
        break;
    case ControlKind::ListBox:
        x = r.right - GetSystemMetrics(SM_CXVSCROLL) - iconSize_ - 4;
        y = r.top + 3;
        break;
    case ControlKind::ComboBox:
        // Inside the field, left of its drop-down button.
        x = r.right - GetSystemMetrics(SM_CXVSCROLL) - iconSize_ - 4;
        break;
    default:
        break;
    }
    // Above its control, which clips itself around it.
    SetWindowPos(placed.icon, HWND_TOP, x, y, iconSize_, iconSize_, SWP_NOACTIVATE);
}

void Marks::FocusMoved(HWND focus) {
    if (placed_.empty()) return;
    std::string words;
    HWND anchor = nullptr;
    if (auto it = placed_.find(focus); it != placed_.end()) {
        if (it->second.list) {
            const auto item = static_cast<int>(SendMessageA(focus, LB_GETCARETINDEX, 0, 0));
            if (item >= 0 && item < it->second.list->ListCount()) words = it->second.list->itemMark(item).words;
            anchor = focus;
        } else {
            words = it->second.mark.words;
            anchor = it->second.icon;
        }
    }
    ShowFocusTip(anchor, words);
}

void Marks::ShowFocusTip(HWND anchor, const std::string& words) {
    if (words == focusWords_) return;
    if (!focusTip_) {
        focusTip_ = MakeTip(window_, instance_);
        TOOLINFOA tool = Tool(window_, window_, "", TTF_IDISHWND | TTF_TRACK | TTF_ABSOLUTE);
        SendMessageA(focusTip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    }
    TOOLINFOA tool = Tool(window_, window_, words.c_str(), TTF_IDISHWND | TTF_TRACK | TTF_ABSOLUTE);
    if (words.empty()) {
        SendMessageA(focusTip_, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&tool));
    } else {
        RECT r;
        GetWindowRect(anchor, &r);
        SendMessageA(focusTip_, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
        SendMessageA(focusTip_, TTM_TRACKPOSITION, 0, MAKELPARAM(r.left, r.bottom + 2));
        SendMessageA(focusTip_, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));
    }
    focusWords_ = words;
}

void Marks::PointerOverItem(ListBox& list, HWND hwnd, int item) {
    if (item == hoveredItem_ || !pointerTip_ || placed_.find(hwnd) == placed_.end()) return;
    hoveredItem_ = item;
    itemWords_ = item >= 0 && item < list.ListCount() ? list.itemMark(item).words : std::string();
    if (itemWords_.empty()) {
        SendMessageA(pointerTip_, TTM_POP, 0, 0);
    } else {
        SendMessageA(pointerTip_, TTM_UPDATE, 0, 0);
    }
}

int Marks::DrawItemMark(HDC dc, const RECT& room, const Mark& mark) const {
    if (mark.kind == MarkKind::None) return 0;
    const int size = std::min<int>(iconSize_, room.bottom - room.top);
    DrawIconEx(dc, room.left, room.top + (room.bottom - room.top - size) / 2, IconOf(mark.kind), size, size, 0,
               nullptr, DI_NORMAL);
    return size + 2;
}

bool Marks::TipText(NMHDR* header) {
    if (!pointerTip_ || header->hwndFrom != pointerTip_) return false;
    if (header->code == TTN_GETDISPINFOA) {
        reinterpret_cast<NMTTDISPINFOA*>(header)->lpszText = const_cast<char*>(itemWords_.c_str());
        return true;
    }
    return false;
}

}  // namespace vantrel::win32

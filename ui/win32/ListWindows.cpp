// List boxes, the drop-down combo box and the check-box list. The window
// holds a copy of the model's items and is refilled only when they differ;
// the user's selection is copied back. The check-box list is drawn by the
// program: a check box before each item's text, toggled by a click on the
// box, a double click on the item or the space bar.
#include "ui/win32/ControlWindow.h"

#include <algorithm>

#include "ui/win32/Marks.h"

namespace vantrel::win32 {

namespace {

constexpr int kComboListHeight = 150;  // pixels of drop-down list below a combo box's field

// The same operations are differently numbered messages on list boxes and combo boxes.
struct ListMessages {
    UINT reset, add, getSelection, setSelection, selectionChanged;
};
constexpr ListMessages kListBoxMessages{LB_RESETCONTENT, LB_ADDSTRING, LB_GETCURSEL, LB_SETCURSEL, LBN_SELCHANGE};
constexpr ListMessages kComboBoxMessages{CB_RESETCONTENT, CB_ADDSTRING, CB_GETCURSEL, CB_SETCURSEL, CBN_SELCHANGE};

class ListWindow : public ControlWindow {
public:
    using ControlWindow::ControlWindow;
    void OnCommand(int code) override {
        if (static_cast<UINT>(code) != messages().selectionChanged) return;
        const auto index = static_cast<int>(SendMessageA(hwnd(), messages().getSelection, 0, 0));
        if (index >= -1 && index < list().ListCount()) {
            Form::Silence quiet(host_.form);
            list().setListIndex(index);
        }
    }

protected:
    bool combo() const { return model().kind() == ControlKind::ComboBox; }
    const ListMessages& messages() const { return combo() ? kComboBoxMessages : kListBoxMessages; }
    ListBox& list() const { return static_cast<ListBox&>(model()); }

    WindowStyle Style() const override {
        if (combo()) return {"COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL, 0, true};
        return {"LISTBOX", LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL, WS_EX_CLIENTEDGE, true};
    }
    RECT Place(RECT bounds) const override {
        if (combo()) bounds.bottom += kComboListHeight;
        return bounds;
    }
    void ShowValue() override {
        const ListMessages& m = messages();
        if (items_ != list().items()) {
            SendMessageA(hwnd(), WM_SETREDRAW, FALSE, 0);
            SendMessageA(hwnd(), m.reset, 0, 0);
            for (const std::string& item : list().items())
                SendMessageA(hwnd(), m.add, 0, reinterpret_cast<LPARAM>(item.c_str()));
            items_ = list().items();
            SendMessageA(hwnd(), WM_SETREDRAW, TRUE, 0);
            InvalidateRect(hwnd(), nullptr, TRUE);
        }
        if (SendMessageA(hwnd(), m.getSelection, 0, 0) != list().ListIndex())
            SendMessageA(hwnd(), m.setSelection, static_cast<WPARAM>(list().ListIndex()), 0);
    }

private:
    std::vector<std::string> items_;  // as the window holds them
};

class CheckListWindow : public ListWindow {
public:
    using ListWindow::ListWindow;
    bool OnMeasureItem(MEASUREITEMSTRUCT& item) override {
        item.itemHeight = static_cast<UINT>(std::max(host_.lineHeight, host_.checkSize) + 3);
        return true;
    }
    bool OnDrawItem(const DRAWITEMSTRUCT& item) override;

protected:
    WindowStyle Style() const override {
        return {"LISTBOX", LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | WS_VSCROLL,
                WS_EX_CLIENTEDGE, true};
    }
    void OnCreated() override { Subclass(); }
    void ShowValue() override {
        ListWindow::ShowValue();
        // The marks live in the model; each item's data carries a copy (1
        // checked, 0 not) so that they can be read from outside the program.
        for (int i = 0; i < list().ListCount(); ++i)
            SendMessageA(hwnd(), LB_SETITEMDATA, static_cast<WPARAM>(i), list().Selected(i) ? 1 : 0);
        InvalidateRect(hwnd(), nullptr, FALSE);  // check marks
    }
    bool OnOwnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) override;

private:
    void Toggle(int index);
};

bool CheckListWindow::OnOwnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
    switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        // A click on an item's box toggles it; a double click anywhere on the item too.
        *result = CallClass(msg, wp, lp);
        const auto hit = static_cast<DWORD>(SendMessageA(hwnd(), LB_ITEMFROMPOINT, 0, lp));
        const int x = static_cast<short>(LOWORD(lp));
        if (HIWORD(hit) == 0 && (x < 2 + host_.checkSize + 2 || msg == WM_LBUTTONDBLCLK))
            Toggle(static_cast<int>(LOWORD(hit)));
        return true;
    }
    case WM_MOUSEMOVE: {
        // The words of a marked item, while the pointer rests on it.
        const auto hit = static_cast<DWORD>(SendMessageA(hwnd(), LB_ITEMFROMPOINT, 0, lp));
        host_.marks->PointerOverItem(list(), hwnd(), HIWORD(hit) ? -1 : static_cast<int>(LOWORD(hit)));
        return false;
    }
    case WM_KEYDOWN:
        if (wp != VK_SPACE) return false;
        Toggle(static_cast<int>(SendMessageA(hwnd(), LB_GETCURSEL, 0, 0)));
        *result = 0;
        return true;
    case WM_CHAR:
        *result = 0;
        return wp == ' ';  // no type-ahead search on the space that toggled
    default:
        return false;
    }
}

void CheckListWindow::Toggle(int index) {
    // An item with no effect on this Windows takes no clicks.
    if (index < 0 || index >= list().ListCount() || list().itemMark(index).kind == MarkKind::NoEffect) return;
    {
        Form::Silence quiet(host_.form);
        list().setSelected(index, !list().Selected(index));
    }
    SendMessageA(hwnd(), LB_SETITEMDATA, static_cast<WPARAM>(index), list().Selected(index) ? 1 : 0);
    RECT r;
    if (SendMessageA(hwnd(), LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r)) != LB_ERR)
        InvalidateRect(hwnd(), &r, FALSE);
}

bool CheckListWindow::OnDrawItem(const DRAWITEMSTRUCT& di) {
    HDC dc = di.hDC;
    RECT row = di.rcItem;
    if (di.itemID == static_cast<UINT>(-1) || static_cast<int>(di.itemID) >= list().ListCount()) {
        FillRect(dc, &row, GetSysColorBrush(COLOR_WINDOW));
        if (di.itemState & ODS_FOCUS) DrawFocusRect(dc, &row);
        return true;
    }
    const int index = static_cast<int>(di.itemID);
    FillRect(dc, &row, GetSysColorBrush(COLOR_WINDOW));

    const int size = host_.checkSize;
    RECT box;
    box.left = row.left + 2;
    box.top = row.top + (row.bottom - row.top - size) / 2;
    box.right = box.left + size;
    box.bottom = box.top + size;
    // An item with no effect here shows disabled: its box and its text grayed.
    const Mark& itemMark = list().itemMark(index);
    const bool inactive = itemMark.kind == MarkKind::NoEffect;
    DrawFrameControl(dc, &box, DFC_BUTTON,
                     DFCS_BUTTONCHECK | DFCS_FLAT | (list().Selected(index) ? DFCS_CHECKED : 0) |
                         (inactive ? DFCS_INACTIVE : 0));

    // Only the text is highlighted, the box keeps the list's colour.
    RECT text = row;
    text.left = box.right + 3;
    const std::string& item = list().List(index);
    SIZE extent{};
    HGDIOBJ old = SelectObject(dc, host_.font);
    GetTextExtentPoint32A(dc, item.c_str(), static_cast<int>(item.size()), &extent);
    RECT mark = text;
    mark.right = std::min<LONG>(text.right, text.left + extent.cx + 4);
    const bool selected = (di.itemState & ODS_SELECTED) != 0;
    FillRect(dc, &mark, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : inactive ? COLOR_GRAYTEXT : COLOR_WINDOWTEXT));
    RECT label = mark;
    label.left += 2;
    DrawTextA(dc, item.c_str(), static_cast<int>(item.size()), &label, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    SelectObject(dc, old);
    RECT after = row;
    after.left = mark.right + 3;
    host_.marks->DrawItemMark(dc, after, itemMark);
    if (di.itemState & ODS_FOCUS) DrawFocusRect(dc, &mark);
    return true;
}

}  // namespace

std::span<const KindWindow> ListKinds() {
    static constexpr KindWindow kinds[] = {
        {ControlKind::ListBox, MakeWindow<ListWindow>},
        {ControlKind::ComboBox, MakeWindow<ListWindow>},
        {ControlKind::CheckListBox, MakeWindow<CheckListWindow>},
    };
    return kinds;
}

}  // namespace vantrel::win32

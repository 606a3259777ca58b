// The review list: a resizable modal dialog with a line of introduction, a
// report-view list (a warning icon on marked rows) and its buttons: the one
// that acts (when the list has one), "Copy" (when it has one) and the one
// that closes. A sortable list sorts by the column whose header is clicked,
// a second click the other way round; "Copy" puts the rows, in the order
// shown, on the clipboard as tab-separated text. The dialog is made from a
// template in memory and its controls in WM_INITDIALOG; it uses the wide
// functions, so that texts show in any script whatever the ANSI code page.
#include "platform/win32/Win32ReviewList.h"

#include <algorithm>
#include <string>
#include <vector>

#include "platform/ListText.h"
#include "registry/CodePage.h"

namespace vantrel {

namespace reviewlist {

std::wstring Wide(const std::string& utf8) {
    const std::u16string wide = Utf8ToUtf16(utf8);
    return std::wstring(wide.begin(), wide.end());
}

std::wstring ButtonText(const std::string& utf8) {
    std::wstring text = Wide(utf8);
    return text.find(L'&') == std::wstring::npos ? L"&" + text : text;
}

std::vector<DWORD> Template(const std::wstring& title, short width, short height) {
    std::vector<WORD> words;
    auto dword = [&](DWORD d) {
        words.push_back(LOWORD(d));
        words.push_back(HIWORD(d));
    };
    dword(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MAXIMIZEBOX | WS_CLIPCHILDREN | DS_SETFONT);
    dword(0);          // extended style
    words.push_back(0);  // no items
    for (short n : {short{0}, short{0}, width, height}) words.push_back(static_cast<WORD>(n));
    words.push_back(0);  // no menu
    words.push_back(0);  // the dialog class
    words.insert(words.end(), title.begin(), title.end());
    words.push_back(0);
    words.push_back(8);  // point size
    for (const wchar_t c : std::wstring(L"MS Shell Dlg")) words.push_back(c);
    words.push_back(0);
    std::vector<DWORD> aligned((words.size() + 1) / 2, 0);
    std::copy(words.begin(), words.end(), reinterpret_cast<WORD*>(aligned.data()));
    return aligned;
}

RECT Units(HWND dialog, int left, int top, int right, int bottom) {
    RECT r{left, top, right, bottom};
    MapDialogRect(dialog, &r);
    return r;
}

HWND Child(HWND dialog, DWORD exStyle, const wchar_t* windowClass, const std::wstring& text, DWORD style, int id) {
    HWND child = CreateWindowExW(exStyle, windowClass, text.c_str(), WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, dialog,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    SendMessageW(child, WM_SETFONT, SendMessageW(dialog, WM_GETFONT, 0, 0), FALSE);
    return child;
}

void FillList(HWND view, const ReviewList& list, std::vector<int>& wanted, const std::vector<bool>* checked) {
    ListView_SetExtendedListViewStyle(view, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES | LVS_EX_LABELTIP |
                                                LVS_EX_DOUBLEBUFFER | (checked ? LVS_EX_CHECKBOXES : 0));
    const int icon = GetSystemMetrics(SM_CXSMICON);
    HIMAGELIST images = ImageList_Create(icon, icon, ILC_COLOR32 | ILC_MASK, 1, 0);
    ImageList_AddIcon(images, static_cast<HICON>(LoadImageW(nullptr, MAKEINTRESOURCEW(32515) /* IDI_WARNING */,
                                                             IMAGE_ICON, icon, icon, LR_SHARED)));
    SendMessageW(view, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images));  // freed with the list

    for (std::size_t c = 0; c < list.columns.size(); ++c) {
        std::wstring header = Wide(list.columns[c]);
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.pszText = header.data();
        column.cx = 80;
        SendMessageW(view, LVM_INSERTCOLUMNW, c, reinterpret_cast<LPARAM>(&column));
    }
    for (std::size_t r = 0; r < list.rows.size(); ++r) {
        const ReviewList::Row& row = list.rows[r];
        for (std::size_t c = 0; c < row.cells.size() && c < list.columns.size(); ++c) {
            std::wstring text = Wide(row.cells[c]);
            LVITEMW item{};
            item.iItem = static_cast<int>(r);
            item.iSubItem = static_cast<int>(c);
            item.pszText = text.data();
            if (c == 0) {
                item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
                item.iImage = row.marked ? 0 : I_IMAGENONE;
                item.lParam = static_cast<LPARAM>(r);
                SendMessageW(view, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
            } else {
                item.mask = LVIF_TEXT;
                SendMessageW(view, LVM_SETITEMTEXTW, r, reinterpret_cast<LPARAM>(&item));
            }
        }
        if (checked && r < checked->size()) ListView_SetCheckState(view, static_cast<int>(r), (*checked)[r]);
    }
    // Each column's widest text, its header's included (with the header's
    // margins and the room of its sort mark).
    for (std::size_t c = 0; c < list.columns.size(); ++c) {
        ListView_SetColumnWidth(view, static_cast<int>(c), LVSCW_AUTOSIZE);
        const std::wstring header = Wide(list.columns[c]);
        const int headerWidth =
            static_cast<int>(SendMessageW(view, LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(header.c_str()))) + 16;
        wanted.push_back(std::max(ListView_GetColumnWidth(view, static_cast<int>(c)), headerWidth));
    }
    if (!list.rows.empty()) {
        ListView_SetItemState(view, 0, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
    }
}

// Narrow columns get what their texts need, the wide ones split the rest
// evenly. A cut cell shows its whole text as a tip.
void FitColumns(HWND view, const std::vector<int>& wanted) {
    RECT client;
    GetClientRect(view, &client);
    int room = client.right - GetSystemMetrics(SM_CXVSCROLL);
    std::vector<int> order(wanted.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int>(i);
    std::sort(order.begin(), order.end(), [&](int a, int b) { return wanted[a] < wanted[b]; });
    for (std::size_t k = 0; k < order.size(); ++k) {
        const int share = std::max(room, 0) / static_cast<int>(order.size() - k);
        const int width = std::min(wanted[order[k]], share);
        ListView_SetColumnWidth(view, order[k], width);
        room -= width;
    }
    InvalidateRect(ListView_GetHeader(view), nullptr, TRUE);
}

int TextHeight(HWND control, const std::wstring& text, int width) {
    if (text.empty()) return 0;
    RECT box{0, 0, width, 0};
    HDC dc = GetDC(control);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0)));
    DrawTextW(dc, text.c_str(), -1, &box, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return static_cast<int>(box.bottom);
}

void PlaceOnScreen(HWND dialog) {
    RECT work, box;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    GetWindowRect(dialog, &box);
    const int width = std::min(box.right - box.left, work.right - work.left);
    const int height = std::min(box.bottom - box.top, work.bottom - work.top);
    SetWindowPos(dialog, nullptr, work.left + (work.right - work.left - width) / 2,
                 work.top + (work.bottom - work.top - height) / 2, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void TakeOwnerIcons(HWND dialog) {
    HWND owner = GetWindow(dialog, GW_OWNER);
    if (!owner) return;
    const struct {
        WPARAM size;
        int classIcon;
    } icons[] = {{ICON_SMALL, GCLP_HICONSM}, {ICON_BIG, GCLP_HICON}};
    for (const auto& i : icons) {
        auto icon = static_cast<LPARAM>(SendMessageW(owner, WM_GETICON, i.size, 0));
        if (icon == 0) icon = static_cast<LPARAM>(GetClassLongPtrW(owner, i.classIcon));
        if (icon != 0) SendMessageW(dialog, WM_SETICON, i.size, icon);
    }
}

HDWP PlaceGrip(HDWP moves, HWND dialog, HWND grip) {
    RECT client;
    GetClientRect(dialog, &client);
    const int size = GetSystemMetrics(SM_CXVSCROLL);
    return DeferWindowPos(moves, grip, nullptr, client.right - size, client.bottom - size, size, size,
                          SWP_NOZORDER | (IsZoomed(dialog) ? SWP_HIDEWINDOW : SWP_SHOWWINDOW));
}

INT_PTR ListDialog::Run(HWND owner, const std::string& title, short width, short height) {
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&classes);
    const std::vector<DWORD> dialog = Template(Wide(title), width, height);
    return DialogBoxIndirectParamW(GetModuleHandleW(nullptr), reinterpret_cast<const DLGTEMPLATE*>(dialog.data()),
                                   owner, Proc, reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK ListDialog::Proc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<ListDialog*>(GetWindowLongPtrW(dialog, GWLP_USERDATA));
    switch (message) {
    case WM_INITDIALOG: {
        self = reinterpret_cast<ListDialog*>(lParam);
        SetWindowLongPtrW(dialog, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        HWND focus = self->Open(dialog);
        TakeOwnerIcons(dialog);
        PlaceOnScreen(dialog);
        self->Layout(dialog);
        SetFocus(focus);
        return FALSE;  // the focus is set
    }
    case WM_SIZE:
        if (self != nullptr) self->Layout(dialog);
        return TRUE;
    case WM_GETMINMAXINFO: {
        if (self == nullptr) break;
        RECT r = Units(dialog, 0, 0, self->minWidth_, self->minHeight_);
        AdjustWindowRectEx(&r, static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_STYLE)), FALSE,
                           static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_EXSTYLE)));
        reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = {r.right - r.left, r.bottom - r.top};
        return TRUE;
    }
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (self != nullptr && (header->code == HDN_BEGINTRACKW || header->code == HDN_BEGINTRACKA ||
                                header->code == HDN_DIVIDERDBLCLICKW || header->code == HDN_DIVIDERDBLCLICKA)) {
            self->columnsDragged = true;
        }
        if (self != nullptr) self->Notify(dialog, *header);
        break;
    }
    case WM_COMMAND:
        if (self == nullptr) break;
        if (self->Command(dialog, LOWORD(wParam), HIWORD(wParam)) && LOWORD(wParam) != IDOK &&
            LOWORD(wParam) != IDCANCEL) {
            return TRUE;
        }
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, LOWORD(wParam));
            return TRUE;
        }
        break;
    default: break;
    }
    return FALSE;
}

}  // namespace reviewlist

namespace {

using namespace reviewlist;

constexpr int kIntroId = 100;
constexpr int kListId = 101;
constexpr int kGripId = 102;
constexpr int kCopyId = 103;

// Sizes in dialog units.
constexpr short kWidth = 560, kHeight = 250;  // at first, or the screen's work area when smaller
constexpr int kMinWidth = 260, kMinHeight = 130;
constexpr int kMargin = 7, kGap = 4;
constexpr int kButtonWidth = 64, kButtonHeight = 14;

class ReviewDialog : public ListDialog {
public:
    explicit ReviewDialog(const ReviewList& list) : ListDialog(kMinWidth, kMinHeight), list_(list) {}

    HWND Open(HWND dialog) override {
        intro_ = Child(dialog, 0, L"STATIC", Wide(list_.intro), SS_LEFT | SS_NOPREFIX, kIntroId);
        view_ = Child(dialog, WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
                      WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS, kListId);
        if (!list_.act.empty()) act_ = Child(dialog, 0, L"BUTTON", ButtonText(list_.act), WS_TABSTOP | BS_PUSHBUTTON, IDOK);
        if (!list_.copy.empty()) {
            copy_ = Child(dialog, 0, L"BUTTON", ButtonText(list_.copy), WS_TABSTOP | BS_PUSHBUTTON, kCopyId);
        }
        close_ = Child(dialog, 0, L"BUTTON", Wide(list_.close), WS_TABSTOP | BS_DEFPUSHBUTTON, IDCANCEL);
        grip_ = Child(dialog, 0, L"SCROLLBAR", L"", SBS_SIZEGRIP | SBS_SIZEBOXBOTTOMRIGHTALIGN, kGripId);
        SendMessageW(dialog, DM_SETDEFID, IDCANCEL, 0);  // Enter closes; acting takes a deliberate choice
        FillList(view_, list_, wanted_);
        for (std::size_t i = 0; i < list_.rows.size(); ++i) {
            order_.push_back(i);
            place_.push_back(i);
        }
        return view_;
    }

    bool Command(HWND dialog, int id, int) override {
        if (id == kCopyId) {
            CopyRows(dialog);
            return true;
        }
        return false;
    }

    void Notify(HWND, const NMHDR& header) override {
        if (list_.sortable && header.hwndFrom == view_ && header.code == LVN_COLUMNCLICK) {
            SortBy(reinterpret_cast<const NMLISTVIEW&>(header).iSubItem);
        }
    }

    void Layout(HWND dialog) override {
        RECT client;
        GetClientRect(dialog, &client);
        const RECT unit = Units(dialog, kMargin, kGap, kButtonWidth, kButtonHeight);
        const int margin = unit.left, gap = unit.top, buttonWidth = unit.right, buttonHeight = unit.bottom;
        const int width = std::max(0, static_cast<int>(client.right) - 2 * margin);

        // The introduction takes the lines it needs at this width.
        const int introHeight = TextHeight(intro_, Wide(list_.intro), width);
        const int buttonsTop = client.bottom - margin - buttonHeight;
        const int listTop = margin + introHeight + (introHeight ? gap : 0);
        HDWP moves = BeginDeferWindowPos(6);
        moves = DeferWindowPos(moves, intro_, nullptr, margin, margin, width, introHeight, SWP_NOZORDER);
        moves = DeferWindowPos(moves, view_, nullptr, margin, listTop, width, std::max(0, buttonsTop - gap - listTop),
                               SWP_NOZORDER);
        // The buttons from the right: close, act, copy (those the list has).
        int right = client.right - margin;
        for (HWND button : {close_, act_, copy_}) {
            if (!button) continue;
            moves = DeferWindowPos(moves, button, nullptr, right - buttonWidth, buttonsTop, buttonWidth, buttonHeight,
                                   SWP_NOZORDER);
            right -= buttonWidth + gap;
        }
        moves = PlaceGrip(moves, dialog, grip_);
        EndDeferWindowPos(moves);
        if (!columnsDragged) FitColumns(view_, wanted_);
    }

private:
    // Items compare by their rows' places in the order wanted.
    static int CALLBACK ByPlace(LPARAM a, LPARAM b, LPARAM self) {
        const auto* d = reinterpret_cast<const ReviewDialog*>(self);
        return static_cast<int>(d->place_[a]) - static_cast<int>(d->place_[b]);
    }

    // Sorts by a column (the same column again: the other way round), rows
    // with equal texts keeping their order; the header shows the direction.
    void SortBy(int column) {
        descending_ = column == sortColumn_ && !descending_;
        sortColumn_ = column;
        const std::vector<ReviewList::Row>& rows = list_.rows;
        auto before = [&](std::size_t a, std::size_t b) {
            const std::wstring x = Wide(rows[a].cells[column]), y = Wide(rows[b].cells[column]);
            const int compared = CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, x.c_str(), -1, y.c_str(), -1);
            return descending_ ? compared == CSTR_GREATER_THAN : compared == CSTR_LESS_THAN;
        };
        // Insertion sort: stable, and short for lists of tens of rows.
        for (std::size_t i = 1; i < order_.size(); ++i) {
            for (std::size_t j = i; j > 0 && before(order_[j], order_[j - 1]); --j) std::swap(order_[j], order_[j - 1]);
        }
        for (std::size_t i = 0; i < order_.size(); ++i) place_[order_[i]] = i;
        ListView_SortItems(view_, ByPlace, reinterpret_cast<LPARAM>(this));
        HWND header = ListView_GetHeader(view_);
        for (int c = 0; c < Header_GetItemCount(header); ++c) {
            HDITEMW item{};
            item.mask = HDI_FORMAT;
            SendMessageW(header, HDM_GETITEMW, c, reinterpret_cast<LPARAM>(&item));
            item.fmt &= ~(HDF_SORTUP | HDF_SORTDOWN);
            if (c == column) item.fmt |= descending_ ? HDF_SORTDOWN : HDF_SORTUP;
            SendMessageW(header, HDM_SETITEMW, c, reinterpret_cast<LPARAM>(&item));
        }
    }

    // The rows as shown, as tab-separated text, on the clipboard.
    void CopyRows(HWND dialog) const {
        const std::wstring text = Wide(TabSeparated(list_, order_));
        const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
        if (!memory) return;
        std::copy(text.c_str(), text.c_str() + text.size() + 1, static_cast<wchar_t*>(GlobalLock(memory)));
        GlobalUnlock(memory);
        if (OpenClipboard(dialog)) {
            EmptyClipboard();
            if (SetClipboardData(CF_UNICODETEXT, memory)) memory = nullptr;  // the clipboard owns it now
            CloseClipboard();
        }
        if (memory) GlobalFree(memory);
    }

    const ReviewList& list_;
    HWND intro_ = nullptr, view_ = nullptr, act_ = nullptr, copy_ = nullptr, close_ = nullptr, grip_ = nullptr;
    std::vector<int> wanted_;        // each column's width for its widest text
    std::vector<std::size_t> order_;  // the rows as shown, top to bottom
    std::vector<std::size_t> place_;  // each row's place in that order
    int sortColumn_ = -1;
    bool descending_ = false;
};

}  // namespace

bool ShowReviewWindow(HWND owner, const ReviewList& list) {
    ReviewDialog dialog(list);
    // A list without an acting button has nothing to act on, however it closed.
    return dialog.Run(owner, list.title, kWidth, kHeight) == IDOK && !list.act.empty();
}

}  // namespace vantrel

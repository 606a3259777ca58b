// The export choice: the review list's dialog with a check box on each row,
// and under the list the forms with their notes and the folder to write to.
// Made like the review list (a template in memory, controls made in
// WM_INITDIALOG, the wide functions); the control made first comes first in
// the Tab order.
#include "platform/win32/Win32ExportChoice.h"

#include <algorithm>
#include <vector>

#include "platform/win32/Win32ReviewList.h"

namespace vantrel {

namespace {

using namespace reviewlist;

using exportchoice::kFolderId;
using exportchoice::kListId;
constexpr int kIntroId = 100, kGripId = 102, kHeadingId = 103, kNoteId = 104, kFolderLabelId = 105, kBrowseId = 107;
constexpr int kFirstFormId = 110, kFirstFormNoteId = 130;

// Sizes in dialog units.
constexpr short kWidth = 560, kHeight = 330;
constexpr int kMinWidth = 320, kMinHeight = 260;
constexpr int kMargin = 7, kGap = 4, kIndent = 12;
constexpr int kButtonWidth = 64, kButtonHeight = 14, kOptionHeight = 10, kEditHeight = 14, kLabelWidth = 30;

struct State {
    ExportChoice* choice = nullptr;
    const FolderChooser* browse = nullptr;
    HWND intro = nullptr, view = nullptr, heading = nullptr, note = nullptr;
    HWND folderLabel = nullptr, folder = nullptr, browseButton = nullptr, ok = nullptr, cancel = nullptr,
         grip = nullptr;
    std::vector<HWND> forms, formNotes;
    std::vector<int> wanted;
    bool columnsDragged = false;
};

// Paths cross in the system's code page, as the file system takes them.
std::wstring FromAnsi(const std::string& text) {
    std::wstring wide(text.size(), L'\0');
    const int n = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                                      static_cast<int>(wide.size()));
    wide.resize(static_cast<std::size_t>(std::max(n, 0)));
    return wide;
}

std::string ToAnsi(const std::wstring& wide) {
    const int n = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr,
                                      nullptr);
    std::string text(static_cast<std::size_t>(std::max(n, 0)), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), text.data(), n, nullptr, nullptr);
    return text;
}

std::wstring WindowTextW(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

void Layout(HWND dialog, const State& s) {
    RECT client;
    GetClientRect(dialog, &client);
    const RECT unit = Units(dialog, kMargin, kGap, kButtonWidth, kButtonHeight);
    const RECT more = Units(dialog, kIndent, kOptionHeight, kLabelWidth, kEditHeight);
    const int margin = unit.left, gap = unit.top, buttonWidth = unit.right, buttonHeight = unit.bottom;
    const int indent = more.left, optionHeight = more.top, labelWidth = more.right, editHeight = more.bottom;
    const int width = std::max(0, static_cast<int>(client.right) - 2 * margin);
    const ExportChoice& c = *s.choice;

    // From the bottom up: the buttons, the folder row, the note, the forms
    // with their notes, the heading; the list takes what is left.
    struct Place {
        HWND window;
        int left, top, width, height;
    };
    std::vector<Place> places;
    const int buttonsTop = client.bottom - margin - buttonHeight;
    places.push_back({s.cancel, client.right - margin - buttonWidth, buttonsTop, buttonWidth, buttonHeight});
    places.push_back({s.ok, client.right - margin - 2 * buttonWidth - gap, buttonsTop, buttonWidth, buttonHeight});
    int top = buttonsTop - 2 * gap - editHeight;
    const int fieldWidth = std::max(0, width - labelWidth - buttonWidth - 2 * gap);
    places.push_back({s.folderLabel, margin, top + gap / 2, labelWidth, editHeight - gap / 2});
    places.push_back({s.folder, margin + labelWidth + gap, top, fieldWidth, editHeight});
    places.push_back({s.browseButton, client.right - margin - buttonWidth, top, buttonWidth, editHeight});
    const int noteHeight = TextHeight(s.note, Wide(c.note), width);
    top -= gap + noteHeight;
    places.push_back({s.note, margin, top, width, noteHeight});
    top -= gap / 2;
    for (std::size_t i = s.forms.size(); i-- > 0;) {
        const int formNoteHeight = TextHeight(s.formNotes[i], Wide(c.formNotes[i]), width - indent);
        top -= gap / 2 + formNoteHeight;
        places.push_back({s.formNotes[i], margin + indent, top, width - indent, formNoteHeight});
        top -= optionHeight;
        places.push_back({s.forms[i], margin, top, width, optionHeight});
    }
    const int headingHeight = TextHeight(s.heading, Wide(c.formHeading), width);
    top -= gap + headingHeight;
    places.push_back({s.heading, margin, top, width, headingHeight});
    const int introHeight = TextHeight(s.intro, Wide(c.list.intro), width);
    const int listTop = margin + introHeight + (introHeight ? gap : 0);
    places.push_back({s.intro, margin, margin, width, introHeight});
    places.push_back({s.view, margin, listTop, width, std::max(0, top - gap - listTop)});

    HDWP moves = BeginDeferWindowPos(static_cast<int>(places.size()) + 1);
    for (const Place& p : places) moves = DeferWindowPos(moves, p.window, nullptr, p.left, p.top, p.width, p.height,
                                                         SWP_NOZORDER);
    const int grip = GetSystemMetrics(SM_CXVSCROLL);
    moves = DeferWindowPos(moves, s.grip, nullptr, client.right - grip, client.bottom - grip, grip, grip,
                           SWP_NOZORDER | (IsZoomed(dialog) ? SWP_HIDEWINDOW : SWP_SHOWWINDOW));
    EndDeferWindowPos(moves);
    if (!s.columnsDragged) FitColumns(s.view, s.wanted);
}

void MakeControls(HWND dialog, State& s) {
    const ExportChoice& c = *s.choice;
    s.intro = Child(dialog, 0, L"STATIC", Wide(c.list.intro), SS_LEFT | SS_NOPREFIX, kIntroId);
    s.view = Child(dialog, WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
                   WS_TABSTOP | WS_GROUP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS, kListId);
    s.heading = Child(dialog, 0, L"STATIC", Wide(c.formHeading), SS_LEFT | SS_NOPREFIX | WS_GROUP, kHeadingId);
    // The forms one group: Tab reaches the chosen one, the arrows move between them.
    for (std::size_t i = 0; i < c.forms.size(); ++i) {
        const DWORD group = i == 0 ? WS_GROUP | WS_TABSTOP : 0;
        HWND form = Child(dialog, 0, L"BUTTON", ButtonText(c.forms[i]), BS_AUTORADIOBUTTON | group,
                          kFirstFormId + static_cast<int>(i));
        SendMessageW(form, BM_SETCHECK, static_cast<int>(i) == c.form ? BST_CHECKED : BST_UNCHECKED, 0);
        s.forms.push_back(form);
    }
    for (std::size_t i = 0; i < c.formNotes.size() && i < c.forms.size(); ++i) {
        s.formNotes.push_back(Child(dialog, 0, L"STATIC", Wide(c.formNotes[i]),
                                    SS_LEFT | SS_NOPREFIX | (i == 0 ? WS_GROUP : 0), kFirstFormNoteId + static_cast<int>(i)));
    }
    s.note = Child(dialog, 0, L"STATIC", Wide(c.note), SS_LEFT | SS_NOPREFIX, kNoteId);
    // The label's letter moves to the box, which comes next.
    s.folderLabel = Child(dialog, 0, L"STATIC", ButtonText(c.folderLabel), SS_LEFT, kFolderLabelId);
    s.folder = Child(dialog, WS_EX_CLIENTEDGE, L"EDIT", FromAnsi(c.folder), WS_TABSTOP | WS_GROUP | ES_AUTOHSCROLL,
                     kFolderId);
    s.browseButton = Child(dialog, 0, L"BUTTON", L"&Browse...", WS_TABSTOP | BS_PUSHBUTTON, kBrowseId);
    s.ok = Child(dialog, 0, L"BUTTON", ButtonText(c.list.act), WS_TABSTOP | BS_DEFPUSHBUTTON, IDOK);
    s.cancel = Child(dialog, 0, L"BUTTON", Wide(c.list.close), WS_TABSTOP | BS_PUSHBUTTON, IDCANCEL);
    s.grip = Child(dialog, 0, L"SCROLLBAR", L"", SBS_SIZEGRIP | SBS_SIZEBOXBOTTOMRIGHTALIGN, kGripId);
    SendMessageW(dialog, DM_SETDEFID, IDOK, 0);
}

// The choice as the user left it.
void TakeChoice(const State& s) {
    ExportChoice& c = *s.choice;
    for (std::size_t r = 0; r < c.checked.size(); ++r) c.checked[r] = ListView_GetCheckState(s.view, r) != 0;
    for (std::size_t i = 0; i < s.forms.size(); ++i) {
        if (SendMessageW(s.forms[i], BM_GETCHECK, 0, 0) == BST_CHECKED) c.form = static_cast<int>(i);
    }
    c.folder = ToAnsi(WindowTextW(s.folder));
}

INT_PTR CALLBACK ChoiceProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* s = reinterpret_cast<State*>(GetWindowLongPtrW(dialog, GWLP_USERDATA));
    switch (message) {
    case WM_INITDIALOG:
        s = reinterpret_cast<State*>(lParam);
        SetWindowLongPtrW(dialog, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(s));
        MakeControls(dialog, *s);
        TakeOwnerIcons(dialog);
        FillList(s->view, s->choice->list, s->wanted, &s->choice->checked);
        PlaceOnScreen(dialog);
        Layout(dialog, *s);
        SetFocus(s->view);
        return FALSE;  // the focus is set
    case WM_SIZE:
        if (s != nullptr) Layout(dialog, *s);
        return TRUE;
    case WM_GETMINMAXINFO:
        LimitTrackSize(dialog, lParam, kMinWidth, kMinHeight);
        return TRUE;
    case WM_NOTIFY:
        if (s != nullptr && ColumnDragged(reinterpret_cast<const NMHDR*>(lParam))) s->columnsDragged = true;
        break;
    case WM_COMMAND:
        if (s == nullptr) break;
        if (LOWORD(wParam) == kBrowseId && HIWORD(wParam) == BN_CLICKED) {
            std::string folder = ToAnsi(WindowTextW(s->folder));
            if ((*s->browse)(dialog, s->choice->folderPrompt, &folder)) SetWindowTextW(s->folder, FromAnsi(folder).c_str());
            return TRUE;
        }
        if (LOWORD(wParam) == IDOK) TakeChoice(*s);
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, LOWORD(wParam));
            return TRUE;
        }
        break;
    default: break;
    }
    return FALSE;
}

}  // namespace

bool ShowExportChoiceWindow(HWND owner, ExportChoice& choice, const FolderChooser& browse) {
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&classes);
    const std::vector<DWORD> dialog = Template(Wide(choice.list.title), kWidth, kHeight);
    ExportChoice edited = choice;  // the caller's choice changes only on OK
    edited.checked.resize(edited.list.rows.size(), false);
    State state;
    state.choice = &edited;
    state.browse = &browse;
    const INT_PTR answer =
        DialogBoxIndirectParamW(GetModuleHandleW(nullptr), reinterpret_cast<const DLGTEMPLATE*>(dialog.data()), owner,
                                ChoiceProc, reinterpret_cast<LPARAM>(&state));
    if (answer != IDOK) return false;
    choice = std::move(edited);
    return true;
}

}  // namespace vantrel

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

class ChoiceDialog : public ListDialog {
public:
    ChoiceDialog(ExportChoice& choice, const FolderChooser& browse)
        : ListDialog(kMinWidth, kMinHeight), c_(choice), browse_(browse) {}

    HWND Open(HWND dialog) override {
        intro_ = Child(dialog, 0, L"STATIC", Wide(c_.list.intro), SS_LEFT | SS_NOPREFIX, kIntroId);
        view_ = Child(dialog, WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
                      WS_TABSTOP | WS_GROUP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS, kListId);
        heading_ = Child(dialog, 0, L"STATIC", Wide(c_.formHeading), SS_LEFT | SS_NOPREFIX | WS_GROUP, kHeadingId);
        // The forms one group: Tab reaches the chosen one, the arrows move between them.
        for (std::size_t i = 0; i < c_.forms.size(); ++i) {
            const DWORD group = i == 0 ? WS_GROUP | WS_TABSTOP : 0;
            HWND form = Child(dialog, 0, L"BUTTON", ButtonText(c_.forms[i]), BS_AUTORADIOBUTTON | group,
                              kFirstFormId + static_cast<int>(i));
            SendMessageW(form, BM_SETCHECK, static_cast<int>(i) == c_.form ? BST_CHECKED : BST_UNCHECKED, 0);
            forms_.push_back(form);
        }
        for (std::size_t i = 0; i < c_.forms.size(); ++i) {
            const std::wstring text = i < c_.formNotes.size() ? Wide(c_.formNotes[i]) : L"";
            formNotes_.push_back(Child(dialog, 0, L"STATIC", text, SS_LEFT | SS_NOPREFIX | (i == 0 ? WS_GROUP : 0),
                                       kFirstFormNoteId + static_cast<int>(i)));
        }
        note_ = Child(dialog, 0, L"STATIC", Wide(c_.note), SS_LEFT | SS_NOPREFIX, kNoteId);
        // The label's letter moves to the box, which comes next. A choice
        // without a folder (of targets, say) has no folder row.
        if (!c_.folderLabel.empty()) {
            folderLabel_ = Child(dialog, 0, L"STATIC", ButtonText(c_.folderLabel), SS_LEFT, kFolderLabelId);
            folder_ = Child(dialog, WS_EX_CLIENTEDGE, L"EDIT", FromAnsi(c_.folder),
                            WS_TABSTOP | WS_GROUP | ES_AUTOHSCROLL, kFolderId);
            browseButton_ = Child(dialog, 0, L"BUTTON", L"&Browse...", WS_TABSTOP | BS_PUSHBUTTON, kBrowseId);
        }
        ok_ = Child(dialog, 0, L"BUTTON", ButtonText(c_.list.act), WS_TABSTOP | BS_DEFPUSHBUTTON, IDOK);
        cancel_ = Child(dialog, 0, L"BUTTON", Wide(c_.list.close), WS_TABSTOP | BS_PUSHBUTTON, IDCANCEL);
        grip_ = Child(dialog, 0, L"SCROLLBAR", L"", SBS_SIZEGRIP | SBS_SIZEBOXBOTTOMRIGHTALIGN, kGripId);
        SendMessageW(dialog, DM_SETDEFID, IDOK, 0);
        FillList(view_, c_.list, wanted_, &c_.checked);
        return view_;
    }

    void Layout(HWND dialog) override {
        RECT client;
        GetClientRect(dialog, &client);
        const RECT unit = Units(dialog, kMargin, kGap, kButtonWidth, kButtonHeight);
        const RECT more = Units(dialog, kIndent, kOptionHeight, kLabelWidth, kEditHeight);
        const int margin = unit.left, gap = unit.top, buttonWidth = unit.right, buttonHeight = unit.bottom;
        const int indent = more.left, optionHeight = more.top, labelWidth = more.right, editHeight = more.bottom;
        const int width = std::max(0, static_cast<int>(client.right) - 2 * margin);

        // From the bottom up: the buttons, the folder row, the note, the forms
        // with their notes, the heading; the list takes what is left.
        struct Place {
            HWND window;
            int left, top, width, height;
        };
        std::vector<Place> places;
        const int buttonsTop = client.bottom - margin - buttonHeight;
        places.push_back({cancel_, client.right - margin - buttonWidth, buttonsTop, buttonWidth, buttonHeight});
        places.push_back({ok_, client.right - margin - 2 * buttonWidth - gap, buttonsTop, buttonWidth, buttonHeight});
        int top = buttonsTop - gap;
        if (folder_) {
            top -= gap + editHeight;
            const int fieldWidth = std::max(0, width - labelWidth - buttonWidth - 2 * gap);
            places.push_back({folderLabel_, margin, top + gap / 2, labelWidth, editHeight - gap / 2});
            places.push_back({folder_, margin + labelWidth + gap, top, fieldWidth, editHeight});
            places.push_back({browseButton_, client.right - margin - buttonWidth, top, buttonWidth, editHeight});
        }
        const int noteHeight = TextHeight(note_, Wide(c_.note), width);
        top -= gap + noteHeight;
        places.push_back({note_, margin, top, width, noteHeight});
        top -= gap / 2;
        for (std::size_t i = forms_.size(); i-- > 0;) {
            const int formNoteHeight = TextHeight(formNotes_[i], WindowTextW(formNotes_[i]), width - indent);
            top -= gap / 2 + formNoteHeight;
            places.push_back({formNotes_[i], margin + indent, top, width - indent, formNoteHeight});
            top -= optionHeight;
            places.push_back({forms_[i], margin, top, width, optionHeight});
        }
        const int headingHeight = TextHeight(heading_, Wide(c_.formHeading), width);
        top -= gap + headingHeight;
        places.push_back({heading_, margin, top, width, headingHeight});
        const int introHeight = TextHeight(intro_, Wide(c_.list.intro), width);
        const int listTop = margin + introHeight + (introHeight ? gap : 0);
        places.push_back({intro_, margin, margin, width, introHeight});
        places.push_back({view_, margin, listTop, width, std::max(0, top - gap - listTop)});

        HDWP moves = BeginDeferWindowPos(static_cast<int>(places.size()) + 1);
        for (const Place& p : places) {
            moves = DeferWindowPos(moves, p.window, nullptr, p.left, p.top, p.width, p.height, SWP_NOZORDER);
        }
        moves = PlaceGrip(moves, dialog, grip_);
        EndDeferWindowPos(moves);
        if (!columnsDragged) FitColumns(view_, wanted_);
    }

    bool Command(HWND dialog, int id, int code) override {
        if (id == kBrowseId && code == BN_CLICKED) {
            std::string folder = ToAnsi(WindowTextW(folder_));
            if (browse_(dialog, c_.folderPrompt, &folder)) SetWindowTextW(folder_, FromAnsi(folder).c_str());
            return true;
        }
        if (id != IDOK) return false;
        // The choice as the user left it.
        for (std::size_t r = 0; r < c_.checked.size(); ++r) c_.checked[r] = ListView_GetCheckState(view_, r) != 0;
        for (std::size_t i = 0; i < forms_.size(); ++i) {
            if (SendMessageW(forms_[i], BM_GETCHECK, 0, 0) == BST_CHECKED) c_.form = static_cast<int>(i);
        }
        if (folder_) c_.folder = ToAnsi(WindowTextW(folder_));
        return true;
    }

private:
    ExportChoice& c_;
    const FolderChooser& browse_;
    HWND intro_ = nullptr, view_ = nullptr, heading_ = nullptr, note_ = nullptr, folderLabel_ = nullptr,
         folder_ = nullptr, browseButton_ = nullptr, ok_ = nullptr, cancel_ = nullptr, grip_ = nullptr;
    std::vector<HWND> forms_, formNotes_;
    std::vector<int> wanted_;
};

}  // namespace

bool ShowExportChoiceWindow(HWND owner, ExportChoice& choice, const FolderChooser& browse) {
    ExportChoice edited = choice;  // the caller's choice changes only on OK
    edited.checked.resize(edited.list.rows.size(), false);
    ChoiceDialog dialog(edited, browse);
    if (dialog.Run(owner, choice.list.title, kWidth, kHeight) != IDOK) return false;
    choice = std::move(edited);
    return true;
}

}  // namespace vantrel

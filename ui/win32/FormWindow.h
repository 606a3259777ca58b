// One model form as a real top-level window. The window and its controls are
// made from the form's table; nothing is placed by hand. A page (a frame on
// the form itself that the table hides) gets its windows the first time it is
// shown, from the same rows, in the same places and stacking order; until
// then its controls live in the model only. The model is the master copy:
// Sync* push model changes into the controls, and the user's edits are copied
// back into the model (silenced, so they do not echo) before the form's
// events are raised.
#pragma once

#include "platform/win32/WindowsApi.h"

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "model/Controls.h"
#include "ui/win32/Marks.h"

namespace vantrel::win32 {

// Command ids: a control's is kFirstControlId plus its row in the form table,
// a menu item's kFirstMenuId plus its row in the menu table. Outside helpers
// (the screenshot tool) find controls and menu commands the same way.
constexpr int kFirstControlId = 1000;
constexpr int kFirstMenuId = 20000;
int ControlId(const FormDef& def, const std::string& name);  // -1 for an unknown name
int MenuId(const FormDef& def, const std::string& name);     // -1 for an unknown name

// Twips to pixels at a given resolution (dots per inch).
int TwipsToPixels(int twips, int dpi);

// "Ctrl+H" as an accelerator key; false for anything else.
bool ParseShortcut(const std::string& shortcut, ACCEL* accel);

// What the window reports to its owner. Every handler is optional.
struct FormEvents {
    std::function<void(const std::string&)> click;          // button, check box, option button
    std::function<void(const std::string&)> menu;           // menu command or accelerator
    std::function<void(const std::string&)> submenuOpened;  // a popup menu is about to open
    std::function<void(const std::string&)> nodeClick;      // tree node chosen by mouse or keyboard
    std::function<void(const std::string&)> timer;          // a tick of an enabled timer
    std::function<void()> close;                            // the close box or system menu
};

class FormWindow {
public:
    // Creates the window hidden, with every control showing the model's state.
    FormWindow(HINSTANCE instance, Form& form, FormEvents events);
    ~FormWindow();
    FormWindow(const FormWindow&) = delete;
    FormWindow& operator=(const FormWindow&) = delete;

    HWND hwnd() const { return hwnd_; }
    // nullptr for controls without a window, and for those of a page not shown yet.
    HWND control(const std::string& name) const;
    // The control's window, its page's windows made first (hidden or shown
    // as the model says) when they were not yet.
    HWND MakeControl(const std::string& name);
    HACCEL accelerators() const { return accelerators_; }
    HMENU popup(const std::string& name) const;  // a menu that holds items; nullptr otherwise
    Form& form() { return form_; }

    // Model to window.
    void SyncWindow();                  // shown or hidden, printed lines
    void SyncControl(Control& control); // one control (a frame brings its contents along)
    void SyncAll();

    // Runs accelerators and keyboard navigation for a message of this window;
    // true when the message was used up.
    bool PreTranslate(MSG& msg);

private:
    struct Entry {
        Control* model = nullptr;
        HWND hwnd = nullptr;
        std::vector<std::string> mirror;  // list items as the control holds them
        int page = -1;      // row of the page frame that holds it (itself for a page); -1 outside pages
        bool made = false;  // its window has been made (or it has none)
    };

    static LRESULT CALLBACK WindowProc(HWND, UINT, WPARAM, LPARAM);
    // The check-box list and the tree are subclassed (the classic way, which
    // every comctl32 version allows) to see clicks and keys first.
    static LRESULT CALLBACK ChildProc(HWND, UINT, WPARAM, LPARAM);
    void Subclass(HWND child);
    bool CheckListMessage(Entry& entry, UINT msg, WPARAM wp, LPARAM lp, LRESULT* result);
    LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp);

    void CreateMainWindow();
    void CreateControls();
    void CreateMenus();
    void MakeEntries(std::vector<size_t> rows);
    void MakeEntry(size_t index);
    void MakePage(int page);
    bool Ready(Entry& entry);  // its window is made, or made now because its page is on screen
    HWND CreateControl(int index, const ControlDef& def, bool groupStart);
    void Stack(size_t index);
    RECT Bounds(const ControlDef& def) const;
    bool EffectiveVisible(const Control& control) const;
    void SyncVisibility(Control& control);
    void SyncEnabledAndMark(Entry& entry);
    void SyncValue(Entry& entry);
    void SyncList(Entry& entry);
    void SyncTree(Entry& entry);
    void SyncOptionGroup(const std::string& container);
    Entry* EntryById(int id);
    Entry* EntryByName(const std::string& name);
    Entry* EntryOf(Control& control);
    HWND FirstTabStop() const;

    void OnCommand(int id, int code, HWND from);
    LRESULT OnNotify(NMHDR* header);
    void OnScroll(HWND from);
    void OnTimer(UINT_PTR id);
    void ToggleCheck(Entry& entry, int index);
    void DrawCheckItem(const DRAWITEMSTRUCT& item);
    void PaintPrinted();
    void Raise(const std::function<void(const std::string&)>& handler, const std::string& name);

    HINSTANCE instance_;
    Form& form_;
    FormEvents events_;
    HWND hwnd_ = nullptr;
    HMENU menuBar_ = nullptr;
    HACCEL accelerators_ = nullptr;
    HFONT font_ = nullptr;
    HFONT boldFont_ = nullptr;
    HBITMAP logo_ = nullptr;
    int dpi_ = 96;
    int lineHeight_ = 13;
    int checkSize_ = 13;
    HWND lastFocus_ = nullptr;
    POINT treeClick_{-1, -1};     // where the last button press on a tree landed
    bool treeClickRaised_ = false;  // that press already raised a node click

    std::vector<Entry> entries_;  // one per row of the form table
    std::map<std::string, HMENU> popups_;
    std::map<HMENU, std::string> popupNames_;
    std::map<std::string, std::map<std::string, HTREEITEM>> treeItems_;  // per tree: key to item
    std::map<HTREEITEM, std::string> treeKeys_;
    // Items the tree was last seen or told to hold expanded. Asking a tree
    // control for an item's state costs a search of all its items, so the
    // items collapsed both here and in the model are not asked about.
    std::set<HTREEITEM> expandedItems_;
    std::map<HWND, WNDPROC> childProcs_;  // the class procedures of subclassed controls
    bool focusingOption_ = false;  // inside a radio button's WM_SETFOCUS
    std::unique_ptr<Marks> marks_;  // the marks of controls whose settings do not take effect
};

}  // namespace vantrel::win32

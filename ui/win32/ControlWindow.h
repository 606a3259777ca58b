// One control of a model form as a window on screen. Each kind with
// behaviour of its own is a small class (the text kinds, the check boxes and
// option buttons, the lists, the slider and the progress bar, the tree, and
// the plain kinds: band, logo, rule, frame, push button, timer) that holds
// all of it: the window it makes, how the model's value is shown, and what
// the user's input does (commands, notifications and, for the subclassed
// kinds, the control's own messages). The form window makes and lays out
// the controls and routes each message to the control it concerns.
//
// A decoration drawn beside a control (a mark with a tooltip, say) belongs in
// this base: every control's window is made in Create and shown or hidden in
// SetShown, so a decoration made and shown there follows its control, and
// Subclass lets it see the control's own messages (the keyboard focus).
#pragma once

#include "platform/win32/WindowsApi.h"

#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "model/Controls.h"

namespace vantrel::win32 {

// Command ids: a control's is kFirstControlId plus its row in the form table,
// a menu item's kFirstMenuId plus its row in the menu table. Outside helpers
// (the screenshot tool) find controls and menu commands the same way.
constexpr int kFirstControlId = 1000;
constexpr int kFirstMenuId = 20000;

// What the window reports to its owner. Every handler is optional.
struct FormEvents {
    std::function<void(const std::string&)> click;          // button, check box, option button
    std::function<void(const std::string&)> menu;           // menu command or accelerator
    std::function<void(const std::string&)> submenuOpened;  // a popup menu is about to open
    std::function<void(const std::string&)> nodeClick;      // tree node chosen by mouse or keyboard
    std::function<void(const std::string&)> timer;          // a tick of an enabled timer
    std::function<void()> close;                            // the close box or system menu
};

class ControlWindow;
class Marks;

// What the controls of one form window share: the model form and its events,
// the window that holds them, its fonts and sizes, and the controls
// themselves, one per row of the form table.
struct ControlHost {
    // Makes the fonts for the screen's resolution.
    ControlHost(HINSTANCE instance, Form& form, FormEvents events);
    ~ControlHost();
    ControlHost(const ControlHost&) = delete;
    ControlHost& operator=(const ControlHost&) = delete;

    // The control with this command id; nullptr for any other id.
    ControlWindow* ById(int id) const;
    void Raise(const std::function<void(const std::string&)>& handler, const std::string& name) const {
        if (handler) handler(name);
    }

    HINSTANCE instance;
    Form& form;
    FormEvents events;
    HWND window = nullptr;  // the form's window, parent of every control
    HFONT font = nullptr;
    HFONT boldFont = nullptr;
    int dpi = 96;
    int lineHeight = 13;  // of the font
    int checkSize = 13;   // a check box's square, in pixels
    std::vector<std::unique_ptr<ControlWindow>> controls;
    bool focusingOption = false;  // inside an option button's WM_SETFOCUS
    Marks* marks = nullptr;       // the marks beside controls (the form window's)
};

class ControlWindow {
public:
    ControlWindow(ControlHost& host, Control& model) : host_(host), model_(model) {}
    virtual ~ControlWindow() = default;
    ControlWindow(const ControlWindow&) = delete;
    ControlWindow& operator=(const ControlWindow&) = delete;

    Control& model() const { return model_; }
    HWND hwnd() const { return hwnd_; }  // nullptr for the kinds without a window, and before Create
    bool made() const { return made_; }  // Create has run

    // Makes the control's window, hidden, at `bounds` (pixels in the form's
    // client area). `groupStart` begins a keyboard group.
    void Create(int id, const RECT& bounds, bool groupStart);
    // Model to window: the value, list items, nodes, whether the control
    // is enabled and the mark beside it.
    void SyncValue() {
        if (!hwnd_) return;
        ShowValue();
        ShowStanding();
    }
    // Shows or hides the window; true when that hid it from under the
    // keyboard focus, which the form window then hands on.
    bool SetShown(bool shown);

    // Messages the form window receives about this control.
    virtual void OnCommand(int /*code*/) {}
    virtual LRESULT OnNotify(NMHDR& /*header*/) { return 0; }
    virtual void OnScroll() {}
    virtual void OnTimer() {}
    virtual bool OnMeasureItem(MEASUREITEMSTRUCT& /*item*/) { return false; }
    virtual bool OnDrawItem(const DRAWITEMSTRUCT& /*item*/) { return false; }
    // The brush behind a static control's text; nullptr for the system's.
    virtual HBRUSH Background(HDC /*dc*/) { return nullptr; }
    // Enter pressed on the control; true when that was used up.
    virtual bool OnEnter() { return false; }
    // Its window takes the keyboard focus by the Tab key.
    bool TakesFocus() const { return Style().tabStop; }

protected:
    // The window class and styles the control is made with.
    struct WindowStyle {
        const char* windowClass;  // nullptr: the kind has no window
        DWORD style;
        DWORD exStyle;
        bool tabStop;
    };
    virtual WindowStyle Style() const = 0;
    // The text the window is made with: the table's caption, or "" where the model supplies it.
    virtual const char* InitialText() const { return model_.def().caption; }
    virtual HFONT Font() const { return host_.font; }
    // The window's box, given the table's.
    virtual RECT Place(RECT bounds) const { return bounds; }
    // After Create made the window (or found the kind has none).
    virtual void OnCreated() {}
    virtual void ShowValue() {}
    // The window's own messages before its class sees them, for kinds that
    // call Subclass; true when the message was used up.
    virtual bool OnOwnMessage(UINT /*msg*/, WPARAM, LPARAM, LRESULT* /*result*/) { return false; }

    // Routes the window's own messages through OnOwnMessage first (the
    // classic subclassing, which every comctl32 version allows).
    void Subclass();
    // The message, handled as the window's class handles it.
    LRESULT CallClass(UINT msg, WPARAM wp, LPARAM lp) { return CallWindowProcA(classProc_, hwnd_, msg, wp, lp); }
    int id() const { return id_; }

    ControlHost& host_;

private:
    static LRESULT CALLBACK OwnMessageProc(HWND, UINT, WPARAM, LPARAM);
    void ShowStanding();

    Control& model_;
    HWND hwnd_ = nullptr;
    WNDPROC classProc_ = nullptr;  // while subclassed
    int id_ = 0;
    bool made_ = false;
};

// The window of one model control, by its kind.
std::unique_ptr<ControlWindow> MakeControlWindow(ControlHost& host, Control& model);

// Which class serves a kind. Each file of kinds lists its own.
struct KindWindow {
    ControlKind kind;
    std::unique_ptr<ControlWindow> (*make)(ControlHost&, Control&);
};
template <class Window>
std::unique_ptr<ControlWindow> MakeWindow(ControlHost& host, Control& model) {
    return std::make_unique<Window>(host, model);
}
std::span<const KindWindow> TextKinds();
std::span<const KindWindow> ChoiceKinds();
std::span<const KindWindow> ListKinds();
std::span<const KindWindow> RangeKinds();
std::span<const KindWindow> TreeKinds();
std::span<const KindWindow> PlainKinds();

std::string WindowText(HWND hwnd);

}  // namespace vantrel::win32

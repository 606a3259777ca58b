// One model form as a real top-level window. The window and its controls are
// made from the form's table; nothing is placed by hand. A page (a frame on
// the form itself that the table hides) gets its windows the first time it is
// shown, from the same rows, in the same places and stacking order; until
// then its controls live in the model only. The model is the master copy:
// Sync* push model changes into the controls, and the user's edits are copied
// back into the model (silenced, so they do not echo) before the form's
// events are raised. Each control's own behaviour lives in its kind's class
// (ControlWindow.h); this window makes them, lays out the pages and routes
// each message to the control it concerns.
#pragma once

#include "platform/win32/WindowsApi.h"

#include <memory>
#include <string>
#include <vector>

#include "model/Controls.h"
#include "ui/win32/ControlWindow.h"
#include "ui/win32/FormMenus.h"
#include "ui/win32/Marks.h"

namespace vantrel::win32 {

int ControlId(const FormDef& def, const std::string& name);  // -1 for an unknown name

// Twips to pixels at a given resolution (dots per inch).
int TwipsToPixels(int twips, int dpi);

class FormWindow {
public:
    // Creates the window hidden, with every control showing the model's
    // state. With `focusFirst`, only the first control outside pages that
    // takes the keyboard focus is made; the others are left for MakeLater.
    FormWindow(HINSTANCE instance, Form& form, FormEvents events, bool focusFirst = false);
    ~FormWindow();
    FormWindow(const FormWindow&) = delete;
    FormWindow& operator=(const FormWindow&) = delete;

    HWND hwnd() const { return host_.window; }
    // nullptr for controls without a window, and for those of a page not shown yet.
    HWND control(const std::string& name) const;
    // The control's window, its page's windows made first (hidden or shown
    // as the model says) when they were not yet.
    HWND MakeControl(const std::string& name);
    HACCEL accelerators() const { return menus_.accelerators(); }
    HMENU popup(const std::string& name) const { return menus_.popup(name); }
    Form& form() { return host_.form; }

    // Makes the windows left for later (once; nothing when none were). The
    // event loop calls it for every message, so they are made as soon as the
    // shown window has answered, and before its first paint.
    void MakeLater();

    // Model to window.
    void SyncWindow();                  // shown or hidden, printed lines
    void SyncControl(Control& control); // one control (a frame brings its contents along)
    void SyncAll();

    // Runs accelerators and keyboard navigation for a message of this window;
    // true when the message was used up.
    bool PreTranslate(MSG& msg);

private:
    static LRESULT CALLBACK WindowProc(HWND, UINT, WPARAM, LPARAM);
    LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp);

    void CreateMainWindow();
    void CreateControls(bool focusFirst);
    void MakeRows(std::vector<size_t> rows);
    void MakeRow(size_t row);
    void MakePage(int page);
    bool Ready(size_t row);  // its window is made, or made now because its page is on screen
    void Stack(size_t row);
    RECT Bounds(const ControlDef& def) const;
    bool EffectiveVisible(const Control& control) const;
    void SyncVisibility(Control& control);
    int Row(const std::string& name) const;  // in the form table; -1 for an unknown name
    int Row(Control& control) const;         // -1 for a control of another form
    // The control whose window sent a message; nullptr for any other window.
    ControlWindow* From(HWND child) const;
    HWND FirstTabStop() const;
    void FocusFirstTabStop();

    void OnCommand(int id, int code, HWND from);
    void PaintPrinted();

    ControlHost host_;
    FormMenus menus_;
    // Per row of the form table: the row of the page frame that holds it
    // (itself for a page), -1 outside pages, kLater when left for MakeLater.
    static constexpr int kLater = -2;
    std::vector<int> pageOf_;
    HWND lastFocus_ = nullptr;
    std::unique_ptr<Marks> marks_;  // of the controls whose settings do not take effect here
};

}  // namespace vantrel::win32

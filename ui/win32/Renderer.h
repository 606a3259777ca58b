// The application's two windows on screen. The main window is made from the
// model when the renderer is built (hidden until the model shows it), with
// the navigation tree; the other controls outside pages are made by
// the event loop's first message, so the shown window answers sooner and is
// still complete when first painted. The
// splash window exists while the model's splash form is loaded and the event
// loop runs: a splash that is loaded and unloaded again within one event (as
// start-up does) could never be painted, so no window is made for it. Every
// event of the windows is routed to the application.
#pragma once

#include "platform/win32/WindowsApi.h"

#include <memory>
#include <string>

#include "app/App.h"
#include "ui/win32/FormWindow.h"

namespace vantrel::win32 {

class Renderer {
public:
    Renderer(HINSTANCE instance, App& app);
    ~Renderer();
    Renderer(const Renderer&) = delete;
    Renderer& operator=(const Renderer&) = delete;

    HWND mainWindow() const { return main_->hwnd(); }
    // The splash window while its form is loaded (made now if it was put off), else nullptr.
    HWND splashWindow();
    // A control of the main window by name (nullptr for the invisible kinds,
    // for the controls of a page that has not been shown yet, and for those
    // the event loop has not made yet).
    HWND control(const std::string& name) const { return main_->control(name); }
    // The same, the windows of its page made first when they were not yet.
    HWND makeControl(const std::string& name) { return main_->MakeControl(name); }
    HMENU popup(const std::string& name) const { return main_->popup(name); }
    int menuId(const std::string& name) const { return MenuId(app_.form1().def(), name); }
    HACCEL accelerators() const { return main_->accelerators(); }

    // Shows the main window centred, with the keyboard focus on the first
    // control that takes it (the tree).
    void ShowMain();
    // Accelerators and keyboard navigation; true when the message was used up.
    bool PreTranslate(MSG& msg);
    // The message loop. Returns when WM_QUIT arrives; the program normally
    // ends from inside an event instead.
    int Run();

private:
    FormEvents MainEvents();
    FormEvents SplashEvents();
    void OnSplashChanged(Form& form, Control* control);
    void MakeSplash();

    HINSTANCE instance_;
    App& app_;
    std::unique_ptr<FormWindow> main_;
    std::unique_ptr<FormWindow> splash_;
    bool splashDue_ = false;  // the splash form is loaded; its window waits for the event loop
};

}  // namespace vantrel::win32

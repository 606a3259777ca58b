#include "ui/win32/Renderer.h"

#include <functional>

namespace vantrel::win32 {

namespace {

bool HasChildren(const FormDef& def, const std::string& name) {
    for (const MenuDef& m : def.menus)
        if (name == m.parent) return true;
    return false;
}

// Submenus that have a page routine of their own show their page when they open.
bool OpensPage(const FormDef& def, const std::string& name) {
    if (!HasChildren(def, name)) return false;
    for (const PageRoute& r : PageRoutes())
        if (name == r.menuItem) return true;
    return false;
}

}  // namespace

Renderer::Renderer(HINSTANCE instance, App& app) : instance_(instance), app_(app) {
    main_ = std::make_unique<FormWindow>(instance_, app_.form1(), MainEvents(), true);
    app_.form1().setObserver([this](Form&, Control* c) {
        if (c) main_->SyncControl(*c);
        else main_->SyncWindow();
    });
    app_.form2().setObserver([this](Form& f, Control* c) { OnSplashChanged(f, c); });
}

Renderer::~Renderer() {
    app_.form1().setObserver(nullptr);
    app_.form2().setObserver(nullptr);
    splash_.reset();
    main_.reset();
}

FormEvents Renderer::MainEvents() {
    FormEvents events;
    // A handler that fails ends there, and says what failed; the window stays.
    events.click = [this](const std::string& name) { app_.Handle(name, [&] { app_.Click(name); }); };
    events.menu = [this](const std::string& name) { app_.Handle(name, [&] { app_.Menu(name); }); };
    events.submenuOpened = [this](const std::string& name) {
        if (OpensPage(app_.form1().def(), name)) app_.Handle(name, [&] { app_.Menu(name); });
    };
    events.nodeClick = [this](const std::string& key) { app_.Handle(key, [&] { app_.NodeClick(key); }); };
    // Closing the main window ends the program at once, writing nothing.
    events.close = [this] {
        if (app_.services().endProcess) app_.services().endProcess();
    };
    return events;
}

FormEvents Renderer::SplashEvents() {
    FormEvents events;
    events.timer = [this](const std::string& name) {
        if (name == "Timer1") app_.Handle(name, [&] { app_.Timer1_Timer(); });
    };
    return events;  // the splash window's close box does nothing
}

void Renderer::OnSplashChanged(Form& form, Control* control) {
    if (splash_) {
        if (!form.loaded()) splash_.reset();
        else if (control) splash_->SyncControl(*control);
        else splash_->SyncWindow();
        return;
    }
    // No window yet: it is made, from the form's state at that moment, when
    // the event loop next runs and finds the form still loaded.
    if (form.loaded() && !splashDue_) {
        splashDue_ = true;
        PostMessageA(main_->hwnd(), WM_NULL, 0, 0);  // wakes the loop
    }
    if (!form.loaded()) splashDue_ = false;
}

void Renderer::MakeSplash() {
    if (!splashDue_) return;
    splashDue_ = false;
    if (app_.form2().loaded() && !splash_)
        splash_ = std::make_unique<FormWindow>(instance_, app_.form2(), SplashEvents());
}

HWND Renderer::splashWindow() {
    MakeSplash();
    return splash_ ? splash_->hwnd() : nullptr;
}

void Renderer::ShowMain() {
    app_.form1().setShown(true);
    // The controls besides the tree are made by the event loop, at its first
    // message: this one, ahead of any paint.
    PostMessageA(main_->hwnd(), WM_NULL, 0, 0);
}

bool Renderer::PreTranslate(MSG& msg) {
    main_->MakeLater();
    MakeSplash();
    return main_->PreTranslate(msg);
}

int Renderer::Run() {
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (PreTranslate(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}

}  // namespace vantrel::win32

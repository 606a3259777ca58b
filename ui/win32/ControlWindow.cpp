#include "ui/win32/ControlWindow.h"

#include "ui/win32/Marks.h"

#include <algorithm>
#include <utility>

namespace vantrel::win32 {

namespace {

constexpr char kControlProperty[] = "VantrelControl";  // on subclassed controls: their ControlWindow

// Kinds without a window of their own: the file dialog component (its
// dialogs come from the platform).
class WindowlessControl : public ControlWindow {
public:
    using ControlWindow::ControlWindow;

protected:
    WindowStyle Style() const override { return {nullptr, 0, 0, false}; }
};

HFONT MakeFont(int dpi, bool bold) {
    return CreateFontA(-MulDiv(8, dpi, 72), 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                       DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_SWISS, "MS Sans Serif");
}

}  // namespace

std::string WindowText(HWND hwnd) {
    const int length = GetWindowTextLengthA(hwnd);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    const int got = GetWindowTextA(hwnd, text.data(), length + 1);
    text.resize(static_cast<size_t>(std::max(got, 0)));
    return text;
}

std::unique_ptr<ControlWindow> MakeControlWindow(ControlHost& host, Control& model) {
    for (auto kinds : {TextKinds(), ChoiceKinds(), ListKinds(), RangeKinds(), TreeKinds(), PlainKinds()})
        for (const KindWindow& k : kinds)
            if (k.kind == model.kind()) return k.make(host, model);
    return std::make_unique<WindowlessControl>(host, model);
}

// ---- the shared parts ----

ControlHost::ControlHost(HINSTANCE instance, Form& form, FormEvents events)
    : instance(instance), form(form), events(std::move(events)) {
    HDC screen = GetDC(nullptr);
    dpi = GetDeviceCaps(screen, LOGPIXELSY);
    font = MakeFont(dpi, false);
    boldFont = MakeFont(dpi, true);
    HGDIOBJ old = SelectObject(screen, font);
    TEXTMETRICA tm{};
    GetTextMetricsA(screen, &tm);
    SelectObject(screen, old);
    ReleaseDC(nullptr, screen);
    lineHeight = tm.tmHeight;
    checkSize = MulDiv(13, dpi, 96);
}

ControlHost::~ControlHost() {
    controls.clear();  // before the fonts they may use
    DeleteObject(font);
    DeleteObject(boldFont);
}

ControlWindow* ControlHost::ById(int id) const {
    const int row = id - kFirstControlId;
    if (row < 0 || row >= static_cast<int>(controls.size())) return nullptr;
    return controls[static_cast<size_t>(row)].get();
}

// ---- one control ----

void ControlWindow::Create(int id, const RECT& bounds, bool groupStart) {
    made_ = true;
    id_ = id;
    const WindowStyle look = Style();
    if (look.windowClass) {
        const RECT r = Place(bounds);
        DWORD style = WS_CHILD | WS_CLIPSIBLINGS | look.style;
        if (look.tabStop) style |= WS_TABSTOP;
        if (groupStart) style |= WS_GROUP;
        hwnd_ = CreateWindowExA(look.exStyle, look.windowClass, InitialText(), style, r.left, r.top, r.right - r.left,
                                r.bottom - r.top, host_.window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                host_.instance, nullptr);
        if (!hwnd_) return;
        SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(Font()), FALSE);
    }
    OnCreated();
}

bool ControlWindow::SetShown(bool shown) {
    if (!hwnd_) return false;
    const bool has = (GetWindowLongPtrA(hwnd_, GWL_STYLE) & WS_VISIBLE) != 0;
    if (shown == has) return false;
    const bool hadFocus = GetFocus() == hwnd_;
    ShowWindow(hwnd_, shown ? SW_SHOWNA : SW_HIDE);
    ShowStanding();  // the mark follows its control
    return hadFocus && !shown;
}

void ControlWindow::ShowStanding() {
    if ((IsWindowEnabled(hwnd_) != FALSE) != model_.enabled()) EnableWindow(hwnd_, model_.enabled());
    if (host_.marks) host_.marks->Sync(model_, hwnd_);
}

void ControlWindow::Subclass() {
    SetPropA(hwnd_, kControlProperty, this);
    classProc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(OwnMessageProc)));
}

LRESULT CALLBACK ControlWindow::OwnMessageProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = static_cast<ControlWindow*>(GetPropA(hwnd, kControlProperty));
    if (!self || !self->classProc_) return DefWindowProcA(hwnd, msg, wp, lp);
    const WNDPROC original = self->classProc_;
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
        RemovePropA(hwnd, kControlProperty);
        self->classProc_ = nullptr;
        return CallWindowProcA(original, hwnd, msg, wp, lp);
    }
    // No exception may cross the window system.
    LRESULT result = 0;
    try {
        if (self->OnOwnMessage(msg, wp, lp, &result)) return result;
    } catch (...) {
        return 0;
    }
    return CallWindowProcA(original, hwnd, msg, wp, lp);
}

}  // namespace vantrel::win32

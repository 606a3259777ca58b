// The kinds with little behaviour of their own: the white band across the
// top and the logo on it, the rule, the frame, the push button, and the
// timer (which has no window: it ticks on the form's).
#include "ui/win32/ControlWindow.h"

#include <algorithm>

#include "resources/resource.h"

namespace vantrel::win32 {

namespace {

// The logo, drawn for 96 dots per inch, at the window's resolution: scaled by
// the layout's own factor, smoothed.
HBITMAP LoadLogo(HINSTANCE instance, int dpi) {
    auto logo = static_cast<HBITMAP>(LoadImageA(instance, MAKEINTRESOURCEA(IDB_LOGO), IMAGE_BITMAP, 0, 0, 0));
    BITMAP size{};
    if (!logo || dpi == 96 || !GetObjectA(logo, sizeof size, &size)) return logo;
    const int width = MulDiv(size.bmWidth, dpi, 96);
    const int height = MulDiv(size.bmHeight, dpi, 96);
    HDC screen = GetDC(nullptr);
    HDC from = CreateCompatibleDC(screen);
    HDC to = CreateCompatibleDC(screen);
    HBITMAP scaled = CreateCompatibleBitmap(screen, width, height);
    if (scaled) {
        HGDIOBJ oldFrom = SelectObject(from, logo);
        HGDIOBJ oldTo = SelectObject(to, scaled);
        SetStretchBltMode(to, HALFTONE);
        SetBrushOrgEx(to, 0, 0, nullptr);
        StretchBlt(to, 0, 0, width, height, from, 0, 0, size.bmWidth, size.bmHeight, SRCCOPY);
        SelectObject(from, oldFrom);
        SelectObject(to, oldTo);
    }
    DeleteDC(from);
    DeleteDC(to);
    ReleaseDC(nullptr, screen);
    if (!scaled) return logo;
    DeleteObject(logo);
    return scaled;
}

class BandWindow : public ControlWindow {
public:
    using ControlWindow::ControlWindow;
    HBRUSH Background(HDC dc) override {
        SetBkColor(dc, RGB(255, 255, 255));
        return static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    }

protected:
    WindowStyle Style() const override { return {"STATIC", SS_LEFT, 0, false}; }
};

// On the band, white behind it too.
class LogoWindow : public BandWindow {
public:
    using BandWindow::BandWindow;
    ~LogoWindow() override {
        if (logo_) DeleteObject(logo_);
    }

protected:
    WindowStyle Style() const override { return {"STATIC", SS_BITMAP, 0, false}; }
    void OnCreated() override {
        logo_ = LoadLogo(host_.instance, host_.dpi);
        if (logo_) SendMessageA(hwnd(), STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(logo_));
    }

private:
    HBITMAP logo_ = nullptr;
};

// A thin etched line from Left to Left + Width at Top.
class RuleWindow : public ControlWindow {
public:
    using ControlWindow::ControlWindow;

protected:
    WindowStyle Style() const override { return {"STATIC", SS_ETCHEDHORZ, 0, false}; }
    RECT Place(RECT bounds) const override {
        bounds.bottom = bounds.top + 2;
        return bounds;
    }
};

class FrameWindow : public ControlWindow {
public:
    using ControlWindow::ControlWindow;

protected:
    WindowStyle Style() const override { return {"BUTTON", BS_GROUPBOX, 0, false}; }
};

class ButtonWindow : public ControlWindow {
public:
    using ControlWindow::ControlWindow;
    void OnCommand(int code) override {
        if (code == BN_CLICKED) host_.Raise(host_.events.click, model().name());
    }
    // The form window is no dialog, so it has no default button: Enter on a
    // focused push button presses it, as Space does.
    bool OnEnter() override {
        SendMessageA(hwnd(), BM_CLICK, 0, 0);
        return true;
    }

protected:
    WindowStyle Style() const override { return {"BUTTON", BS_PUSHBUTTON, 0, true}; }
};

// Ticks of the form window, at the table's interval (at least a millisecond).
class FormTimer : public ControlWindow {
public:
    using ControlWindow::ControlWindow;
    void OnTimer() override {
        if (static_cast<Timer&>(model()).enabled) host_.Raise(host_.events.timer, model().name());
    }

protected:
    WindowStyle Style() const override { return {nullptr, 0, 0, false}; }
    void OnCreated() override {
        SetTimer(host_.window, static_cast<UINT_PTR>(id()),
                 static_cast<UINT>(std::max(static_cast<Timer&>(model()).interval(), 1)), nullptr);
    }
};

}  // namespace

std::span<const KindWindow> PlainKinds() {
    static constexpr KindWindow kinds[] = {
        {ControlKind::Band, MakeWindow<BandWindow>},
        {ControlKind::Image, MakeWindow<LogoWindow>},
        {ControlKind::Line, MakeWindow<RuleWindow>},
        {ControlKind::Frame, MakeWindow<FrameWindow>},
        {ControlKind::Button, MakeWindow<ButtonWindow>},
        {ControlKind::Timer, MakeWindow<FormTimer>},
    };
    return kinds;
}

}  // namespace vantrel::win32

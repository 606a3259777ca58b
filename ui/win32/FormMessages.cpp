// The form window's messages: each goes to the control it concerns (by the
// command id its window carries), menu commands and accelerators to the
// form's events, and the keyboard is kept on a control across a switch to
// another window and back.
#include "ui/win32/FormWindow.h"

namespace vantrel::win32 {

void FormWindow::OnCommand(int id, int code, HWND from) {
    if (!from) {
        const MenuDef* item = menus_.Item(id);
        if (item && (code == 0 || code == 1)) host_.Raise(host_.events.menu, item->name);
        return;
    }
    ControlWindow* c = host_.ById(id);
    if (c && c->hwnd() == from) c->OnCommand(code);
}

void FormWindow::PaintPrinted() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(host_.window, &ps);
    HGDIOBJ old = SelectObject(dc, host_.font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    int y = 0;
    for (const std::string& line : host_.form.printed()) {
        TextOutA(dc, 0, y, line.c_str(), static_cast<int>(line.size()));
        y += host_.lineHeight;
    }
    SelectObject(dc, old);
    EndPaint(host_.window, &ps);
}

bool FormWindow::PreTranslate(MSG& msg) {
    HWND hwnd = host_.window;
    if (!hwnd || (msg.hwnd != hwnd && !IsChild(hwnd, msg.hwnd))) return false;
    if (accelerators() && TranslateAcceleratorA(hwnd, accelerators(), &msg)) return true;
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_RETURN) {
        ControlWindow* c = From(msg.hwnd);
        if (c && c->OnEnter()) return true;
    }
    const bool used = IsDialogMessageA(hwnd, &msg) != FALSE;
    marks_->FocusMoved(GetFocus());  // Tab moved it, or the message before did
    return used;
}

// ---- the window procedure ----

LRESULT CALLBACK FormWindow::WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTA*>(lp);
        auto* self = static_cast<FormWindow*>(cs->lpCreateParams);
        self->host_.window = hwnd;
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<FormWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcA(hwnd, msg, wp, lp);
    // No exception may cross the window system. An event handler that fails
    // says so itself (App::Handle); anything else that fails here ends the message.
    try {
        return self->Handle(msg, wp, lp);
    } catch (...) {
        return 0;
    }
}

LRESULT FormWindow::Handle(UINT msg, WPARAM wp, LPARAM lp) {
    HWND hwnd = host_.window;
    switch (msg) {
    case WM_COMMAND:
        OnCommand(LOWORD(wp), HIWORD(wp), reinterpret_cast<HWND>(lp));
        return 0;
    case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(lp);
        if (marks_->TipText(header)) return 0;
        ControlWindow* c = host_.ById(static_cast<int>(header->idFrom));
        return c && c->hwnd() == header->hwndFrom ? c->OnNotify(*header) : 0;
    }
    case WM_HSCROLL:
    case WM_VSCROLL:
        if (ControlWindow* c = lp ? From(reinterpret_cast<HWND>(lp)) : nullptr) c->OnScroll();
        return 0;
    case WM_TIMER:
        if (ControlWindow* c = host_.ById(static_cast<int>(wp))) c->OnTimer();
        return 0;
    case WM_INITMENUPOPUP:
        if (!HIWORD(lp)) {
            const std::string name = menus_.PopupName(reinterpret_cast<HMENU>(wp));
            if (!name.empty()) host_.Raise(host_.events.submenuOpened, name);
        }
        return 0;
    case WM_CTLCOLORSTATIC:
        if (ControlWindow* c = From(reinterpret_cast<HWND>(lp)))
            if (HBRUSH brush = c->Background(reinterpret_cast<HDC>(wp))) return reinterpret_cast<LRESULT>(brush);
        break;
    case WM_MEASUREITEM: {
        auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
        ControlWindow* c = host_.ById(static_cast<int>(item->CtlID));
        if (c && c->OnMeasureItem(*item)) return TRUE;
        break;
    }
    case WM_DRAWITEM: {
        auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lp);
        ControlWindow* c = host_.ById(static_cast<int>(item->CtlID));
        if (c && c->OnDrawItem(*item)) return TRUE;
        break;
    }
    case WM_PAINT:
        if (!host_.form.printed().empty()) {
            PaintPrinted();
            return 0;
        }
        break;
    case WM_ACTIVATE:
        // Keep the focused control across a switch to another window and back.
        if (LOWORD(wp) == WA_INACTIVE) {
            HWND focus = GetFocus();
            if (focus && IsChild(hwnd, focus)) lastFocus_ = focus;
            break;
        }
        [[fallthrough]];
    case WM_SETFOCUS:
        if (lastFocus_ && IsWindowVisible(lastFocus_)) SetFocus(lastFocus_);
        else FocusFirstTabStop();
        return 0;
    case WM_CLOSE:
        if (host_.events.close) host_.events.close();
        return 0;
    case WM_NCDESTROY:
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        break;
    default:
        break;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

}  // namespace vantrel::win32

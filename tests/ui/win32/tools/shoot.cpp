// A helper for the screenshot script (not part of the product, not a test). It drives a running Vantrel.exe from outside,
// the way a user would: menu commands and section buttons.
//
//   shoot wait [ms]        waits for the main window to be shown
//   shoot pages            lists the pages: frame name and caption, one a line
//   shoot page <frame>     shows that page through its menu item or section button
//   shoot rect [caption]   prints the rectangle of the main window (or of
//                          Vantrel's window with that caption) as WxH+X+Y
//   shoot close [caption]  closes the main window (or that window)
//   shoot review           opens File > "Review Changes..." and waits for its list
//   shoot gpexport         opens File > "Export for Group Policy..." and waits for its choice
//   shoot status           opens View > "Settings Status..." and waits for its list
//   shoot focus <control>  clicks into a control of the page shown, which takes the focus
#include "platform/win32/WindowsApi.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/App.h"
#include "model/Forms.h"
#include "ui/win32/FormWindow.h"
#include "ui/win32/RunningExe.h"

namespace {

using vantrel::Form1Def;
using vantrel::PageRoutes;
using vantrel::test::FindMainWindow;
using vantrel::test::FindShownWindow;

HWND WaitForWindow(DWORD timeoutMs, DWORD process, const std::string& caption) {
    const DWORD until = GetTickCount() + timeoutMs;
    for (;;) {
        if (HWND h = FindShownWindow(process, "", caption)) return h;
        if (GetTickCount() > until) return nullptr;
        Sleep(1);
    }
}

HWND WaitForMain(DWORD timeoutMs) { return WaitForWindow(timeoutMs, 0, vantrel::test::kMainCaption); }

std::string Caption(const char* control) {
    for (const auto& c : Form1Def().controls)
        if (std::string(c.name) == control) return c.caption;
    return {};
}

bool IsLeafMenu(const std::string& name) {
    if (name.empty()) return false;
    for (const auto& m : Form1Def().menus)
        if (name == m.parent) return false;
    return true;
}

int ShowPage(HWND main, const std::string& frame) {
    for (const auto& route : PageRoutes()) {
        if (frame != route.frame) continue;
        if (IsLeafMenu(route.menuItem)) {
            PostMessageA(main, WM_COMMAND, MAKEWPARAM(vantrel::win32::MenuId(Form1Def(), route.menuItem), 0), 0);
        } else if (*route.button) {
            HWND button = GetDlgItem(main, vantrel::win32::ControlId(Form1Def(), route.button));
            PostMessageA(button, BM_CLICK, 0, 0);
        } else if (std::string(route.nodeKey) == "Windows10") {
            // The last root's own page, which only its node shows: the End
            // key selects the tree's last visible node, that root while it is collapsed.
            HWND tree = FindWindowExA(main, nullptr, WC_TREEVIEWA, nullptr);
            PostMessageA(tree, WM_KEYDOWN, VK_END, 0);
        } else {
            std::fprintf(stderr, "no menu item or button shows %s\n", frame.c_str());
            return 1;
        }
        // A page's windows are made the first time it is shown.
        const int id = vantrel::win32::ControlId(Form1Def(), frame);
        const DWORD until = GetTickCount() + 5000;
        while (!IsWindowVisible(GetDlgItem(main, id)) && GetTickCount() < until) Sleep(5);
        if (!IsWindowVisible(GetDlgItem(main, id))) {
            std::fprintf(stderr, "%s did not appear\n", frame.c_str());
            return 1;
        }
        Sleep(300);  // let the page paint
        return 0;
    }
    std::fprintf(stderr, "unknown page %s\n", frame.c_str());
    return 1;
}

// Opens a dialog through its menu command and waits until it is shown.
int OpenDialog(HWND main, const char* menu, const char* caption) {
    PostMessageA(main, WM_COMMAND, MAKEWPARAM(vantrel::win32::MenuId(Form1Def(), menu), 0), 0);
    DWORD process = 0;
    GetWindowThreadProcessId(main, &process);
    const DWORD until = GetTickCount() + 10000;
    while (!vantrel::test::FindShownWindow(process, "#32770", caption)) {
        if (GetTickCount() > until) {
            std::fprintf(stderr, "\"%s\" did not appear\n", caption);
            return 1;
        }
        Sleep(20);
    }
    Sleep(500);  // let it paint
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "pages") {
        for (const auto& route : PageRoutes()) std::printf("%s %s\n", route.frame, Caption(route.frame).c_str());
        return 0;
    }
    if (command == "wait") {
        const DWORD timeout = argc > 2 ? static_cast<DWORD>(std::atoi(argv[2])) : 30000;
        if (!WaitForMain(timeout)) {
            std::fprintf(stderr, "no main window\n");
            return 1;
        }
        Sleep(500);  // let it paint
        return 0;
    }
    HWND main = FindMainWindow(0);
    if (!main) {
        std::fprintf(stderr, "Vantrel is not running\n");
        return 1;
    }
    if (command == "page" && argc > 2) return ShowPage(main, argv[2]);
    if (command == "review") return OpenDialog(main, "review", "Review Changes");
    if (command == "gpexport") return OpenDialog(main, "gpexport", "Export for Group Policy");
    if (command == "status") return OpenDialog(main, "status", "Settings Status");
    if (command == "focus" && argc > 2) {
        HWND control = GetDlgItem(main, vantrel::win32::ControlId(Form1Def(), argv[2]));
        if (!control) {
            std::fprintf(stderr, "no window for %s\n", argv[2]);
            return 1;
        }
        PostMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
        PostMessageA(control, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
        Sleep(500);  // let the tip show
        return 0;
    }
    HWND target = main;
    if (argc > 2) {
        DWORD process = 0;
        GetWindowThreadProcessId(main, &process);
        target = vantrel::test::FindShownWindow(process, "", argv[2]);
        if (!target) {
            std::fprintf(stderr, "no window \"%s\"\n", argv[2]);
            return 1;
        }
    }
    if (command == "rect") {
        RECT r;
        GetWindowRect(target, &r);
        std::printf("%ldx%ld+%ld+%ld\n", r.right - r.left, r.bottom - r.top, r.left, r.top);
        return 0;
    }
    if (command == "close") {
        PostMessageA(target, WM_CLOSE, 0, 0);
        return 0;
    }
    std::fprintf(stderr,
                 "usage: shoot wait [ms] | pages | page <frame> | rect [caption] | close [caption] | review | gpexport | "
                 "status | focus <control>\n");
    return 2;
}

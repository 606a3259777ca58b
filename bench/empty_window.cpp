// The floor for a usable window (a bench program, not part of the product):
// the least a Win32 program does before its window can be used. It registers
// a class, makes a captioned 660x520 window with a tree view and a button,
// shows and updates it, then runs a message loop. Built static with MinGW in
// the product's tree, linked the way Vantrel.exe is.
#include <windows.h>
#include <commctrl.h>

static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcA(hwnd, msg, wp, lp);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
    InitCommonControls();
    WNDCLASSA wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = "EmptyWindow";
    RegisterClassA(&wc);
    HWND hwnd = CreateWindowA("EmptyWindow", "Empty Window", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 660, 520,
                              nullptr, nullptr, instance, nullptr);
    CreateWindowA(WC_TREEVIEWA, "", WS_CHILD | WS_VISIBLE | WS_BORDER, 8, 8, 180, 440, hwnd, nullptr, instance, nullptr);
    CreateWindowA("BUTTON", "Apply Changes", WS_CHILD | WS_VISIBLE, 520, 440, 110, 30, hwnd, nullptr, instance, nullptr);
    ShowWindow(hwnd, show);
    UpdateWindow(hwnd);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}

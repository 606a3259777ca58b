// Vantrel.exe seen from another process: where the built exe is, how it is
// started, and how its shown windows are found. Shared by the Wine tests that
// start the exe and by the helper that drives it for screenshots and timing.
#pragma once

#include "platform/win32/WindowsApi.h"

#include <algorithm>
#include <cstdlib>
#include <string>

namespace vantrel::test {

inline constexpr char kMainCaption[] = "Vantrel - Version 2.0 -A";

// VANTREL_EXE, as a Windows path (a Unix path is reached through drive Z:),
// or Vantrel.exe in the folder above the running program.
inline std::string VantrelExePath() {
    if (const char* env = std::getenv("VANTREL_EXE"); env && *env) {
        std::string path = env;
        if (path[0] == '/') {
            path = "Z:" + path;
            std::replace(path.begin(), path.end(), '/', '\\');
        }
        return path;
    }
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string path = self;
    path.erase(path.find_last_of('\\'));
    return path + "\\..\\Vantrel.exe";
}

// Starts the exe with its own path, then the arguments, as the command line.
inline bool StartProgram(const std::string& exe, PROCESS_INFORMATION* pi, const std::string& arguments = "") {
    STARTUPINFOA si{};
    si.cb = sizeof si;
    std::string commandLine = "\"" + exe + "\"" + (arguments.empty() ? "" : " " + arguments);
    return CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, pi) !=
           FALSE;
}

inline std::string WindowClass(HWND hwnd) {
    char name[64] = {};
    GetClassNameA(hwnd, name, sizeof name);
    return name;
}

namespace detail {

struct WindowSearch {
    DWORD process;
    const std::string* windowClass;
    const std::string* caption;
    HWND found;
};

inline BOOL CALLBACK MatchShownWindow(HWND hwnd, LPARAM data) {
    auto* s = reinterpret_cast<WindowSearch*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    if ((s->process != 0 && owner != s->process) || !IsWindowVisible(hwnd)) return TRUE;
    char text[256] = {};
    GetWindowTextA(hwnd, text, sizeof text);
    if ((!s->windowClass->empty() && WindowClass(hwnd) != *s->windowClass) ||
        (!s->caption->empty() && *s->caption != text))
        return TRUE;
    s->found = hwnd;
    return FALSE;
}

}  // namespace detail

// A visible top-level window of the process (0: of any process), by class and
// caption (empty: any).
inline HWND FindShownWindow(DWORD process, const std::string& windowClass, const std::string& caption) {
    detail::WindowSearch search{process, &windowClass, &caption, nullptr};
    EnumWindows(detail::MatchShownWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Vantrel's main window once it is shown, by its caption.
inline HWND FindMainWindow(DWORD process) { return FindShownWindow(process, "", kMainCaption); }

// Runs the exe with arguments, as a deployment tool does, to its end: the
// exit code, or -1 when it did not start or did not end within a minute.
// *shown tells whether it showed any window on the way.
inline int RunToEnd(const std::string& arguments, bool* shown) {
    *shown = false;
    PROCESS_INFORMATION pi{};
    if (!StartProgram(VantrelExePath(), &pi, arguments)) return -1;
    bool timedOut = false;
    for (int waited = 0; WaitForSingleObject(pi.hProcess, 50) == WAIT_TIMEOUT; waited += 50) {
        *shown = *shown || FindShownWindow(pi.dwProcessId, "", "") != nullptr;
        if (waited > 60000 && !timedOut) {
            timedOut = true;
            TerminateProcess(pi.hProcess, 1);
        }
    }
    DWORD code = 0;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return timedOut ? -1 : static_cast<int>(code);
}

}  // namespace vantrel::test

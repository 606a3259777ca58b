#include "platform/win32/Win32Shell.h"

#include <windows.h>
#include <shellapi.h>

#include <vector>

#include "platform/win32/SystemFunction.h"

namespace vantrel {

void Win32CommandShell::Run(const std::string& commandLine, int windowStyle) {
    // The interpreter is the system folder's cmd.exe, named as the program to
    // start: left to the command line alone, CreateProcess would look for
    // "cmd" in the program's folder and the current folder first, and the Open
    // dialog can leave the current folder anywhere the user browsed to.
    char system[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryA(system, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return;
    const std::string interpreter = std::string(system, length) + "\\cmd.exe";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(windowStyle);
    PROCESS_INFORMATION process{};
    // CreateProcessA may write into the command line: hand it a copy.
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    if (CreateProcessA(interpreter.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                       &process)) {
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
}

void Win32Browser::Open(const std::string& address) {
    HWND owner = owner_ ? static_cast<HWND>(owner_()) : nullptr;
    using Execute = HINSTANCE(WINAPI*)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);
    static const auto execute = SystemFunction<Execute>("shell32.dll", "ShellExecuteA");
    if (execute) execute(owner, nullptr, address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace vantrel

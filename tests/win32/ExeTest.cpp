// The built Vantrel.exe itself: it starts, shows its main window with the
// navigation tree filled, and ends when the window is closed.
#include "platform/win32/WindowsApi.h"

#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

namespace vantrel::test {
namespace {

constexpr char kCaption[] = "Vantrel - Version 2.0 -A";

// VANTREL_EXE, as a Windows path (a Unix path is reached through drive Z:),
// or Vantrel.exe in the folder above this test program.
std::string ExePath() {
    if (const char* env = std::getenv("VANTREL_EXE"); env && *env) {
        std::string path = env;
        if (path[0] == '/') {
            path = "Z:" + path;
            for (char& c : path)
                if (c == '/') c = '\\';
        }
        return path;
    }
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string path = self;
    path.erase(path.find_last_of('\\'));
    return path + "\\..\\Vantrel.exe";
}

struct Search {
    DWORD process;
    HWND found;
};

BOOL CALLBACK FindMainWindow(HWND hwnd, LPARAM data) {
    auto* search = reinterpret_cast<Search*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    char caption[64] = {};
    GetWindowTextA(hwnd, caption, sizeof caption);
    if (owner == search->process && std::string(caption) == kCaption && IsWindowVisible(hwnd)) {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

TEST(VantrelExe, ShowsItsWindowAndEndsWhenItIsClosed) {
    const std::string exe = ExePath();
    ASSERT_NE(GetFileAttributesA(exe.c_str()), INVALID_FILE_ATTRIBUTES) << exe;
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::string commandLine = "\"" + exe + "\"";
    ASSERT_TRUE(CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        << "error " << GetLastError();

    Search search{pi.dwProcessId, nullptr};
    const DWORD until = GetTickCount() + 30000;
    while (!search.found && GetTickCount() < until &&
           WaitForSingleObject(pi.hProcess, 100) == WAIT_TIMEOUT) {
        EnumWindows(FindMainWindow, reinterpret_cast<LPARAM>(&search));
    }
    if (!search.found) TerminateProcess(pi.hProcess, 99);
    ASSERT_NE(search.found, nullptr) << "no visible window \"" << kCaption << "\" within 30 s";

    // Its first child that takes the focus is the navigation tree, filled with all nodes.
    HWND tree = FindWindowExA(search.found, nullptr, WC_TREEVIEWA, nullptr);
    ASSERT_NE(tree, nullptr);
    EXPECT_EQ(SendMessageA(tree, TVM_GETCOUNT, 0, 0), 19);
    EXPECT_NE(GetMenu(search.found), nullptr);

    PostMessageA(search.found, WM_CLOSE, 0, 0);
    const DWORD waited = WaitForSingleObject(pi.hProcess, 15000);
    if (waited != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 99);
    EXPECT_EQ(waited, WAIT_OBJECT_0) << "the process did not end";
    DWORD code = 99;
    GetExitCodeProcess(pi.hProcess, &code);
    EXPECT_EQ(code, 0u);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
}

}  // namespace
}  // namespace vantrel::test

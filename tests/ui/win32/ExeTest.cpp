// The built Vantrel.exe itself: it starts, shows its main window with the
// navigation tree filled, and ends when the window is closed.
#include "platform/win32/WindowsApi.h"

#include <string>

#include <gtest/gtest.h>

#include "ui/win32/RunningExe.h"

namespace vantrel::test {
namespace {

TEST(VantrelExe, ShowsItsWindowAndEndsWhenItIsClosed) {
    const std::string exe = VantrelExePath();
    ASSERT_NE(GetFileAttributesA(exe.c_str()), INVALID_FILE_ATTRIBUTES) << exe;
    PROCESS_INFORMATION pi{};
    ASSERT_TRUE(StartProgram(exe, &pi)) << "error " << GetLastError();

    HWND main = nullptr;
    const DWORD until = GetTickCount() + 30000;
    while (!main && GetTickCount() < until && WaitForSingleObject(pi.hProcess, 100) == WAIT_TIMEOUT)
        main = FindMainWindow(pi.dwProcessId);
    if (!main) TerminateProcess(pi.hProcess, 99);
    ASSERT_NE(main, nullptr) << "no visible window \"" << kMainCaption << "\" within 30 s";

    // Its first child that takes the focus is the navigation tree, filled with all nodes.
    HWND tree = FindWindowExA(main, nullptr, WC_TREEVIEWA, nullptr);
    ASSERT_NE(tree, nullptr);
    EXPECT_EQ(SendMessageA(tree, TVM_GETCOUNT, 0, 0), 19);
    EXPECT_NE(GetMenu(main), nullptr);

    PostMessageA(main, WM_CLOSE, 0, 0);
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

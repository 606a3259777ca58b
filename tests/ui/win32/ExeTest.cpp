// The built Vantrel.exe itself: it starts, shows its main window with the
// navigation tree filled, at the system's resolution, and ends when the
// window is closed; its resources name it and declare what it runs on.
#include "platform/win32/WindowsApi.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/Forms.h"
#include "platform/win32/Win32Registry.h"
#include "registry/RegistryRoutines.h"
#include "ui/win32/FormWindow.h"
#include "ui/win32/RegistrySnapshot.h"
#include "ui/win32/RunningExe.h"

namespace vantrel::test {
namespace {

TEST(VantrelExe, ShowsItsWindowAtTheResolutionAndEndsWhenItIsClosed) {
    const std::string exe = VantrelExePath();
    ASSERT_NE(GetFileAttributesA(exe.c_str()), INVALID_FILE_ATTRIBUTES) << exe;
    Win32Registry registry;
    const StoredValue resolution = ReadStored(registry, reg::kCurrentUser, "Control Panel\\Desktop", "LogPixels");
    for (const int dpi : {96, 144}) {
        SCOPED_TRACE(dpi);
        // The system resolution for this start only; the prefix's own is put back at once.
        SaveStringLong(registry, reg::kCurrentUser, "Control Panel\\Desktop", "LogPixels", std::to_string(dpi));
        PROCESS_INFORMATION pi{};
        const bool started = StartProgram(exe, &pi);
        HWND main = nullptr;
        const DWORD until = GetTickCount() + 30000;
        while (started && !main && GetTickCount() < until && WaitForSingleObject(pi.hProcess, 100) == WAIT_TIMEOUT)
            main = FindMainWindow(pi.dwProcessId);
        WriteStored(registry, resolution);
        ASSERT_TRUE(started) << "error " << GetLastError();
        if (!main) TerminateProcess(pi.hProcess, 99);
        ASSERT_NE(main, nullptr) << "no visible window \"" << kMainCaption << "\" within 30 s";

        // Its first child that takes the focus is the navigation tree, filled with all nodes.
        HWND tree = FindWindowExA(main, nullptr, WC_TREEVIEWA, nullptr);
        ASSERT_NE(tree, nullptr);
        EXPECT_EQ(SendMessageA(tree, TVM_GETCOUNT, 0, 0), 19);
        EXPECT_NE(GetMenu(main), nullptr);
        // The layout and the logo (50 x 37 at 96 dots per inch) grow with the resolution.
        RECT client{}, logo{};
        GetClientRect(main, &client);
        GetWindowRect(GetDlgItem(main, win32::ControlId(Form1Def(), "Image1")), &logo);
        EXPECT_EQ(client.right, win32::TwipsToPixels(Form1Def().clientWidth, dpi));
        EXPECT_EQ(logo.right - logo.left, MulDiv(50, dpi, 96));
        EXPECT_EQ(logo.bottom - logo.top, MulDiv(37, dpi, 96));

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
}

// The value part of an About page line ("Author:           Corvane Software").
std::string AboutValue(const char* label) {
    for (const ControlDef& c : Form1Def().controls) {
        const std::string line = c.caption;
        if (label == std::string(c.name)) return line.substr(line.find_first_not_of(' ', line.find(':') + 1));
    }
    return "?";
}

TEST(VantrelExe, NamesItselfAsTheAboutPageDoesAndDeclaresItsSystems) {
    const std::string exe = VantrelExePath();
    DWORD ignored = 0;
    std::vector<char> info(GetFileVersionInfoSizeA(exe.c_str(), &ignored));
    ASSERT_FALSE(info.empty());
    ASSERT_TRUE(GetFileVersionInfoA(exe.c_str(), 0, static_cast<DWORD>(info.size()), info.data()));
    const std::pair<const char*, const char*> names[] = {{"ProductName", "Label96"}, {"FileDescription", "Label96"},
                                                         {"ProductVersion", "Label97"}, {"FileVersion", "Label97"},
                                                         {"CompanyName", "Label98"}};
    for (const auto& [name, label] : names) {
        void* text = nullptr;
        UINT length = 0;
        const std::string path = std::string("\\StringFileInfo\\040904B0\\") + name;
        ASSERT_TRUE(VerQueryValueA(info.data(), path.c_str(), &text, &length)) << name;
        EXPECT_EQ(static_cast<const char*>(text), AboutValue(label)) << name;
    }

    HMODULE image = LoadLibraryExA(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    HRSRC found = FindResourceA(image, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));  // RT_MANIFEST
    ASSERT_NE(found, nullptr);
    const std::string manifest(static_cast<const char*>(LockResource(LoadResource(image, found))),
                               SizeofResource(image, found));
    FreeLibrary(image);
    // Vista, 7, 8, 8.1, 10 and 11
    for (const char* id : {"{e2011457-1546-43c5-a5fe-008deee3d3f0}", "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",
                           "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}", "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",
                           "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"})
        EXPECT_NE(manifest.find(std::string("<supportedOS Id=\"") + id), std::string::npos) << id;
    EXPECT_NE(manifest.find(">true</dpiAware>"), std::string::npos);
}

}  // namespace
}  // namespace vantrel::test

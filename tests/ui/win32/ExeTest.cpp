// The built Vantrel.exe itself: it starts, shows its main window with the
// navigation tree filled, at the system's resolution, times its start-up
// steps when asked, and ends when the window is closed; its resources name it
// and declare what it runs on, and it is loaded with no library that start-up
// does not need.
#include "platform/win32/WindowsApi.h"

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstring>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "model/Forms.h"
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
    // The first start times its steps into a file.
    char folder[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, folder);
    const std::string trace = std::string(folder) + "vantrel-trace-" + std::to_string(GetCurrentProcessId()) + ".txt";
    DeleteFileA(trace.c_str());
    for (const int dpi : {96, 144}) {
        SCOPED_TRACE(dpi);
        // The system resolution for this start only; the prefix's own is put back at once.
        SaveStringLong(registry, reg::kCurrentUser, "Control Panel\\Desktop", "LogPixels", std::to_string(dpi));
        PROCESS_INFORMATION pi{};
        SetEnvironmentVariableA("VANTREL_TRACE", dpi == 96 ? trace.c_str() : nullptr);
        const bool started = StartProgram(exe, &pi);
        SetEnvironmentVariableA("VANTREL_TRACE", nullptr);
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
        EXPECT_EQ(SendMessageA(tree, TVM_GETCOUNT, 0, 0), 24);
        EXPECT_NE(GetMenu(main), nullptr);
        // The layout and the logo (50 x 37 at 96 dots per inch) grow with the resolution.
        // The controls outside the pages are made at the event loop's first
        // message, which may come a little after the window shows.
        HWND image = nullptr;
        for (const DWORD wait = GetTickCount() + 10000; !image && GetTickCount() < wait; Sleep(20))
            image = GetDlgItem(main, win32::ControlId(Form1Def(), "Image1"));
        ASSERT_NE(image, nullptr) << "no logo within 10 s";
        RECT client{}, logo{};
        GetClientRect(main, &client);
        GetWindowRect(image, &logo);
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

    // One line a step: milliseconds since the process was created, never
    // going back, the step's own milliseconds and its name; the window last.
    std::ifstream in(trace);
    std::vector<std::string> steps;
    double last = 0, at = 0, took = 0;
    std::string name;
    while (in >> at >> took && std::getline(in, name)) {
        EXPECT_GE(at, last) << name;
        EXPECT_GE(took, 0.0) << name;
        last = at;
        steps.push_back(name.substr(name.find_first_not_of(' ')));
    }
    in.close();
    DeleteFileA(trace.c_str());
    ASSERT_GE(steps.size(), 5u);
    EXPECT_EQ(std::count(steps.begin(), steps.end(), "settings loaded"), 1);
    EXPECT_EQ(steps.back(), "main window shown and painted");
}

// The names of the libraries in an exe's import table, in lower case.
std::set<std::string> ImportedLibraries(const std::string& exe) {
    std::ifstream in(exe, std::ios::binary);
    const std::vector<char> file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::set<std::string> names;
    auto at = [&file](size_t offset, size_t size) { return offset + size <= file.size() ? &file[offset] : nullptr; };
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(at(0, sizeof(IMAGE_DOS_HEADER)));
    if (!dos) return names;
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(at(dos->e_lfanew, sizeof(IMAGE_NT_HEADERS)));
    if (!nt) return names;
    const auto* sections = reinterpret_cast<const IMAGE_SECTION_HEADER*>(
        at(dos->e_lfanew + offsetof(IMAGE_NT_HEADERS, OptionalHeader) + nt->FileHeader.SizeOfOptionalHeader,
           nt->FileHeader.NumberOfSections * sizeof(IMAGE_SECTION_HEADER)));
    auto offsetOf = [&](DWORD rva) -> size_t {  // a relative address in the file, 0 when outside every section
        for (int i = 0; sections && i < nt->FileHeader.NumberOfSections; ++i) {
            const IMAGE_SECTION_HEADER& s = sections[i];
            if (rva >= s.VirtualAddress && rva < s.VirtualAddress + s.SizeOfRawData)
                return rva - s.VirtualAddress + s.PointerToRawData;
        }
        return 0;
    };
    size_t entry = offsetOf(nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress);
    while (const auto* d = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(at(entry, sizeof(IMAGE_IMPORT_DESCRIPTOR)))) {
        const size_t name = d->Name ? offsetOf(d->Name) : 0;
        if (!entry || !name) break;
        std::string text(&file[name], strnlen(&file[name], file.size() - name));
        std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
        names.insert(text);
        entry += sizeof(IMAGE_IMPORT_DESCRIPTOR);
    }
    return names;
}

// The shell, common dialog and COM libraries bring many others along and
// nothing at start-up needs them: they are bound when first used. The window
// libraries are loaded on first use too (delay-loaded), so that an unattended
// run, which makes no window, loads none of them. Every library ships with
// Windows XP.
TEST(VantrelExe, LoadsOnlyTheLibrariesStartUpNeeds) {
    EXPECT_EQ(ImportedLibraries(VantrelExePath()), (std::set<std::string>{"advapi32.dll", "kernel32.dll", "msvcrt.dll"}));
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

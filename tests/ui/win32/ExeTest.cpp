// The built Vantrel.exe itself: it starts, shows its main window with the
// navigation tree filled, times its start-up steps when asked, and ends when
// the window is closed; it is loaded with no library that start-up does not need.
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

#include "ui/win32/RunningExe.h"

namespace vantrel::test {
namespace {

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
// nothing at start-up needs them: they are bound when first used. Every
// library that remains ships with Windows XP.
TEST(VantrelExe, LoadsOnlyTheLibrariesStartUpNeeds) {
    EXPECT_EQ(ImportedLibraries(VantrelExePath()),
              (std::set<std::string>{"advapi32.dll", "comctl32.dll", "gdi32.dll", "kernel32.dll", "msvcrt.dll",
                                     "user32.dll"}));
}

TEST(VantrelExe, ShowsItsWindowAndEndsWhenItIsClosed) {
    const std::string exe = VantrelExePath();
    ASSERT_NE(GetFileAttributesA(exe.c_str()), INVALID_FILE_ATTRIBUTES) << exe;
    // Started with its start-up steps timed into a file.
    char folder[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, folder);
    const std::string trace = std::string(folder) + "vantrel-trace-" + std::to_string(GetCurrentProcessId()) + ".txt";
    DeleteFileA(trace.c_str());
    SetEnvironmentVariableA("VANTREL_TRACE", trace.c_str());
    PROCESS_INFORMATION pi{};
    const bool started = StartProgram(exe, &pi);
    SetEnvironmentVariableA("VANTREL_TRACE", nullptr);
    ASSERT_TRUE(started) << "error " << GetLastError();

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

}  // namespace
}  // namespace vantrel::test

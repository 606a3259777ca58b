// The test prefix as another Windows: `winecfg -v` sets the Windows version
// that programs started afterwards see, and `reg add` stores policy values.
// The guard puts back the prefix's version and the values it was told of.
#pragma once

#include "platform/win32/WindowsApi.h"

#include <string>
#include <vector>

#include "ui/win32/PrefixGuards.h"

namespace vantrel::test {

// Runs a program of the system folder with its arguments and waits for it:
// its exit code, or -1 when it did not start or end within a minute.
inline int RunSystemProgram(const std::string& commandLine) {
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::string line = commandLine;
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return -1;
    const bool ended = WaitForSingleObject(pi.hProcess, 60000) == WAIT_OBJECT_0;
    DWORD code = 0;
    GetExitCodeProcess(pi.hProcess, &code);
    if (!ended) TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return ended ? static_cast<int>(code) : -1;
}

// While it lives, programs started see the Windows version it was last set
// to; afterwards the prefix's own version is back, and so are the values
// named. (Wine 8's winecfg keeps the version in these values: a registry
// export before and after `winecfg -v win10` differs in them alone.)
class WineVersionGuard {
public:
    WineVersionGuard(Win32Registry& reg, const std::vector<ValueRef>& values) : restore_(reg, WithVersion(values)) {}
    // "winxp", "win7", "win10".
    bool Set(const std::string& version) { return RunSystemProgram("winecfg.exe -v " + version) == 0; }

private:
    static std::vector<ValueRef> WithVersion(std::vector<ValueRef> values) {
        const char* const current = "Software\\Microsoft\\Windows NT\\CurrentVersion";
        for (const char* name : {"CSDVersion", "CurrentBuild", "CurrentBuildNumber", "CurrentMajorVersionNumber",
                                 "CurrentMinorVersionNumber", "CurrentVersion", "ProductName"}) {
            values.push_back({reg::kLocalMachine, current, name});
        }
        values.push_back({reg::kLocalMachine, "System\\CurrentControlSet\\Control\\Windows", "CSDVersion"});
        values.push_back({reg::kCurrentUser, "Software\\Wine", "Version"});
        return values;
    }
    RegistryGuard restore_;
};

// `reg add` of a REG_DWORD value under a root ("HKCU", "HKLM").
inline bool AddDword(const std::string& root, const std::string& key, const std::string& name, unsigned value) {
    return RunSystemProgram("reg.exe add \"" + root + "\\" + key + "\" /v " + name + " /t REG_DWORD /d " +
                            std::to_string(value) + " /f") == 0;
}

}  // namespace vantrel::test

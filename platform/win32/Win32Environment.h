// The user's folders (the registry, SHGetFolderPathA), the local time
// (GetLocalTime), whether the program runs under WOW64 (IsWow64Process), new
// identifiers (CoCreateGuid), the Windows version (RtlGetVersion) and its
// edition (GetVersionEx, GetProductInfo).
#pragma once

#include "platform/Platform.h"

namespace vantrel {

class Win32Environment : public Environment {
public:
    // The registry's "AppData" user shell folder, expanded; else CSIDL_APPDATA,
    // created when missing; else %USERPROFILE%\Application Data; "" when none
    // is known.
    std::string AppDataFolder() override;
    // The USERPROFILE variable when it names a folder; else CSIDL_PROFILE.
    std::string ProfileFolder() override;
    std::tm Now() override;
    std::tm NowUtc() override;
    // Asked once. IsWow64Process is looked up when needed: Windows XP before
    // SP2 lacks it, and there is no WOW64 where it is missing ("IsWow64Process",
    // learn.microsoft.com/windows/win32/api/wow64apiset).
    bool RunsUnderWow64() override;
    // CoCreateGuid, bound on first use: nothing at start-up needs ole32.
    std::string NewGuid() override;
    // RtlGetVersion of ntdll, looked up when first asked.
    vantrel::WindowsVersion WindowsVersion() override;
    // GetVersionEx's suite mask and product type; on Windows Vista and later
    // also GetProductInfo, looked up at run time (Windows XP lacks it).
    vantrel::WindowsEdition WindowsEdition() override;
};

}  // namespace vantrel

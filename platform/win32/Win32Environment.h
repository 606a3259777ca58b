// The user's folders (SHGetFolderPathA), the local time (GetLocalTime) and
// the Windows version (RtlGetVersion).
#pragma once

#include "platform/Platform.h"

namespace vantrel {

class Win32Environment : public Environment {
public:
    // CSIDL_APPDATA, created when missing; else %USERPROFILE%\Application Data;
    // "" when neither is known.
    std::string AppDataFolder() override;
    // CSIDL_PROFILE, or the USERPROFILE variable where the shell lacks it.
    std::string ProfileFolder() override;
    std::tm Now() override;
    // RtlGetVersion of ntdll, looked up when first asked.
    vantrel::WindowsVersion WindowsVersion() override;
};

}  // namespace vantrel

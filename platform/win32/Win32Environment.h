// The user's folders (the registry, SHGetFolderPathA) and the local time (GetLocalTime).
#pragma once

#include "platform/Platform.h"

namespace vantrel {

class Win32Environment : public Environment {
public:
    // The registry's "AppData" user shell folder, expanded; else CSIDL_APPDATA,
    // created when missing; else %USERPROFILE%\Application Data; "" when none
    // is known.
    std::string AppDataFolder() override;
    // CSIDL_PROFILE, or the USERPROFILE variable where the shell lacks it.
    std::string ProfileFolder() override;
    std::tm Now() override;
};

}  // namespace vantrel

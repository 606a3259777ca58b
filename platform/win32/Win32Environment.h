// The user's folders (SHGetFolderPathA), the local time (GetLocalTime) and new
// identifiers (CoCreateGuid).
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
    // CoCreateGuid, bound on first use: nothing at start-up needs ole32.
    std::string NewGuid() override;
};

}  // namespace vantrel

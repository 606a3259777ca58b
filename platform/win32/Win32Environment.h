// The user's folders (SHGetFolderPathA) and the local time (GetLocalTime).
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
};

}  // namespace vantrel

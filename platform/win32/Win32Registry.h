// The registry through advapi32's ANSI functions. RegKey values are HKEYs;
// the two roots are HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE themselves.
#pragma once

#include <string>

#include "registry/Registry.h"

namespace vantrel {

class Win32Registry : public Registry {
public:
    long OpenKey(RegKey parent, const std::string& subKey, RegKey* out) override;
    long CreateKey(RegKey parent, const std::string& subKey, RegKey* out) override;
    long QueryValue(RegKey key, const std::string& name, std::uint32_t* type, std::uint8_t* data,
                    std::uint32_t* size) override;
    long SetValue(RegKey key, const std::string& name, std::uint32_t type, const std::uint8_t* data,
                  std::uint32_t size) override;
    long DeleteValue(RegKey key, const std::string& name) override;
    long EnumKey(RegKey key, std::uint32_t index, char* name, std::uint32_t* nameLen) override;
    long EnumValue(RegKey key, std::uint32_t index, char* name, std::uint32_t* nameLen, std::uint32_t* type,
                   std::uint8_t* data, std::uint32_t* dataLen) override;
    long CloseKey(RegKey key) override;

    // Removes a key and everything below it, deepest keys first (RegDeleteKeyA
    // removes only keys without subkeys on Windows NT). Returns 0, also when
    // the key is not there.
    long DeleteKeyTree(RegKey root, const std::string& path);
};

}  // namespace vantrel

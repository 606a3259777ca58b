// The registry through advapi32: the ANSI functions, and the wide value
// functions for backups and .reg files. RegKey values are HKEYs; the roots
// are the predefined HKEYs themselves, and a root with a view flag
// (reg::kView64, reg::kView32) opens its keys in that registry view. The A
// functions convert through the system's ANSI code page (CP_ACP).
#pragma once

#include <windows.h>

#include <map>
#include <string>

#include "registry/Registry.h"

namespace vantrel {

// The system's ANSI code page, through MultiByteToWideChar and WideCharToMultiByte.
const CodePage& SystemCodePage();

class Win32Registry : public Registry {
public:
    long OpenKey(RegKey parent, const std::string& subKey, RegKey* out) override;
    long CreateKey(RegKey parent, const std::string& subKey, RegKey* out) override;
    long MayWrite(RegKey parent, const std::string& subKey) override;
    long QueryValue(RegKey key, const std::string& name, std::uint32_t* type, std::uint8_t* data,
                    std::uint32_t* size) override;
    long SetValue(RegKey key, const std::string& name, std::uint32_t type, const std::uint8_t* data,
                  std::uint32_t size) override;
    long DeleteValue(RegKey key, const std::string& name) override;
    long EnumKey(RegKey key, std::uint32_t index, char* name, std::uint32_t* nameLen) override;
    long EnumValue(RegKey key, std::uint32_t index, char* name, std::uint32_t* nameLen, std::uint32_t* type,
                   std::uint8_t* data, std::uint32_t* dataLen) override;
    long CloseKey(RegKey key) override;
    long QueryValueW(RegKey key, const std::u16string& name, std::uint32_t* type, std::uint8_t* data,
                     std::uint32_t* size) override;
    long SetValueW(RegKey key, const std::u16string& name, std::uint32_t type, const std::uint8_t* data,
                   std::uint32_t size) override;
    long DeleteValueW(RegKey key, const std::u16string& name) override;
    long EnumValueW(RegKey key, std::uint32_t index, char16_t* name, std::uint32_t* nameLen, std::uint32_t* type,
                    std::uint8_t* data, std::uint32_t* dataLen) override;
    const CodePage& codePage() override;

    // Removes a key and everything below it, deepest keys first (RegDeleteKeyA
    // removes only keys without subkeys on Windows NT). Returns 0, also when
    // the key is not there.
    long DeleteKeyTree(RegKey root, const std::string& path);

private:
    // The view flag a key's subkeys are opened with: a root's own, or the one
    // its handle was opened with (0 for the process's own view).
    REGSAM ViewOf(RegKey key) const;
    long Opened(long status, HKEY key, REGSAM view, RegKey* out);

    std::map<RegKey, REGSAM> views_;  // handles open in a view
};

}  // namespace vantrel

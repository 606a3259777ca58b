// The registry as Vantrel reaches it: exactly the advapi32 operations the
// program uses, with Win32's result codes. Two backends implement it: the
// real advapi32 functions (Windows build) and an in-memory store (native
// build and tests).
//
// The settings pass through the A functions, in the system's ANSI code page.
// Backups and .reg files use the wide (W) value functions, which see names
// and string data as the registry holds them, in UTF-16.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "registry/CodePage.h"

namespace vantrel {

// A key handle. Predefined roots use their Win32 handle values; 0 is "no key".
using RegKey = std::uintptr_t;

namespace reg {
constexpr RegKey kClassesRoot = 0x80000000u;    // HKEY_CLASSES_ROOT
constexpr RegKey kCurrentUser = 0x80000001u;    // HKEY_CURRENT_USER
constexpr RegKey kLocalMachine = 0x80000002u;   // HKEY_LOCAL_MACHINE
constexpr RegKey kUsers = 0x80000003u;          // HKEY_USERS
constexpr RegKey kCurrentConfig = 0x80000005u;  // HKEY_CURRENT_CONFIG

// A root seen through one registry view of 64-bit Windows: the root's value
// with the flag that RegOpenKeyEx and RegCreateKeyEx take for that view
// (KEY_WOW64_64KEY 0x0100, KEY_WOW64_32KEY 0x0200; "Accessing an Alternate
// Registry View", learn.microsoft.com/windows/win32/winprog64). A plain root
// is the process's own view: for a 32-bit program on 64-bit Windows, the
// 32-bit one. On 32-bit Windows there is one view and the flags change
// nothing. Keys opened from a root in a view stay in it. Only the backends
// and NativeViewRegistry take these; layers above name the plain roots.
constexpr RegKey kView64 = 0x0100u;
constexpr RegKey kView32 = 0x0200u;
constexpr RegKey kViewBits = kView64 | kView32;
constexpr RegKey kLocalMachine64 = kLocalMachine | kView64;
constexpr RegKey kLocalMachine32 = kLocalMachine | kView32;
// Whether a key is a predefined root, in any view.
constexpr bool IsRoot(RegKey key) {
    return (key & ~kViewBits) >= kClassesRoot && (key & ~kViewBits) <= kCurrentConfig + 1;
}
// The root without its view; handles are returned as they are.
constexpr RegKey PlainRoot(RegKey key) { return IsRoot(key) ? key & ~kViewBits : key; }

// Result codes, as Win32 returns them.
constexpr long kSuccess = 0;
constexpr long kFileNotFound = 2;
constexpr long kAccessDenied = 5;
constexpr long kInvalidHandle = 6;
constexpr long kNotSupported = 50;
constexpr long kInvalidParameter = 87;
constexpr long kBadPathname = 161;
constexpr long kMoreData = 234;
constexpr long kNoMoreItems = 259;

// Value types.
constexpr std::uint32_t kNone = 0;
constexpr std::uint32_t kSz = 1;
constexpr std::uint32_t kExpandSz = 2;
constexpr std::uint32_t kBinary = 3;
constexpr std::uint32_t kDword = 4;
constexpr std::uint32_t kMultiSz = 7;

// REG_DWORD data: the number's four bytes, least significant first.
inline std::array<std::uint8_t, 4> DwordBytes(std::uint32_t number) {
    return {static_cast<std::uint8_t>(number), static_cast<std::uint8_t>(number >> 8),
            static_cast<std::uint8_t>(number >> 16), static_cast<std::uint8_t>(number >> 24)};
}
// The number in four bytes of REG_DWORD data.
inline std::uint32_t DwordOf(const std::uint8_t* bytes) {
    return bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) | (std::uint32_t{bytes[3]} << 24);
}
}  // namespace reg

class Registry {
public:
    virtual ~Registry() = default;

    // RegOpenKeyA: opens an existing key, never creates. On failure *out is
    // left untouched.
    virtual long OpenKey(RegKey parent, const std::string& subKey, RegKey* out) = 0;
    // RegCreateKeyA: opens the key, creating it and every missing key above.
    virtual long CreateKey(RegKey parent, const std::string& subKey, RegKey* out) = 0;
    // Whether a value could be set in the key (made first when missing),
    // asked without writing anything: for a key that exists, whether its
    // values may be set (KEY_SET_VALUE); for a missing one, whether a subkey
    // may be made under its nearest existing ancestor (KEY_CREATE_SUB_KEY).
    // Returns 0, or the code the write would meet (5 where the user may only
    // read: RegCreateKeyA opens such a key all the same, and only the value's
    // write is refused).
    virtual long MayWrite(RegKey parent, const std::string& subKey) = 0;
    // RegQueryValueExA: data may be null (size query). *size is in/out bytes.
    virtual long QueryValue(RegKey key, const std::string& name, std::uint32_t* type,
                            std::uint8_t* data, std::uint32_t* size) = 0;
    // RegSetValueExA: creates or replaces the value with exactly these bytes.
    virtual long SetValue(RegKey key, const std::string& name, std::uint32_t type,
                          const std::uint8_t* data, std::uint32_t size) = 0;
    // RegDeleteValueA.
    virtual long DeleteValue(RegKey key, const std::string& name) = 0;
    // RegEnumKeyExA: *nameLen in characters (buffer size in, stored length out).
    virtual long EnumKey(RegKey key, std::uint32_t index, char* name, std::uint32_t* nameLen) = 0;
    // RegEnumValueA: type and data may be null; *dataLen in/out bytes.
    virtual long EnumValue(RegKey key, std::uint32_t index, char* name, std::uint32_t* nameLen,
                           std::uint32_t* type, std::uint8_t* data, std::uint32_t* dataLen) = 0;
    // RegCloseKey: harmless on 0 and on the predefined roots.
    virtual long CloseKey(RegKey key) = 0;

    // The wide forms: RegQueryValueExW, RegSetValueExW, RegDeleteValueW and
    // RegEnumValueW. Names are UTF-16 (*nameLen in UTF-16 units); the data of
    // REG_SZ, REG_EXPAND_SZ and REG_MULTI_SZ is the UTF-16LE the registry
    // holds, byte for byte: nothing converted and no NUL added.
    virtual long QueryValueW(RegKey key, const std::u16string& name, std::uint32_t* type, std::uint8_t* data,
                             std::uint32_t* size) = 0;
    virtual long SetValueW(RegKey key, const std::u16string& name, std::uint32_t type, const std::uint8_t* data,
                           std::uint32_t size) = 0;
    virtual long DeleteValueW(RegKey key, const std::u16string& name) = 0;
    virtual long EnumValueW(RegKey key, std::uint32_t index, char16_t* name, std::uint32_t* nameLen,
                            std::uint32_t* type, std::uint8_t* data, std::uint32_t* dataLen) = 0;

    // The code page through which the A functions convert names and string data.
    virtual const CodePage& codePage() = 0;
};

}  // namespace vantrel

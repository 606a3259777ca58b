#include "platform/win32/Win32Registry.h"

#include <windows.h>

#include <vector>

#include "platform/win32/SystemFunction.h"

namespace vantrel {

namespace {

// The roots are named explicitly: on 64-bit Windows the predefined HKEYs are
// sign-extended, while RegKey keeps their 32-bit values.
struct Root {
    RegKey key;
    HKEY hkey;
};
const Root kRoots[] = {
    {reg::kClassesRoot, HKEY_CLASSES_ROOT}, {reg::kCurrentUser, HKEY_CURRENT_USER},
    {reg::kLocalMachine, HKEY_LOCAL_MACHINE}, {reg::kUsers, HKEY_USERS},
    {reg::kCurrentConfig, HKEY_CURRENT_CONFIG},
};

HKEY ToHkey(RegKey key) {
    for (const Root& root : kRoots) {
        if (root.key == reg::PlainRoot(key)) return root.hkey;
    }
    return reinterpret_cast<HKEY>(key);
}

RegKey FromHkey(HKEY key) {
    for (const Root& root : kRoots) {
        if (root.hkey == key) return root.key;
    }
    return reinterpret_cast<RegKey>(key);
}

const wchar_t* Wide(const std::u16string& text) {
    return reinterpret_cast<const wchar_t*>(text.c_str());
}

class AnsiCodePage : public CodePage {
public:
    std::u16string ToWide(std::string_view ansi) const override {
        if (ansi.empty()) return {};
        const int size = static_cast<int>(ansi.size());
        const int units = MultiByteToWideChar(CP_ACP, 0, ansi.data(), size, nullptr, 0);
        std::u16string wide(static_cast<std::size_t>(units > 0 ? units : 0), u'\0');
        if (units > 0) MultiByteToWideChar(CP_ACP, 0, ansi.data(), size, reinterpret_cast<wchar_t*>(wide.data()), units);
        return wide;
    }
    // A character the code page lacks becomes its default character, never a
    // look-alike: WC_NO_BEST_FIT_CHARS "translates any Unicode characters that
    // do not translate directly to multibyte equivalents to the default
    // character". Code pages that take no flags refuse it with
    // ERROR_INVALID_FLAGS, and convert without it. (Microsoft Learn,
    // "WideCharToMultiByte function (stringapiset.h)", dwFlags.)
    std::string ToAnsi(std::u16string_view wide) const override {
        if (wide.empty()) return {};
        const auto* units = reinterpret_cast<const wchar_t*>(wide.data());
        const int size = static_cast<int>(wide.size());
        DWORD flags = WC_NO_BEST_FIT_CHARS;
        int bytes = WideCharToMultiByte(CP_ACP, flags, units, size, nullptr, 0, nullptr, nullptr);
        if (bytes <= 0 && GetLastError() == ERROR_INVALID_FLAGS) {
            flags = 0;
            bytes = WideCharToMultiByte(CP_ACP, flags, units, size, nullptr, 0, nullptr, nullptr);
        }
        std::string ansi(static_cast<std::size_t>(bytes > 0 ? bytes : 0), '\0');
        if (bytes > 0) WideCharToMultiByte(CP_ACP, flags, units, size, ansi.data(), bytes, nullptr, nullptr);
        return ansi;
    }
};

// Runs an advapi32 call that reports a size through a DWORD, copying the
// size back whether or not the call succeeded (ERROR_MORE_DATA sets it too).
template <typename Call>
long WithDword(std::uint32_t* value, Call call) {
    DWORD dword = value != nullptr ? *value : 0;
    const long status = call(value != nullptr ? &dword : nullptr);
    if (value != nullptr) *value = dword;
    return status;
}

}  // namespace

const CodePage& SystemCodePage() {
    static const AnsiCodePage codePage;
    return codePage;
}

REGSAM Win32Registry::ViewOf(RegKey key) const {
    if (reg::IsRoot(key)) return static_cast<REGSAM>(key & reg::kViewBits);
    const auto it = views_.find(key);
    return it == views_.end() ? 0 : it->second;
}

// A key opened from one in a view stays in that view: every later open or
// create below it names the same flag ("Accessing an Alternate Registry View").
long Win32Registry::Opened(long status, HKEY key, REGSAM view, RegKey* out) {
    if (status != ERROR_SUCCESS) return status;
    const RegKey handle = FromHkey(key);
    if (view != 0 && !reg::IsRoot(handle)) views_[handle] = view;
    if (out != nullptr) *out = handle;
    return status;
}

// RegOpenKeyA and RegCreateKeyA take no view flag, so a key in a view is
// opened with the Ex forms. Which access the A forms ask for is not
// documented (unknown); the Ex forms ask for MAXIMUM_ALLOWED ("ACCESS_MASK",
// learn.microsoft.com/windows/win32/secauthz/access-mask), which opens a key
// the user may only read and leaves the refusal to the write, as the A forms
// do here.
long Win32Registry::OpenKey(RegKey parent, const std::string& subKey, RegKey* out) {
    HKEY key = nullptr;
    const REGSAM view = ViewOf(parent);
    const long status = view == 0 ? RegOpenKeyA(ToHkey(parent), subKey.c_str(), &key)
                                  : RegOpenKeyExA(ToHkey(parent), subKey.c_str(), 0, MAXIMUM_ALLOWED | view, &key);
    return Opened(status, key, view, out);
}

long Win32Registry::CreateKey(RegKey parent, const std::string& subKey, RegKey* out) {
    HKEY key = nullptr;
    const REGSAM view = ViewOf(parent);
    const long status = view == 0 ? RegCreateKeyA(ToHkey(parent), subKey.c_str(), &key)
                                  : RegCreateKeyExA(ToHkey(parent), subKey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                                    MAXIMUM_ALLOWED | view, nullptr, &key, nullptr);
    return Opened(status, key, view, out);
}

long Win32Registry::MayWrite(RegKey parent, const std::string& subKey) {
    // The path in UTF-16, where every backslash is a separator (in a
    // double-byte code page a character's second byte can be one).
    std::u16string path = SystemCodePage().ToWide(subKey);
    if (!path.empty() && path.back() == u'\\') path.pop_back();
    const HKEY from = ToHkey(parent);
    const REGSAM view = ViewOf(parent);
    REGSAM access = KEY_SET_VALUE;
    while (true) {
        HKEY key = nullptr;
        const long status = RegOpenKeyExW(from, Wide(path), 0, access | view, &key);
        if (status == ERROR_SUCCESS && key != from) RegCloseKey(key);
        if (status != ERROR_FILE_NOT_FOUND || path.empty()) return status;
        // Missing: the key would be made under its nearest existing ancestor.
        const std::size_t cut = path.rfind(u'\\');
        path.resize(cut == std::u16string::npos ? 0 : cut);
        access = KEY_CREATE_SUB_KEY;
    }
}

long Win32Registry::QueryValue(RegKey key, const std::string& name, std::uint32_t* type, std::uint8_t* data,
                               std::uint32_t* size) {
    DWORD valueType = 0;
    const long status = WithDword(size, [&](DWORD* dwordSize) {
        return RegQueryValueExA(ToHkey(key), name.c_str(), nullptr, &valueType, data, dwordSize);
    });
    if (type != nullptr && (status == ERROR_SUCCESS || status == ERROR_MORE_DATA)) *type = valueType;
    return status;
}

long Win32Registry::SetValue(RegKey key, const std::string& name, std::uint32_t type, const std::uint8_t* data,
                             std::uint32_t size) {
    return RegSetValueExA(ToHkey(key), name.c_str(), 0, type, data, size);
}

long Win32Registry::DeleteValue(RegKey key, const std::string& name) {
    return RegDeleteValueA(ToHkey(key), name.c_str());
}

long Win32Registry::EnumKey(RegKey key, std::uint32_t index, char* name, std::uint32_t* nameLen) {
    return WithDword(nameLen, [&](DWORD* len) {
        return RegEnumKeyExA(ToHkey(key), index, name, len, nullptr, nullptr, nullptr, nullptr);
    });
}

long Win32Registry::EnumValue(RegKey key, std::uint32_t index, char* name, std::uint32_t* nameLen,
                              std::uint32_t* type, std::uint8_t* data, std::uint32_t* dataLen) {
    DWORD valueType = 0;
    const long status = WithDword(nameLen, [&](DWORD* len) {
        return WithDword(dataLen, [&](DWORD* dlen) {
            return RegEnumValueA(ToHkey(key), index, name, len, nullptr, type != nullptr ? &valueType : nullptr, data,
                                 dlen);
        });
    });
    if (type != nullptr && (status == ERROR_SUCCESS || status == ERROR_MORE_DATA)) *type = valueType;
    return status;
}

long Win32Registry::CloseKey(RegKey key) {
    views_.erase(key);
    return RegCloseKey(ToHkey(key));
}

long Win32Registry::QueryValueW(RegKey key, const std::u16string& name, std::uint32_t* type, std::uint8_t* data,
                                std::uint32_t* size) {
    DWORD valueType = 0;
    const long status = WithDword(size, [&](DWORD* dwordSize) {
        return RegQueryValueExW(ToHkey(key), Wide(name), nullptr, &valueType, data, dwordSize);
    });
    if (type != nullptr && (status == ERROR_SUCCESS || status == ERROR_MORE_DATA)) *type = valueType;
    return status;
}

long Win32Registry::SetValueW(RegKey key, const std::u16string& name, std::uint32_t type, const std::uint8_t* data,
                              std::uint32_t size) {
    return RegSetValueExW(ToHkey(key), Wide(name), 0, type, data, size);
}

long Win32Registry::DeleteValueW(RegKey key, const std::u16string& name) {
    return RegDeleteValueW(ToHkey(key), Wide(name));
}

long Win32Registry::EnumValueW(RegKey key, std::uint32_t index, char16_t* name, std::uint32_t* nameLen,
                               std::uint32_t* type, std::uint8_t* data, std::uint32_t* dataLen) {
    DWORD valueType = 0;
    const long status = WithDword(nameLen, [&](DWORD* len) {
        return WithDword(dataLen, [&](DWORD* dlen) {
            return RegEnumValueW(ToHkey(key), index, reinterpret_cast<wchar_t*>(name), len, nullptr,
                                 type != nullptr ? &valueType : nullptr, data, dlen);
        });
    });
    if (type != nullptr && (status == ERROR_SUCCESS || status == ERROR_MORE_DATA)) *type = valueType;
    return status;
}

const CodePage& Win32Registry::codePage() {
    return SystemCodePage();
}

long Win32Registry::DeleteKeyTree(RegKey root, const std::string& path) {
    if (path.empty() || path == "\\") return ERROR_ACCESS_DENIED;  // never a whole root
    RegKey key = 0;
    long status = OpenKey(root, path, &key);
    if (status == ERROR_FILE_NOT_FOUND) return ERROR_SUCCESS;
    if (status != ERROR_SUCCESS) return status;

    // Collect the names first: deleting while enumerating shifts the indexes.
    std::vector<std::string> children;
    char name[256];
    for (DWORD index = 0;; ++index) {
        DWORD len = sizeof name;
        if (RegEnumKeyExA(ToHkey(key), index, name, &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        children.emplace_back(name, len);
    }
    CloseKey(key);

    std::string base = path;
    if (!base.empty() && base.back() == '\\') base.pop_back();
    for (const std::string& child : children) {
        status = DeleteKeyTree(root, base + '\\' + child);
        if (status != ERROR_SUCCESS) return status;
    }
    // RegDeleteKeyA cannot reach another view; RegDeleteKeyExA can, where
    // Windows has it (Windows XP x64 and later: "RegDeleteKeyExA",
    // learn.microsoft.com/windows/win32/api/winreg); without it there is one view.
    using DeleteInView = LONG(WINAPI*)(HKEY, LPCSTR, REGSAM, DWORD);
    static const auto deleteInView = SystemFunction<DeleteInView>("advapi32.dll", "RegDeleteKeyExA");
    const REGSAM view = ViewOf(root);
    status = view != 0 && deleteInView ? deleteInView(ToHkey(root), base.c_str(), view, 0)
                                       : RegDeleteKeyA(ToHkey(root), base.c_str());
    return status == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : status;
}

}  // namespace vantrel

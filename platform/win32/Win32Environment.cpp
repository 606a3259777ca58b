#include "platform/win32/Win32Environment.h"

#include <windows.h>
#include <shlobj.h>

#include <cstring>

#include "platform/win32/SystemFunction.h"
#include "platform/win32/Win32Files.h"
#include "registry/Digits.h"

namespace vantrel {

namespace {

std::string ShellFolder(int csidl) {
    using GetFolder = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPSTR);
    static const auto getFolder = SystemFunction<GetFolder>("shell32.dll", "SHGetFolderPathA");
    char path[MAX_PATH] = {};
    if (!getFolder || getFolder(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path) != S_OK) return {};
    return path;
}

// The user's application-data folder as the registry names it:
// "AppData" under HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\User Shell Folders,
// REG_EXPAND_SZ, "%USERPROFILE%\Application Data" by default (Microsoft,
// Windows 2000 Registry Reference, "AppData", cc962614); REG_SZ where a
// personal-folders apply wrote it. Read with the registry and expanded with
// ExpandEnvironmentStrings, so that finding it loads no shell library (the
// shell brings the window libraries with it, which an unattended run never
// needs). "" when the value is absent, empty or not text.
std::string RegisteredAppData() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders", 0,
                      KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
        return {};
    }
    char raw[MAX_PATH] = {};
    DWORD type = 0, size = sizeof raw - 1;
    const LONG rc = RegQueryValueExA(key, "AppData", nullptr, &type, reinterpret_cast<BYTE*>(raw), &size);
    RegCloseKey(key);
    if (rc != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ) || raw[0] == '\0') return {};
    char expanded[MAX_PATH] = {};
    const DWORD length = ExpandEnvironmentStringsA(raw, expanded, MAX_PATH);
    if (length == 0 || length > MAX_PATH || expanded[0] == '\0' || std::strchr(expanded, '%')) return {};
    return expanded;
}

bool IsFolder(const std::string& path) {
    std::uint32_t attributes = 0;
    return Win32FileSystem().GetAttributes(path, &attributes) == 0 && (attributes & fileattr::kDirectory);
}

std::string Variable(const char* name) {
    char value[MAX_PATH] = {};
    DWORD length = GetEnvironmentVariableA(name, value, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::string(value, length) : std::string();
}

// Day of the year from 0, as std::tm counts it.
int DayOfYear(const SYSTEMTIME& t) {
    static const int kBefore[] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
    bool leap = (t.wYear % 4 == 0 && t.wYear % 100 != 0) || t.wYear % 400 == 0;
    return kBefore[t.wMonth - 1] + t.wDay - 1 + (leap && t.wMonth > 2 ? 1 : 0);
}

}  // namespace

std::string Win32Environment::AppDataFolder() {
    // Where the registry names it, made when it does not exist yet (as after
    // the user moved it on the Personal Folders page); where that cannot be
    // made, the shell's answer, made the same way; failing that, the Windows
    // XP layout under the profile.
    std::string folder = RegisteredAppData();
    // Made as the shell makes a user folder asked for with CSIDL_FLAG_CREATE:
    // with every missing folder above it.
    if (!folder.empty() && Win32FileSystem().CreateFolders(folder) == 0) return folder;
    folder = ShellFolder(CSIDL_APPDATA | CSIDL_FLAG_CREATE);
    if (!folder.empty()) return folder;
    const std::string profile = Variable("USERPROFILE");
    return profile.empty() ? std::string() : profile + "\\Application Data";
}

std::string Win32Environment::ProfileFolder() {
    // USERPROFILE names the current user's profile folder ("SHRegGetPathA
    // function", learn.microsoft.com/windows/win32/api/shlwapi/nf-shlwapi-shreggetpatha);
    // the system sets it at logon ("Operating System Configuration",
    // learn.microsoft.com/windows/win32/sysinfo/operating-system-configuration).
    // Read first, so that an export or an apply loads no shell library; the
    // shell's answer where it is missing or names no folder.
    const std::string variable = Variable("USERPROFILE");
    if (!variable.empty() && IsFolder(variable)) return variable;
    std::string folder = ShellFolder(CSIDL_PROFILE);
    return folder.empty() ? variable : folder;
}

namespace {

std::tm TimeOf(const SYSTEMTIME& t) {
    std::tm time{};
    time.tm_year = t.wYear - 1900;
    time.tm_mon = t.wMonth - 1;
    time.tm_mday = t.wDay;
    time.tm_hour = t.wHour;
    time.tm_min = t.wMinute;
    time.tm_sec = t.wSecond;
    time.tm_wday = t.wDayOfWeek;
    time.tm_yday = DayOfYear(t);
    time.tm_isdst = -1;
    return time;
}

}  // namespace

std::tm Win32Environment::Now() {
    SYSTEMTIME t;
    GetLocalTime(&t);
    return TimeOf(t);
}

std::tm Win32Environment::NowUtc() {
    SYSTEMTIME t;
    GetSystemTime(&t);  // "GetSystemTime function": the current date and time in UTC
    std::tm utc = TimeOf(t);
    utc.tm_isdst = 0;
    return utc;
}

bool Win32Environment::RunsUnderWow64() {
    using IsWow64 = BOOL(WINAPI*)(HANDLE, PBOOL);
    static const bool wow64 = [] {
        const auto isWow64 = SystemFunction<IsWow64>("kernel32.dll", "IsWow64Process");
        BOOL under = FALSE;
        return isWow64 && isWow64(GetCurrentProcess(), &under) && under;
    }();
    return wow64;
}

std::string Win32Environment::NewGuid() {
    using Create = HRESULT(WINAPI*)(GUID*);
    static const auto create = SystemFunction<Create>("ole32.dll", "CoCreateGuid");
    GUID guid{};
    if (!create || create(&guid) != S_OK) return {};
    std::string text = "{" + Digits(guid.Data1, 8, 16) + "-" + Digits(guid.Data2, 4, 16) + "-" +
                       Digits(guid.Data3, 4, 16) + "-";
    for (int i = 0; i < 8; ++i) text += (i == 2 ? "-" : "") + Digits(guid.Data4[i], 2, 16);
    return text + "}";
}

vantrel::WindowsVersion Win32Environment::WindowsVersion() {
    // RtlGetVersion (ntdll, from Windows 2000: "RtlGetVersion function",
    // Windows driver documentation) tells the version of the running system;
    // unlike GetVersionEx, the program's manifest does not change what it
    // reports. Looked up at run time all the same.
    struct VersionInfo {
        ULONG size, major, minor, build, platform;
        WCHAR servicePack[128];
    };
    using GetVersion = LONG(WINAPI*)(VersionInfo*);
    static const auto getVersion = SystemFunction<GetVersion>("ntdll.dll", "RtlGetVersion");
    VersionInfo info{};
    info.size = sizeof info;
    if (!getVersion || getVersion(&info) != 0) return {};
    return {info.major, info.minor, info.build};
}

vantrel::WindowsEdition Win32Environment::WindowsEdition() {
    // The suite mask and product type do not depend on the program's
    // manifest, unlike the version GetVersionEx reports; GetProductInfo is
    // "supported on Windows Vista and later", and before it "use the
    // GetVersionEx function" ("GetProductInfo function (sysinfoapi.h)",
    // learn.microsoft.com/windows/win32/api/sysinfoapi/nf-sysinfoapi-getproductinfo).
    vantrel::WindowsEdition edition;
    OSVERSIONINFOEXA info{};
    info.dwOSVersionInfoSize = sizeof info;
    if (GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&info))) {
        edition.suite = info.wSuiteMask;
        edition.productType = info.wProductType;
    }
    using GetProduct = BOOL(WINAPI*)(DWORD, DWORD, DWORD, DWORD, PDWORD);
    static const auto getProduct = SystemFunction<GetProduct>("kernel32.dll", "GetProductInfo");
    const vantrel::WindowsVersion version = WindowsVersion();
    DWORD product = 0;
    if (getProduct && version.major >= 6 && getProduct(version.major, version.minor, 0, 0, &product)) {
        edition.product = product;
    }
    return edition;
}

}  // namespace vantrel

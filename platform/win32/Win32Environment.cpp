#include "platform/win32/Win32Environment.h"

#include <windows.h>
#include <shlobj.h>

#include <cstring>

#include "platform/win32/SystemFunction.h"

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
    // Where the registry names it (the backup folder is made inside it, and
    // every folder above along with it); else the shell's answer, created
    // when it does not exist yet; failing that, the Windows XP layout under
    // the profile.
    std::string folder = RegisteredAppData();
    if (!folder.empty()) return folder;
    folder = ShellFolder(CSIDL_APPDATA | CSIDL_FLAG_CREATE);
    if (!folder.empty()) return folder;
    const std::string profile = Variable("USERPROFILE");
    return profile.empty() ? std::string() : profile + "\\Application Data";
}

std::string Win32Environment::ProfileFolder() {
    std::string folder = ShellFolder(CSIDL_PROFILE);
    return folder.empty() ? Variable("USERPROFILE") : folder;
}

std::tm Win32Environment::Now() {
    SYSTEMTIME t;
    GetLocalTime(&t);
    std::tm now{};
    now.tm_year = t.wYear - 1900;
    now.tm_mon = t.wMonth - 1;
    now.tm_mday = t.wDay;
    now.tm_hour = t.wHour;
    now.tm_min = t.wMinute;
    now.tm_sec = t.wSecond;
    now.tm_wday = t.wDayOfWeek;
    now.tm_yday = DayOfYear(t);
    now.tm_isdst = -1;
    return now;
}

}  // namespace vantrel

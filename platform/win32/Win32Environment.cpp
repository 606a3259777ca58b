#include "platform/win32/Win32Environment.h"

#include <windows.h>
#include <shlobj.h>

#include <cstdio>

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
    // Created when it does not exist yet, as after the user moved it on the
    // Personal Folders page; failing that, the Windows XP layout under the profile.
    std::string folder = ShellFolder(CSIDL_APPDATA | CSIDL_FLAG_CREATE);
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
    char text[40];
    std::snprintf(text, sizeof text, "{%08lX-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                  static_cast<unsigned long>(guid.Data1), guid.Data2, guid.Data3, guid.Data4[0], guid.Data4[1],
                  guid.Data4[2], guid.Data4[3], guid.Data4[4], guid.Data4[5], guid.Data4[6], guid.Data4[7]);
    return text;
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

}  // namespace vantrel

#include "platform/win32/Win32Hives.h"

#include <windows.h>
#include <sddl.h>

#include <vector>

#include "platform/win32/SystemFunction.h"

namespace vantrel {

namespace {

// RegLoadKey and RegUnLoadKey take only these two roots ("RegLoadKeyW
// function (winreg.h)", learn.microsoft.com/windows/win32/api/winreg/nf-winreg-regloadkeyw).
HKEY RootOf(RegKey root) { return root == reg::kLocalMachine ? HKEY_LOCAL_MACHINE : HKEY_USERS; }

}  // namespace

// The Administrators group, enabled in the token ("CheckTokenMembership
// function (securitybaseapi.h)", learn.microsoft.com/windows/win32/api/
// securitybaseapi/nf-securitybaseapi-checktokenmembership, whose example
// this follows). A group held for deny only, as in the filtered token of an
// administrator who did not elevate, does not count.
bool Win32Hives::RunsAsAdministrator() {
    SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
    PSID administrators = nullptr;
    if (!AllocateAndInitializeSid(&nt, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0, 0,
                                  &administrators)) {
        return false;
    }
    BOOL member = FALSE;
    if (!CheckTokenMembership(nullptr, administrators, &member)) member = FALSE;
    FreeSid(administrators);
    return member != FALSE;
}

// RegLoadKey and RegUnLoadKey need SE_RESTORE_NAME and SE_BACKUP_NAME
// ("RegLoadKeyA function", "RegUnLoadKeyA function", winreg.h). A token
// that lacks one of them is adjusted for the others and the call reports
// ERROR_NOT_ALL_ASSIGNED through GetLastError ("AdjustTokenPrivileges
// function (securitybaseapi.h)", learn.microsoft.com/windows/win32/api/
// securitybaseapi/nf-securitybaseapi-adjusttokenprivileges).
long Win32Hives::EnableBackupAndRestore() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) return GetLastError();
    struct {
        DWORD count;
        LUID_AND_ATTRIBUTES privileges[2];
    } wanted{2, {}};
    long status = 0;
    const char* names[] = {SE_BACKUP_NAME, SE_RESTORE_NAME};
    for (int i = 0; i < 2 && status == 0; ++i) {
        if (!LookupPrivilegeValueA(nullptr, names[i], &wanted.privileges[i].Luid)) status = GetLastError();
        wanted.privileges[i].Attributes = SE_PRIVILEGE_ENABLED;
    }
    if (status == 0) {
        SetLastError(ERROR_SUCCESS);
        if (!AdjustTokenPrivileges(token, FALSE, reinterpret_cast<TOKEN_PRIVILEGES*>(&wanted), 0, nullptr, nullptr)) {
            status = GetLastError();
        } else {
            status = GetLastError();  // ERROR_NOT_ALL_ASSIGNED when one was missing
        }
    }
    CloseHandle(token);
    return status;
}

long Win32Hives::Load(RegKey root, const std::string& name, const std::string& file) {
    return RegLoadKeyA(RootOf(root), name.c_str(), file.c_str());
}

// The key must be open with KEY_QUERY_VALUE ("RegFlushKey function
// (winreg.h)", learn.microsoft.com/windows/win32/api/winreg/nf-winreg-regflushkey).
long Win32Hives::Flush(RegKey root, const std::string& name) {
    HKEY key = nullptr;
    long status = RegOpenKeyExA(RootOf(root), name.c_str(), 0, KEY_QUERY_VALUE, &key);
    if (status != ERROR_SUCCESS) return status;
    status = RegFlushKey(key);
    RegCloseKey(key);
    return status;
}

long Win32Hives::Unload(RegKey root, const std::string& name) {
    return RegUnLoadKeyA(RootOf(root), name.c_str());
}

// LookupAccountNameA takes NAME or DOMAIN\NAME; the SID becomes text with
// ConvertSidToStringSidA, freed with LocalFree ("ConvertSidToStringSidA
// function (sddl.h)", learn.microsoft.com/windows/win32/api/sddl/
// nf-sddl-convertsidtostringsida: Windows XP and later, as Vantrel).
long Win32Hives::AccountSid(const std::string& account, std::string* sid) {
    DWORD sidSize = 0, domainSize = 0;
    SID_NAME_USE use;
    LookupAccountNameA(nullptr, account.c_str(), nullptr, &sidSize, nullptr, &domainSize, &use);
    if (sidSize == 0) return GetLastError();
    std::vector<BYTE> buffer(sidSize);
    std::vector<char> domain(domainSize + 1);
    if (!LookupAccountNameA(nullptr, account.c_str(), buffer.data(), &sidSize, domain.data(), &domainSize, &use)) {
        return GetLastError();
    }
    char* text = nullptr;
    if (!ConvertSidToStringSidA(buffer.data(), &text)) return GetLastError();
    *sid = text;
    LocalFree(text);
    return 0;
}

long Win32Hives::AccountName(const std::string& sid, std::string* account) {
    PSID binary = nullptr;
    if (!ConvertStringSidToSidA(sid.c_str(), &binary)) return GetLastError();
    char name[256], domain[256];
    DWORD nameSize = sizeof name, domainSize = sizeof domain;
    SID_NAME_USE use;
    const BOOL found = LookupAccountSidA(nullptr, binary, name, &nameSize, domain, &domainSize, &use);
    const long status = found ? 0 : GetLastError();
    LocalFree(binary);
    if (status == 0) *account = domainSize > 0 ? std::string(domain) + "\\" + name : std::string(name);
    return status;
}

// userenv is bound here, when a Default profile is asked for, and not with
// the program ("GetDefaultUserProfileDirectoryA function (userenv.h)").
long Win32Hives::DefaultProfileFolder(std::string* folder) {
    using GetFolder = BOOL(WINAPI*)(LPSTR, LPDWORD);
    static const auto getFolder = SystemFunction<GetFolder>("userenv.dll", "GetDefaultUserProfileDirectoryA");
    if (!getFolder) return ERROR_PROC_NOT_FOUND;
    char path[MAX_PATH] = {};
    DWORD size = MAX_PATH;
    if (!getFolder(path, &size)) return GetLastError();
    *folder = path;
    return 0;
}

std::string Win32Hives::Expand(const std::string& text) {
    const DWORD size = ExpandEnvironmentStringsA(text.c_str(), nullptr, 0);
    if (size == 0) return text;
    std::string expanded(size, '\0');
    const DWORD written = ExpandEnvironmentStringsA(text.c_str(), expanded.data(), size);
    if (written == 0 || written > size) return text;
    expanded.resize(written - 1);
    return expanded;
}

}  // namespace vantrel

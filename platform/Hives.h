// Hive files and accounts: what settings for another user, the Default
// profile or a Windows that is not running need from the system besides the
// registry itself. The Win32 backend calls advapi32 (and userenv, bound when
// first asked); the portable one loads hive files of the portable file system
// into the in-memory registry and answers from tables a test sets.
//
// Every call returns 0 or a Win32 error code.
#pragma once

#include <string>

#include "registry/Registry.h"

namespace vantrel {

namespace hiveerror {
constexpr long kSharingViolation = 32;    // ERROR_SHARING_VIOLATION
constexpr long kLockViolation = 33;       // ERROR_LOCK_VIOLATION
constexpr long kNotAllAssigned = 1300;    // ERROR_NOT_ALL_ASSIGNED
constexpr long kPrivilegeNotHeld = 1314;  // ERROR_PRIVILEGE_NOT_HELD
}  // namespace hiveerror

// Whether a code that RegLoadKey gave means that something else holds the
// hive file. Which code RegLoadKey gives for a file another process holds is
// not documented (unknown). A profile does not load when a process other than
// Winlogon "opened ntuser.dat exclusively" ("Mythical Creatures - Corrupt User
// Profiles", Ask the Directory Services Team, blogs.technet.com/b/askds/
// archive/2010/10/20/mythical-creatures-corrupt-user-profiles.aspx); a file
// opened that way refuses others with ERROR_SHARING_VIOLATION, "The process
// cannot access the file because it is being used by another process", and a
// locked byte range with ERROR_LOCK_VIOLATION ("System Error Codes (0-499)",
// learn.microsoft.com/windows/win32/debug/system-error-codes--0-499-). Both
// are taken as in use; the Wine test holds a hive file open and checks that
// the load is told apart.
constexpr bool HiveInUse(long code) {
    return code == hiveerror::kSharingViolation || code == hiveerror::kLockViolation;
}

class Hives {
public:
    virtual ~Hives() = default;

    // Whether the process's token holds the Administrators group enabled
    // (CheckTokenMembership; under User Account Control a process that was
    // not elevated holds it for deny only, and is not an administrator).
    virtual bool RunsAsAdministrator() = 0;
    // Enables the backup and restore privileges (SE_BACKUP_NAME,
    // SE_RESTORE_NAME) in the process's token, which RegLoadKey and
    // RegUnLoadKey need. 1300 (ERROR_NOT_ALL_ASSIGNED) when the token lacks
    // either of them.
    virtual long EnableBackupAndRestore() = 0;
    // RegLoadKey: the hive file becomes the key `name` directly under root,
    // which is reg::kUsers or reg::kLocalMachine.
    virtual long Load(RegKey root, const std::string& name, const std::string& file) = 0;
    // RegFlushKey on that key: its hive is written to its file.
    virtual long Flush(RegKey root, const std::string& name) = 0;
    // RegUnLoadKey of that key.
    virtual long Unload(RegKey root, const std::string& name) = 0;

    // The SID, as a string ("S-1-5-21-...-1001"), of an account named NAME
    // or DOMAIN\NAME (LookupAccountName, then ConvertSidToStringSid).
    virtual long AccountSid(const std::string& account, std::string* sid) = 0;
    // The other way: "DOMAIN\NAME" of a SID string (ConvertStringSidToSid,
    // then LookupAccountSid).
    virtual long AccountName(const std::string& sid, std::string* account) = 0;
    // The running system's Default profile folder (GetDefaultUserProfileDirectory).
    virtual long DefaultProfileFolder(std::string* folder) = 0;
    // Text with the running system's environment variables expanded
    // (ExpandEnvironmentStrings); a variable it does not know stays as written.
    virtual std::string Expand(const std::string& text) = 0;
};

}  // namespace vantrel

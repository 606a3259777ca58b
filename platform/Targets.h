// The targets settings can be applied to, checked on and reported for: the
// user who runs Vantrel, another user's profile, the Default profile, and
// the profiles of a Windows installation that is not running. This module
// finds them and opens each as a Registry: the passes run over that
// registry unchanged.
//
// Where Windows keeps the profiles. Each profile of a Windows is a subkey of
// HKLM\SOFTWARE\Microsoft\Windows NT\CurrentVersion\ProfileList named by the
// user's SID; its ProfileImagePath names the profile folder, and the user's
// hive is the file Ntuser.dat in it ("User Profile Hives", Platform SDK:
// Registry, MSDN Library, April 2000). ProfileImagePath holds variables
// ("%SystemDrive%\Documents and Settings\Administrator" on Windows XP: Helge
// Klein, "Deleting a Local User Profile - Not as easy as one Might Assume",
// helgeklein.com, 2008; no Microsoft page found for the value's form:
// unknown), so it is expanded. A user who is logged on has the hive loaded
// under HKEY_USERS\<SID>, from that file ("\REGISTRY\USER\Security ID
// number", Windows 2000 Registry Reference, learn.microsoft.com/en-us/
// previous-versions/windows/it-pro/windows-2000-server/cc976065(v=technet.10)).
//
// Which entries are users. The system's own accounts are skipped: S-1-5-18
// (Local System; its profile is HKEY_USERS\.DEFAULT: Raymond Chen, "The
// .Default user is not the default user", devblogs.microsoft.com/
// oldnewthing/20070302-00/?p=27783), S-1-5-19 and S-1-5-20 (Local Service
// and Network Service, WinLocalServiceSid and WinNetworkServiceSid of
// "WELL_KNOWN_SID_TYPE enumeration (winnt.h)", learn.microsoft.com/windows/
// win32/api/winnt/ne-winnt-well_known_sid_type). Entries whose name ends in
// ".bak" are Windows' copies of a profile it could not load, not profiles of
// their own (no Microsoft page found: unknown); they are skipped. An entry
// whose folder is missing is reported and skipped.
//
// The Default profile, which every new user's settings are copied from
// ("the template user, which is kept in the file C:\Documents and
// Settings\Default User\ntuser.dat": Raymond Chen, as above). The running
// system names its folder through GetDefaultUserProfileDirectory
// ("GetDefaultUserProfileDirectoryA function (userenv.h)",
// learn.microsoft.com/windows/win32/api/userenv/nf-userenv-getdefaultuserprofiledirectorya).
// Where that fails (under Wine 8 with error 126), and always for a Windows
// that is not running, the folder comes from ProfileList's own values: from
// Windows Vista on, "Default" holds the whole path; on Windows XP and Server
// 2003, ProfilesDirectory and DefaultUserProfile together. Microsoft does not
// document these values (unknown); the source used is Remko Weijnen,
// "Default User Profile - Remko's solution", remkoweijnen.nl/blog/2011/01/04/
// default-user-profile-remkos-solution/.
//
// A Windows that is not running, whose Windows folder is PATH ("D:\Windows").
// Its machine settings are its hive files PATH\System32\Config\SOFTWARE and
// ...\SYSTEM: the hive list of a running Windows names
// "\Device\Harddisk 0\Partition1\WINNT\System32\Config\System" for
// HKEY_LOCAL_MACHINE\SYSTEM ("\REGISTRY\MACHINE\SYSTEM", Windows 2000
// Registry Reference, learn.microsoft.com/en-us/previous-versions/windows/
// it-pro/windows-2000-server/cc963201(v=technet.10)); SOFTWARE is taken to
// lie beside it under its own name (its entry was not found: unknown). That
// same entry shows the Windows folder directly under its partition's root:
// the offline Windows's system drive is PATH's folder above ("D:\Windows" is
// on "D:", "E:\Mount\Windows" on "E:\Mount"), and its paths map there:
// "%SystemDrive%\Users\x" and, where its own SystemRoot value names drive C:
// ("C:\Windows"), "C:\Users\x" become "D:\Users\x". The SystemRoot value is
// not documented by Microsoft (unknown). A path on another drive, or with
// another variable, cannot be reached: its entry is reported and skipped.
// There is no account lookup offline: a user is named by SID or by the name
// of the profile folder.
//
// Its version, build and edition are values of its own
// SOFTWARE\Microsoft\Windows NT\CurrentVersion: CurrentVersion ("Stores the
// version number of the Windows NT operating system", "CurrentVersion
// Entry", learn.microsoft.com/en-us/previous-versions/windows/it-pro/
// windows-server-2003/cc787480(v=ws.10)); CurrentMajorVersionNumber and
// CurrentMinorVersionNumber where present (Windows 10 and later keep
// CurrentVersion at 6.3), CurrentBuildNumber (or CurrentBuild), EditionID and
// ProductName: none of these is documented by Microsoft (unknown). Its
// control set is SYSTEM\Select's "Current" (Microsoft Knowledge Base 102984,
// see registry/TargetRegistry.h).
//
// Only an administrator may reach another target: without administrator
// rights every target but the current user is refused before anything is
// loaded or written.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/HiveSession.h"
#include "platform/Hives.h"
#include "platform/Platform.h"
#include "registry/ProfileFolders.h"
#include "registry/TargetRegistry.h"

namespace vantrel {

struct Target {
    enum class Kind {
        CurrentUser,     // the user who runs Vantrel: the registry as it is
        Profile,         // a user's profile
        DefaultProfile,  // the Default profile
    };
    Kind kind = Kind::CurrentUser;
    // For logs and backup names: "current user", "user S-1-5-21-...-1001
    // (PC\ann)", "Default profile", "offline D:\Windows, user S-1-5-21-...
    // (ann)", "offline D:\Windows, Default profile".
    std::string label;
    std::string sid;            // Profile
    std::string account;        // Profile: "DOMAIN\NAME" when the account is known, else the folder's name
    std::string profileFolder;  // as reached from here (the offline volume mapped)
    // Offline: the profile folder as its own Windows names it ("C:\Users\ann"),
    // another spelling a folder value may use for it.
    std::string ownProfileFolder;
    std::string hiveFile;       // profileFolder\NTUSER.DAT
    bool loaded = false;        // its hive is loaded already, under HKEY_USERS\<sid>
};

struct TargetRequest {
    enum class Mode {
        Current,  // /to:current
        Default,  // /to:default
        User,     // /to:user=
        All,      // /to:all: every profile, then the Default profile
    };
    Mode mode = Mode::Current;
    // User: NAME, DOMAIN\NAME or a SID; offline, a SID or a profile folder's name.
    std::string user{};
};

struct FoundTargets {
    std::vector<Target> targets;
    // One line per ProfileList entry that was reported and skipped
    // ("profile S-1-5-21-...-1003 skipped: its folder C:\... is missing"),
    // after a first line when GetDefaultUserProfileDirectory failed and the
    // Default profile was looked for in ProfileList instead. For the log.
    std::vector<std::string> skipped;
    // When set, nothing may be done: no administrator rights, no such user,
    // no Default profile folder, an offline Windows that cannot be opened.
    std::string refused;
};

// The targets of the running system. `registry` is the machine's registry
// (the native view); `files` reaches its folders.
FoundTargets FindTargets(const TargetRequest& request, Registry& registry, FileSystem& files, Hives& hives);

// What a Windows that is not running says of itself.
struct OfflineFacts {
    std::string currentVersion;  // CurrentVersion, "6.3"
    std::string build;           // CurrentBuildNumber, "19045"
    std::string edition;         // EditionID, "Professional" ("" before Windows Vista)
    std::string productName;     // ProductName
    std::string systemRoot;      // SystemRoot, "C:\Windows", as that Windows names it
    WindowsVersion version;      // major, minor and build as numbers; all zero when unreadable
    unsigned controlSetNumber = 0;
    std::string controlSet;      // "ControlSet001"
};

// A Windows that is not running, opened: its SOFTWARE and SYSTEM hives are
// loaded under HKEY_LOCAL_MACHINE until End (or the object's end).
class OfflineWindows {
public:
    OfflineWindows(std::string windowsFolder, Registry& registry, FileSystem& files, Hives& hives,
                   std::vector<HiveEvent>& events);
    ~OfflineWindows();
    OfflineWindows(const OfflineWindows&) = delete;
    OfflineWindows& operator=(const OfflineWindows&) = delete;

    // "" when both hives are loaded and its facts read; else why not.
    const std::string& problem() const { return problem_; }
    const std::string& windowsFolder() const { return windowsFolder_; }
    const std::string& volume() const { return volume_; }  // "D:"
    const OfflineFacts& facts() const { return facts_; }
    // HKEY_LOCAL_MACHINE\SOFTWARE and \SYSTEM mapped onto its hives.
    TargetPlaces MachinePlaces() const;
    // Its profiles and its Default profile (Mode::Current is refused).
    FoundTargets FindTargets(const TargetRequest& request);
    // A path as its own Windows writes it in its registry, reached from
    // here; "" when it cannot be.
    std::string Reach(const std::string& path) const;
    // The same path with its variables as its own Windows would expand them
    // ("%SystemDrive%\Users\ann" is "C:\Users\ann" where its SystemRoot is
    // "C:\Windows"); "" when they cannot be.
    std::string Own(const std::string& path) const;
    // Unloads its hives (once).
    void End();

private:
    std::string windowsFolder_, volume_, problem_;
    Registry& registry_;
    FileSystem& files_;
    Hives& hives_;
    std::unique_ptr<HiveSession> software_, system_;
    OfflineFacts facts_;
};

// A target opened for reading and writing: its hive loaded where it must
// be, its registry layer built over the registry underneath. Close (at the
// latest the object's end, an exception unwinding included) closes every key
// opened through the layer, then flushes and unloads the hive. The hive's
// steps are reported to `events`, which must outlive the object.
class OpenedTarget {
public:
    OpenedTarget(const Target& target, Registry& underneath, Hives& hives, std::vector<HiveEvent>& events,
                 const OfflineWindows* offline = nullptr);
    ~OpenedTarget();
    OpenedTarget(const OpenedTarget&) = delete;
    OpenedTarget& operator=(const OpenedTarget&) = delete;

    // Whether the target can be read and written; when not, nothing may be
    // written to it and `problem` (with the events) says why.
    bool ok() const { return problem_.empty(); }
    const std::string& problem() const { return problem_; }
    const Target& target() const { return target_; }
    // The target's registry: HKEY_CURRENT_USER (and, offline,
    // HKEY_LOCAL_MACHINE) mapped, personal folders kept as Windows keeps
    // them in a profile. The registry underneath itself for the current
    // user. Only while ok() and not closed.
    Registry& registry();
    // The writes the personal-folder rule changed (none for the current user).
    std::vector<ProfileFoldersRegistry::Adjusted> adjusted() const;
    // The mapped registry alone, without the personal-folder rule, and the
    // folders the rule takes for the profile: a dry run (Review Changes,
    // /check) puts its recording layer between the two, as
    // ProfileFoldersRegistry(RecordingRegistry(mapped()), profileFolders()),
    // so that it records what the rule would write.
    Registry& mapped();
    std::vector<std::string> profileFolders() const;
    void Close();

private:
    Target target_;
    Registry& underneath_;
    std::string problem_;
    std::unique_ptr<HiveSession> hive_;
    std::unique_ptr<TargetRegistry> mapped_;
    std::unique_ptr<ProfileFoldersRegistry> folders_;
};

}  // namespace vantrel

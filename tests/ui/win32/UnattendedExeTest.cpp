// Vantrel.exe run by a deployment tool: /export and /apply on a seeded
// prefix, with no window, a backup, the exit code and the log; a write that
// the registry refuses (a key whose security denies setting values) gives
// exit code 1 and a log line. The prefix is put back afterwards.
#include "platform/win32/WindowsApi.h"

#include <cstdio>
#include <fstream>
#include <functional>
#include <sstream>

#include <gtest/gtest.h>

#include "platform/win32/Win32Hives.h"
#include "registry/RegistryRoutines.h"
#include "ui/win32/PrefixGuards.h"
#include "ui/win32/RunningExe.h"
#include "ui/win32/WineVersion.h"

namespace vantrel::test {
namespace {

const std::string kExplorer = R"(Software\Microsoft\Windows\CurrentVersion\Explorer)";
const std::string kMessenger = R"(SYSTEM\ControlSet001\Services\Messenger)";
const std::string kNarrator = R"(SOFTWARE\Microsoft\Windows NT\CurrentVersion\Accessibility\Utility Manager\Narrator)";

// The exe run to its end: its exit code; failing the test when it did not
// end or showed a window.
int RunVantrel(const std::string& arguments) {
    bool shown = false;
    const int code = RunToEnd(arguments, &shown);
    EXPECT_NE(code, -1) << "Vantrel.exe " << arguments << " did not start or did not end";
    EXPECT_FALSE(shown) << "Vantrel.exe " << arguments << " showed a window";
    return code;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

StoredValue Sz(RegKey root, const std::string& key, const std::string& name, const std::string& text) {
    StoredValue v{root, key, name, true, reg::kSz, {text.begin(), text.end()}};
    v.data.push_back(0);
    return v;
}

// A file of that name in the temporary folder.
std::string TempFile(const char* name) {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    return temp + std::string(name);
}

TEST(UnattendedExe, ApplyChangesExactlyTheProfilesValuesAndARefusedWriteIsLogged) {
    const std::string appData = AppDataFolder();
    ASSERT_FALSE(appData.empty());
    const std::string base = TempFile("vantrel-base.reg"), profile = TempFile("vantrel-profile.reg"),
                      log = TempFile("vantrel-unattended.log");
    DeleteFileA(log.c_str());

    Win32Registry registry;
    RegistryGuard restoreRegistry(registry, ApplyTargets());
    BackupFolderGuard backups(appData);

    // Every personal folder filled (the backup goes to the real application
    // data folder), and the values the profile will change set apart from it.
    for (const TweakRow& row : PersonalFolderRows()) {
        const std::string folder = row.value == "AppData" ? appData : "C:\\Unattended\\" + row.value;
        WriteStored(registry, Sz(reg::kCurrentUser, row.loadKey, row.value, folder));
    }
    WriteStored(registry, Sz(reg::kCurrentUser, R"(Control Panel\Mouse)", "MouseSensitivity", "10"));
    WriteStored(registry, Sz(reg::kLocalMachine, kNarrator, "Start with Windows", "0"));
    SeedDword(registry, reg::kCurrentUser, kExplorer + "\\Advanced", "Start_ShowRun", 1);
    SeedDword(registry, reg::kLocalMachine, kMessenger, "Start", 2);

    // The prefix's own profile, applied back: from then on every value is
    // stored the way an apply stores it.
    ASSERT_EQ(RunVantrel("/export \"" + base + "\""), 0);
    ASSERT_EQ(ReadFile(base).rfind("\xFF\xFE", 0), 0u) << "a version 5 file";
    ASSERT_EQ(RunVantrel("/apply \"" + base + "\""), 0);
    const RegistrySnapshot before = RegistrySnapshot::Of(registry, ApplyTargets());
    const std::size_t backupsBefore = backups.NewFiles().size();

    const std::vector<StoredValue> changes = {
        Sz(reg::kCurrentUser, R"(Control Panel\Mouse)", "MouseSensitivity", "17"),
        Sz(reg::kLocalMachine, kNarrator, "Start with Windows", "1"),
        {reg::kCurrentUser, kExplorer + "\\Advanced", "Start_ShowRun", true, reg::kDword, {0, 0, 0, 0}},
    };
    WriteFile(profile, "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Control Panel\\Mouse]\r\n\"MouseSensitivity\"=\"17\"\r\n\r\n"
                       "[HKEY_LOCAL_MACHINE\\" + kNarrator + "]\r\n\"Start with Windows\"=\"1\"\r\n\r\n"
                       "[HKEY_CURRENT_USER\\" + kExplorer + "\\Advanced]\r\n\"Start_ShowRun\"=dword:00000000\r\n");
    ASSERT_EQ(RunVantrel("/apply \"" + profile + "\" /log \"" + log + "\""), 0);

    const RegistrySnapshot after = RegistrySnapshot::Of(registry, ApplyTargets());
    for (std::size_t i = 0; i < after.values().size(); ++i) {
        StoredValue expected = before.values()[i];
        for (const StoredValue& change : changes) {
            if (change.root == expected.root && Folded(change.key) == Folded(expected.key) && change.name == expected.name) {
                expected.type = change.type;
                expected.data = change.data;
            }
        }
        EXPECT_TRUE(after.values()[i] == expected) << expected.key << " \"" << expected.name << "\"";
    }
    EXPECT_EQ(backups.NewFiles().size(), backupsBefore + 1) << "one backup for the apply";
    const std::string firstRun = ReadFile(log);
    // Besides a line for each Windows 10 and 11 policy, which is not written here.
    std::size_t lines = 0;
    for (std::size_t at = 0; (at = firstRun.find('\n', at)) != std::string::npos; ++at) ++lines;
    std::size_t notWritten = 0;
    for (std::size_t at = 0; (at = firstRun.find("  Not written: ", at)) != std::string::npos; ++at) ++notWritten;
    EXPECT_EQ(lines - notWritten, 2u) << "started, then the summary: " << firstRun;
    EXPECT_NE(firstRun.find("All changes applied."), std::string::npos) << firstRun;

    // The Messenger key refuses values: "Enable Net Send" is not saved, the
    // rest is, and the log tells which.
    {
        DenyValueWrites deny(HKEY_LOCAL_MACHINE, kMessenger);
        ASSERT_TRUE(deny.denied());
        SeedDword(registry, reg::kLocalMachine, kMessenger, "Start", 4);
        EXPECT_EQ(ReadDword(registry, reg::kLocalMachine, kMessenger, "Start"), 2u) << "the key refuses writes";
        EXPECT_EQ(RunVantrel("/apply \"" + profile + "\" /log \"" + log + "\""), 1);
    }
    const std::string bothRuns = ReadFile(log);
    EXPECT_EQ(bothRuns.rfind(firstRun, 0), 0u) << "appended";
    EXPECT_NE(bothRuns.find("Explorer - Enable Net Send: ", firstRun.size()), std::string::npos) << bothRuns;
    EXPECT_NE(bothRuns.find("Some Changes Were Not Applied: 1 setting was not saved.", firstRun.size()),
              std::string::npos)
        << bothRuns;

    for (const std::string& file : {base, profile, log}) DeleteFileA(file.c_str());
}

// A deployment tool's loop over a profile exported with folders inside the
// user's profile: export, apply, then the Desktop moved elsewhere; /check
// must see what /apply then puts back, and settle after it.
TEST(UnattendedExe, CheckPredictsApplyOverAnExportedProfileWithFolders) {
    const std::string appData = AppDataFolder();
    char profileFolder[MAX_PATH] = {};
    ASSERT_FALSE(appData.empty());
    ASSERT_NE(GetEnvironmentVariableA("USERPROFILE", profileFolder, MAX_PATH), 0u);
    const std::string profile = TempFile("vantrel-folders.reg"), log = TempFile("vantrel-folders.log");
    DeleteFileA(log.c_str());
    Win32Registry registry;
    RegistryGuard restoreRegistry(registry, ApplyTargets());
    BackupFolderGuard backups(appData);
    for (const TweakRow& row : PersonalFolderRows()) {
        WriteStored(registry, Sz(reg::kCurrentUser, row.loadKey, row.value,
                                 row.value == "AppData" ? appData : std::string(profileFolder) + "\\" + row.value));
    }
    ASSERT_EQ(RunVantrel("/export \"" + profile + "\""), 0);
    const std::string exported = ReadFile(profile);
    std::string text;  // the file's UTF-16LE as ASCII
    for (std::size_t i = 2; i < exported.size(); i += 2) text.push_back(exported[i]);
    ASSERT_NE(text.find("\"Desktop\"=hex(2):25,00,55,00,53,00,45,00,52,00"), std::string::npos)  // "%USER..."
        << "the folders travel relative to the profile";

    const std::string userFolders = kExplorer + "\\User Shell Folders", shellFolders = kExplorer + "\\Shell Folders";
    const struct {
        const char* step;
        std::function<void()> change;  // made before the run
        std::string run;
        int exitCode;
    } steps[] = {
        {"apply the export", nullptr, "/apply", 0},
        {"check after it", nullptr, "/check", 0},
        {"Desktop moved elsewhere, check",
         [&] {
             WriteStored(registry, Sz(reg::kCurrentUser, userFolders, "Desktop", "C:\\Moved\\Desktop"));
             WriteStored(registry, Sz(reg::kCurrentUser, shellFolders, "Desktop", "C:\\Moved\\Desktop"));
         },
         "/check", 1},
        {"apply", nullptr, "/apply", 0},
        {"check after it", nullptr, "/check", 0},
    };
    for (const auto& step : steps) {
        if (step.change) step.change();
        const int code = RunVantrel(step.run + " \"" + profile + "\" /log \"" + log + "\"");
        std::printf("| %s | %s | %d |\n", step.step, step.run.c_str(), code);
        EXPECT_EQ(code, step.exitCode) << step.step << "\n" << ReadFile(log);
    }
    EXPECT_NE(ReadFile(log).find("Would change: Personal Folders: - Desktop:: HKCU\\" + shellFolders +
                                 " : Desktop is \"C:\\Moved\\Desktop\""),
              std::string::npos)
        << ReadFile(log);
    EXPECT_EQ(GetString(registry, reg::kCurrentUser, shellFolders, "Desktop"), std::string(profileFolder) + "\\Desktop");
    for (const std::string& file : {profile, log}) DeleteFileA(file.c_str());
}

// Other users through the exe: a logged-on user's key under HKEY_USERS and
// the Default profile's hive, made with RegSaveKey. /apply /to:all writes
// each (the Default profile's values are read back right after the apply,
// before its hive is unloaded: Wine drops them at the unload), and nothing
// stays loaded.
TEST(UnattendedExe, AppliesToOtherUsersAndTheDefaultProfile) {
    const std::string appData = AppDataFolder();
    ASSERT_FALSE(appData.empty());
    const std::string list = R"(SOFTWARE\Microsoft\Windows NT\CurrentVersion\ProfileList)";
    const std::string sid = "S-1-5-21-7-7-7-1001", root = R"(C:\vantrel-users)";
    const std::string profile = TempFile("vantrel-users.reg"), log = TempFile("vantrel-users.log");
    const std::string hive = root + R"(\Default\NTUSER.DAT)";
    DeleteFileA(log.c_str());
    Win32Registry registry;
    RegistryGuard restoreRegistry(registry, ApplyTargets());  // the running user is a profile too
    BackupFolderGuard backups(appData);
    const std::string oldDefault = GetString(registry, reg::kLocalMachine, list, "Default");
    for (const std::string& folder : {root, root + "\\ann", root + "\\Default"}) CreateDirectoryA(folder.c_str(), nullptr);
    WriteStored(registry, Sz(reg::kUsers, sid + "\\Control Panel\\Mouse", "MouseTrails", "0"));
    WriteStored(registry, Sz(reg::kLocalMachine, list + "\\" + sid, "ProfileImagePath", root + "\\ann"));
    WriteStored(registry, Sz(reg::kLocalMachine, list, "Default", root + "\\Default"));
    // The Default profile's hive: a key of the running user's, saved (which
    // takes the backup privilege).
    Win32Hives privileges;
    ASSERT_EQ(privileges.EnableBackupAndRestore(), 0);
    WriteStored(registry, Sz(reg::kCurrentUser, R"(Software\VantrelDefault\Control Panel\Mouse)", "MouseTrails", "0"));
    HKEY source = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\VantrelDefault", 0, KEY_READ, &source), 0);
    DeleteFileA(hive.c_str());
    ASSERT_EQ(RegSaveKeyA(source, hive.c_str(), nullptr), 0);
    RegCloseKey(source);
    WriteFile(profile, "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Control Panel\\Mouse]\r\n\"SwapMouseButtons\"=\"1\"\r\n");

    const int code = RunVantrel("/apply \"" + profile + "\" /to:all /log \"" + log + "\"");
    const std::string said = ReadFile(log);
    std::printf("%s", said.c_str());  // the closing note's log
    EXPECT_EQ(code, 0) << said;
    EXPECT_EQ(GetString(registry, reg::kUsers, sid + "\\Control Panel\\Mouse", "SwapMouseButtons"), "1");
    EXPECT_EQ(GetString(registry, reg::kUsers, sid + "\\Control Panel\\Mouse", "MouseTrails"), "0") << "left as it was";
    for (const std::string& line : {"hive " + hive + " loaded as HKEY_USERS\\Vantrel-Default",
                                    std::string("hive HKEY_USERS\\Vantrel-Default unloaded"),
                                    std::string("Default profile: All changes applied.")}) {
        EXPECT_NE(said.find(line), std::string::npos) << line;
    }
    HKEY left = nullptr;
    EXPECT_NE(RegOpenKeyExA(HKEY_USERS, "Vantrel-Default", 0, KEY_READ, &left), 0) << "nothing left under HKEY_USERS";

    registry.DeleteKeyTree(reg::kUsers, sid);
    registry.DeleteKeyTree(reg::kLocalMachine, list + "\\" + sid);
    registry.DeleteKeyTree(reg::kCurrentUser, "Software\\VantrelDefault");
    if (oldDefault.empty()) {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, list.c_str(), 0, KEY_SET_VALUE, &key) == 0) {
            RegDeleteValueA(key, "Default");
            RegCloseKey(key);
        }
    } else {
        WriteStored(registry, Sz(reg::kLocalMachine, list, "Default", oldDefault));
    }
    for (const std::string& file : {hive, profile, log}) DeleteFileA(file.c_str());
    for (const std::string& folder : {root + "\\ann", root + "\\Default", root}) RemoveDirectoryA(folder.c_str());
}

// The line of a setting in a /report file ("Explorer,Enable Net Send,...").
std::string ReportLine(const std::string& csv, const std::string& pageAndSetting) {
    const std::size_t at = csv.find("\r\n" + pageAndSetting + ",");
    if (at == std::string::npos) return "(no line for " + pageAndSetting + ")";
    return csv.substr(at + 2, csv.find("\r\n", at + 2) - at - 2);
}

// /report and /check as the prefix is set to Windows XP, 7, 10 and 11 (10
// with the build of 11), with NoRun stored by `reg add` for the computer on
// Windows 7 and for the user on Windows 10: the standings with their
// sources, the Start menu's Search written on Windows 7, and every exit code
// of /check.
TEST(UnattendedExe, ReportAndCheckFollowTheWindowsVersionAndPolicies) {
    const std::string appData = AppDataFolder();
    ASSERT_FALSE(appData.empty());
    const std::string base = TempFile("vantrel-check.reg"), changed = TempFile("vantrel-changed.reg"),
                      report = TempFile("vantrel-status.csv");
    const std::string policies = R"(Software\Microsoft\Windows\CurrentVersion\Policies\Explorer)";
    const std::string advanced = kExplorer + "\\Advanced";
    Win32Registry registry;
    std::vector<ValueRef> touched = ApplyTargets();
    touched.push_back({reg::kCurrentUser, policies, "NoRun"});
    touched.push_back({reg::kLocalMachine, policies, "NoRun"});
    WineVersionGuard prefix(registry, touched);
    BackupFolderGuard backups(appData);
    for (const TweakRow& row : PersonalFolderRows()) {
        WriteStored(registry, Sz(reg::kCurrentUser, row.loadKey, row.value,
                                 row.value == "AppData" ? appData : "C:\\Check\\" + row.value));
    }
    // Set here, so that the profile exported on Windows XP carries them (an
    // export leaves out what is not set on this computer): on Windows 7 and 10
    // the one has no effect and the other is set by policy.
    SeedDword(registry, reg::kLocalMachine, R"(SYSTEM\ControlSet001\Services\Messenger)", "Start", 3);
    SeedDword(registry, reg::kCurrentUser, advanced, "Start_ShowRun", 1);
    SeedDword(registry, reg::kCurrentUser, advanced, "Start_ShowSearch", 1);

    struct Case {
        const char* windows;
        const char* build;  // the build number set after the version; nullptr: winecfg's
        std::vector<std::pair<const char*, unsigned>> noRun;  // root, data
        std::vector<std::pair<std::string, std::string>> standings;  // line start, text in it
        int check;  // /check of the profile /apply wrote on Windows XP
    };
    const std::string notUsed = "no effect on this Windows: Not used by ";
    const std::string runPolicy = "\\" + policies + "\\NoRun = 1,unknown,\"Policy CSP - ADMX_StartMenu, NoRun";
    const Case cases[] = {
        {"winxp", nullptr, {},
         {{"Explorer,Enable Net Send", ",takes effect later: after a restart,"},
          {"General Options,Run", ",in effect,unknown,\"[MS-GPPREF] 2.2.1.21.2 StartMenuVista"},
          {"Startup,Boot.ini:", ",takes effect later: after a restart,"}},
         0},
        {"win7", nullptr, {{"HKLM", 1}},
         {{"Explorer,Enable Net Send", "," + notUsed + "Windows Vista and later.,"},
          {"General Options,Run", ",set by policy: HKEY_LOCAL_MACHINE" + runPolicy},
          {"General Options,Search", ",in effect,"}},
         3},
        // Wine's Windows 10 is build 18362, before the Internet Explorer
        // desktop application was retired.
        {"win10", nullptr, {{"HKLM", 0}, {"HKCU", 1}},
         {{"General Options,Run", ",set by policy: HKEY_CURRENT_USER" + runPolicy},
          {"General Options,My Music", ",in effect,"},
          {"Internet Options,Show Go Button", ",unknown (assumed in effect),"},
          {"Startup,Boot.ini:", "," + notUsed + "Windows Vista and later.,"}},
         3},
        // Windows 10 22H2 on a workstation edition that is not a long-term one
        // (Wine's GetProductInfo gives 0x1C), then Windows 11.
        {"win10", "19045", {},
         {{"Internet Options,Show Go Button", ",\"no effect on this Windows: Not used on this edition of Windows 10"}},
         3},
        {"win10", "22631", {},
         {{"Internet Options,Show Go Button", ",\"" + notUsed + "Windows 11: it has no Internet Explorer 11"},
          {"Internet Options,Enable/Disable Script Debugger", ",unknown (assumed in effect),"}},
         3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.windows);
        ASSERT_TRUE(prefix.Set(c.windows));
        if (c.build) {
            ASSERT_EQ(RunSystemProgram("reg.exe add \"HKLM\\Software\\Microsoft\\Windows NT\\CurrentVersion\" /v "
                                       "CurrentBuildNumber /t REG_SZ /d " + std::string(c.build) + " /f"),
                      0);
        }
        for (const auto& [root, data] : c.noRun) ASSERT_TRUE(AddDword(root, policies, "NoRun", data));
        ASSERT_EQ(RunVantrel("/report \"" + report + "\""), 0);
        const std::string csv = ReadFile(report);
        EXPECT_EQ(csv.rfind("\xEF\xBB\xBFPage,Setting,Stored value,Standing,Takes effect,Source\r\n", 0), 0u);
        for (const auto& [line, standing] : c.standings) {
            EXPECT_NE(ReportLine(csv, line).find(standing), std::string::npos) << ReportLine(csv, line);
        }
        if (std::string(c.windows) == "winxp") {
            // The prefix's own profile, applied: from then on nothing would change here.
            ASSERT_EQ(RunVantrel("/export \"" + base + "\""), 0);
            ASSERT_EQ(RunVantrel("/apply \"" + base + "\""), 0);
            WriteFile(changed, "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Control Panel\\Mouse]\r\n\"MouseSensitivity\"=\"3\"\r\n");
            EXPECT_EQ(RunVantrel("/check \"" + changed + "\""), 1);
            WriteFile(changed, "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Control Panel\\Mouse\r\n");
            EXPECT_EQ(RunVantrel("/check \"" + changed + "\""), 2);
        }
        if (std::string(c.windows) == "win7") {
            // The Start menu's Search is written on Windows 7, then put back.
            WriteFile(changed,
                      "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\" + advanced + "]\r\n\"Start_ShowSearch\"=dword:00000000\r\n");
            EXPECT_EQ(RunVantrel("/apply \"" + changed + "\""), 0);
            EXPECT_EQ(ReadDword(registry, reg::kCurrentUser, advanced, "Start_ShowSearch"), 0u);
            SeedDword(registry, reg::kCurrentUser, advanced, "Start_ShowSearch", 1);
        }
        EXPECT_EQ(RunVantrel("/check \"" + base + "\""), c.check);
    }
    for (const std::string& file : {base, changed, report}) DeleteFileA(file.c_str());
}

// On Windows 10: /apply of a profile that sets two policies, clears a third
// and changes the mouse's acceleration. The policies are stored as the
// profile says, the cleared one deleted (its key stays); the acceleration is
// stored and handed to Windows at once (SPI_GETMOUSE in this process, which
// had not read it before, sees it); /check of the profile then gives 0, as
// every one of them is in effect on Windows 10 and no policy overrides them.
TEST(UnattendedExe, OnWindows10ApplySetsTwoPoliciesClearsAThirdAndHandsOverTheMouse) {
    const std::string appData = AppDataFolder();
    ASSERT_FALSE(appData.empty());
    const std::string profile = TempFile("vantrel-policies.reg"), log = TempFile("vantrel-policies.log");
    DeleteFileA(log.c_str());
    const std::string explorer = R"(Software\Policies\Microsoft\Windows\Explorer)";
    const std::string widgets = R"(SOFTWARE\Policies\Microsoft\Dsh)";
    const std::string cloud = R"(Software\Policies\Microsoft\Windows\CloudContent)";
    const std::string mouse = R"(Control Panel\Mouse)";
    // Where Wine keeps a system parameter set without SPIF_UPDATEINIFILE (put back too).
    const std::string wineTemporary = R"(Software\Wine\Temporary System Parameters\Control Panel\Mouse)";
    Win32Registry registry;
    std::vector<ValueRef> touched = ApplyTargets();
    for (const char* name : {"MouseThreshold1", "MouseThreshold2", "MouseSpeed"}) {
        touched.push_back({reg::kCurrentUser, mouse, name});
        touched.push_back({reg::kCurrentUser, wineTemporary, name});
    }
    WineVersionGuard prefix(registry, touched);
    BackupFolderGuard backups(appData);
    ASSERT_TRUE(prefix.Set("win10"));
    for (const TweakRow& row : PersonalFolderRows()) {
        WriteStored(registry, Sz(reg::kCurrentUser, row.loadKey, row.value,
                                 row.value == "AppData" ? appData : "C:\\Policies\\" + row.value));
    }
    // The third policy is one no edition restricts (Wine's edition is a
    // client one, where the Enterprise-only policies do nothing).
    SeedDword(registry, reg::kCurrentUser, cloud, "DisableTailoredExperiencesWithDiagnosticData", 1);
    WriteStored(registry, Sz(reg::kCurrentUser, mouse, "MouseSpeed", "1"));
    WriteFile(profile, "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\" + explorer +
                           "]\r\n\"DisableSearchBoxSuggestions\"=dword:00000001\r\n\r\n"
                           "[HKEY_LOCAL_MACHINE\\" + widgets + "]\r\n\"AllowNewsAndInterests\"=dword:00000000\r\n\r\n"
                           "[HKEY_CURRENT_USER\\" + cloud + "]\r\n\"DisableTailoredExperiencesWithDiagnosticData\"=-\r\n\r\n"
                           "[HKEY_CURRENT_USER\\" + mouse + "]\r\n\"MouseSpeed\"=\"0\"\r\n");

    ASSERT_EQ(RunVantrel("/apply \"" + profile + "\" /log \"" + log + "\""), 0) << ReadFile(log);
    EXPECT_EQ(ReadDword(registry, reg::kCurrentUser, explorer, "DisableSearchBoxSuggestions"), 1u);
    EXPECT_EQ(ReadDword(registry, reg::kLocalMachine, widgets, "AllowNewsAndInterests"), 0u);
    EXPECT_FALSE(ReadStored(registry, reg::kCurrentUser, cloud, "DisableTailoredExperiencesWithDiagnosticData").present);
    RegKey key = 0;
    EXPECT_EQ(registry.OpenKey(reg::kCurrentUser, cloud, &key), reg::kSuccess) << "only the value goes";
    registry.CloseKey(key);
    EXPECT_FALSE(ReadStored(registry, reg::kCurrentUser, cloud, "DisableThirdPartySuggestions").present);
    EXPECT_TRUE(ReadStored(registry, reg::kCurrentUser, mouse, "MouseSpeed") ==
                Sz(reg::kCurrentUser, mouse, "MouseSpeed", "0"));
    int live[3] = {-1, -1, -1};
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETMOUSE, 0, live, 0));
    EXPECT_EQ(live[2], 0) << "handed to Windows at once";

    EXPECT_EQ(RunVantrel("/check \"" + profile + "\" /log \"" + log + "\""), 0) << ReadFile(log);
    for (const std::string& file : {profile, log}) DeleteFileA(file.c_str());
}

}  // namespace
}  // namespace vantrel::test

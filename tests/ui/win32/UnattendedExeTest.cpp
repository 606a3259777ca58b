// Vantrel.exe run by a deployment tool: /export and /apply on a seeded
// prefix, with no window, a backup, the exit code and the log; a write that
// the registry refuses (a key whose security denies setting values) gives
// exit code 1 and a log line. The prefix is put back afterwards.
#include "platform/win32/WindowsApi.h"

#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

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

// The line of a setting in a /report file ("Explorer,Enable Net Send,...").
std::string ReportLine(const std::string& csv, const std::string& pageAndSetting) {
    const std::size_t at = csv.find("\r\n" + pageAndSetting + ",");
    if (at == std::string::npos) return "(no line for " + pageAndSetting + ")";
    return csv.substr(at + 2, csv.find("\r\n", at + 2) - at - 2);
}

// /report and /check as the prefix is set to Windows XP, 7 and 10, with NoRun
// stored by `reg add` on Windows 7: the standings, and every exit code of /check.
TEST(UnattendedExe, ReportAndCheckFollowTheWindowsVersionAndPolicies) {
    const std::string appData = AppDataFolder();
    ASSERT_FALSE(appData.empty());
    const std::string base = TempFile("vantrel-check.reg"), changed = TempFile("vantrel-changed.reg"),
                      report = TempFile("vantrel-status.csv");
    const std::string policies = R"(Software\Microsoft\Windows\CurrentVersion\Policies\Explorer)";
    Win32Registry registry;
    std::vector<ValueRef> touched = ApplyTargets();
    touched.push_back({reg::kCurrentUser, policies, "NoRun"});
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
    SeedDword(registry, reg::kCurrentUser, R"(Software\Microsoft\Windows\CurrentVersion\Explorer\Advanced)",
              "Start_ShowRun", 1);

    struct Case {
        const char* windows;
        bool noRun;
        std::vector<std::pair<std::string, std::string>> standings;  // line start, standing in it
        int check;  // /check of the profile /apply wrote on Windows XP
    };
    const std::string notUsed = "no effect on this Windows: Not used by ";
    const Case cases[] = {
        {"winxp", false,
         {{"Explorer,Enable Net Send", ",takes effect later: after a restart,"},
          {"General Options,Run", ",in effect,"},
          {"Startup,Boot.ini:", ",takes effect later: after a restart,"}},
         0},
        {"win7", true,
         {{"Explorer,Enable Net Send", "," + notUsed + "Windows Vista and later.,"},
          {"General Options,Run", ",set by policy: HKEY_CURRENT_USER\\" + policies + "\\NoRun = 1,"},
          {"General Options,My Music", ",in effect,"}},
         3},
        {"win10", false,
         {{"General Options,My Music", "," + notUsed + "Windows 8 and later.,"},
          {"Startup,Boot.ini:", "," + notUsed + "Windows Vista and later.,"}},
         3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.windows);
        ASSERT_TRUE(prefix.Set(c.windows));
        if (c.noRun) ASSERT_TRUE(AddUserDword(policies, "NoRun", 1));
        ASSERT_EQ(RunVantrel("/report \"" + report + "\""), 0);
        const std::string csv = ReadFile(report);
        EXPECT_EQ(csv.rfind("\xEF\xBB\xBFPage,Setting,Stored value,Standing,Takes effect\r\n", 0), 0u);
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
    SeedDword(registry, reg::kCurrentUser, cloud, "DisableWindowsSpotlightFeatures", 1);
    WriteStored(registry, Sz(reg::kCurrentUser, mouse, "MouseSpeed", "1"));
    WriteFile(profile, "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\" + explorer +
                           "]\r\n\"DisableSearchBoxSuggestions\"=dword:00000001\r\n\r\n"
                           "[HKEY_LOCAL_MACHINE\\" + widgets + "]\r\n\"AllowNewsAndInterests\"=dword:00000000\r\n\r\n"
                           "[HKEY_CURRENT_USER\\" + cloud + "]\r\n\"DisableWindowsSpotlightFeatures\"=-\r\n\r\n"
                           "[HKEY_CURRENT_USER\\" + mouse + "]\r\n\"MouseSpeed\"=\"0\"\r\n");

    ASSERT_EQ(RunVantrel("/apply \"" + profile + "\" /log \"" + log + "\""), 0) << ReadFile(log);
    EXPECT_EQ(ReadDword(registry, reg::kCurrentUser, explorer, "DisableSearchBoxSuggestions"), 1u);
    EXPECT_EQ(ReadDword(registry, reg::kLocalMachine, widgets, "AllowNewsAndInterests"), 0u);
    EXPECT_FALSE(ReadStored(registry, reg::kCurrentUser, cloud, "DisableWindowsSpotlightFeatures").present);
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

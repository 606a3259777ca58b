// Targets against the real registry calls (under Wine in the test run): a
// logged-on profile written through its key under HKEY_USERS; a profile
// hive and the Default profile made with RegSaveKey, loaded, written, read
// back and unloaded; a hive held by another handle told apart; an offline
// Windows laid out in a folder from hives made with RegSaveKey.
//
// Wine drops what was written to a loaded hive when it unloads it, so that
// the values are read back before the unload, never after: that they reach
// the file on Windows rests on RegFlushKey and RegUnLoadKey as documented.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Targets.h"
#include "platform/win32/Win32Environment.h"
#include "platform/win32/Win32Files.h"
#include "platform/win32/Win32Hives.h"
#include "platform/win32/Win32Registry.h"
#include "registry/NativeView.h"
#include "registry/RegistryRoutines.h"

namespace vantrel::testing {
namespace {

constexpr const char* kProfileList = R"(SOFTWARE\Microsoft\Windows NT\CurrentVersion\ProfileList)";
constexpr const char* kMouse = R"(Control Panel\Mouse)";
constexpr const char* kUserShellFolders = R"(Software\Microsoft\Windows\CurrentVersion\Explorer\User Shell Folders)";
constexpr const char* kRoot = R"(C:\vantrel-targets)";
constexpr const char* kSource = R"(Software\VantrelTargetsSource)";  // under HKCU: what the saved hives hold
constexpr const char* kLoggedOn = "S-1-5-21-1111-2222-3333-1001";
constexpr const char* kOnDisk = "S-1-5-21-1111-2222-3333-1002";

// The registry, files and hive service the exe wires, and the cleanup of
// everything a test laid out, whatever way it ends.
class TargetsWine : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(hives.EnableBackupAndRestore(), 0);
        CreateDirectoryA(kRoot, nullptr);
    }
    void TearDown() override {
        for (const auto& [root, path] : made_) win32.DeleteKeyTree(root, path);
        for (auto it = files_.rbegin(); it != files_.rend(); ++it) DeleteFileA(it->c_str());
        for (auto it = folders_.rbegin(); it != folders_.rend(); ++it) RemoveDirectoryA(it->c_str());
        RemoveDirectoryA(kRoot);
        if (restoreDefault_) {
            if (oldDefault_.empty()) {
                HKEY key = nullptr;
                if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kProfileList, 0, KEY_SET_VALUE, &key) == 0) {
                    RegDeleteValueA(key, "Default");
                    RegCloseKey(key);
                }
            } else {
                SetText(HKEY_LOCAL_MACHINE, kProfileList, "Default", oldDefault_);
            }
        }
    }

    void Folder(const std::string& path) {
        if (CreateDirectoryA(path.c_str(), nullptr)) folders_.push_back(path);
    }
    void SetText(HKEY root, const std::string& path, const char* name, const std::string& text, DWORD type = REG_SZ) {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr), 0);
        RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(text.c_str()),
                       static_cast<DWORD>(text.size() + 1));
        RegCloseKey(key);
    }
    void Made(RegKey root, const std::string& path) { made_.push_back({root, path}); }
    // A hive file of HKCU\<kSource>\<name>, made with RegSaveKey.
    void SaveHive(const std::string& name, const std::string& file) {
        HKEY key = nullptr;
        ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, (std::string(kSource) + "\\" + name).c_str(), 0, KEY_READ, &key), 0);
        DeleteFileA(file.c_str());
        ASSERT_EQ(RegSaveKeyA(key, file.c_str(), nullptr), 0) << file;
        RegCloseKey(key);
        files_.push_back(file);
    }
    // A profile hive: MouseTrails 0.
    void SaveProfileHive(const std::string& file) {
        SetText(HKEY_CURRENT_USER, std::string(kSource) + R"(\user\)" + kMouse, "MouseTrails", "0");
        Made(reg::kCurrentUser, kSource);
        SaveHive("user", file);
    }
    // The keys under a root whose names start with "Vantrel-".
    std::vector<std::string> Mounted(HKEY root) {
        std::vector<std::string> names;
        char name[256];
        for (DWORD i = 0;; ++i) {
            DWORD len = sizeof name;
            if (RegEnumKeyExA(root, i, name, &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
            if (std::string(name, len).rfind("Vantrel-", 0) == 0) names.emplace_back(name, len);
        }
        return names;
    }
    std::vector<HiveEvent::Kind> Kinds() const {
        std::vector<HiveEvent::Kind> kinds;
        for (const HiveEvent& e : events) kinds.push_back(e.kind);
        return kinds;
    }
    // Writes through an opened target and reads it back through it, before any unload.
    void WriteAndReadBack(OpenedTarget& target) {
        ASSERT_TRUE(target.ok()) << target.problem();
        Registry& reg = target.registry();
        EXPECT_EQ(SaveString(reg, reg::kCurrentUser, kMouse, "MouseTrails", "9"), WriteResult::Stored);
        EXPECT_EQ(SaveString(reg, reg::kCurrentUser, kUserShellFolders, "Desktop", target.target().profileFolder + "\\Desktop"),
                  WriteResult::Stored);
        EXPECT_EQ(GetString(reg, reg::kCurrentUser, kMouse, "MouseTrails"), "9");
        // Kept relative in the hive, and read through the layer as it was written.
        for (Registry* through : {&target.mapped(), &reg}) {
            RegKey key = 0;
            ASSERT_EQ(through->OpenKey(reg::kCurrentUser, kUserShellFolders, &key), 0);
            std::uint32_t type = 0;
            char data[MAX_PATH] = {};
            std::uint32_t size = sizeof data;
            EXPECT_EQ(through->QueryValue(key, "Desktop", &type, reinterpret_cast<std::uint8_t*>(data), &size), 0);
            through->CloseKey(key);
            const bool raw = through == &target.mapped();
            EXPECT_EQ(type, raw ? reg::kExpandSz : reg::kSz);
            EXPECT_EQ(std::string(data), raw ? R"(%USERPROFILE%\Desktop)" : target.target().profileFolder + "\\Desktop");
        }
    }

    Win32Registry win32;
    Win32Environment environment;
    NativeViewRegistry registry{win32, environment.RunsUnderWow64()};
    Win32FileSystem files;
    Win32Hives hives;
    std::vector<HiveEvent> events;

private:
    std::vector<std::pair<RegKey, std::string>> made_;
    std::vector<std::string> files_, folders_;

protected:
    bool restoreDefault_ = false;  // ProfileList's "Default" was set by the test
    std::string oldDefault_;
};

TEST_F(TargetsWine, ALoggedOnProfileIsWrittenUnderItsSid) {
    Folder(std::string(kRoot) + R"(\logged-on)");
    SetText(HKEY_USERS, std::string(kLoggedOn) + "\\Software", "seed", "");
    Made(reg::kUsers, kLoggedOn);
    SetText(HKEY_LOCAL_MACHINE, std::string(kProfileList) + "\\" + kLoggedOn, "ProfileImagePath",
            R"(%SystemDrive%\vantrel-targets\logged-on)", REG_EXPAND_SZ);
    Made(reg::kLocalMachine, std::string(kProfileList) + "\\" + kLoggedOn);

    const std::string before = GetString(win32, reg::kCurrentUser, kMouse, "MouseTrails");
    const FoundTargets found = FindTargets({TargetRequest::Mode::User, kLoggedOn}, registry, files, hives);
    ASSERT_EQ(found.targets.size(), 1u) << found.refused;
    EXPECT_TRUE(found.targets[0].loaded);
    EXPECT_EQ(found.targets[0].profileFolder, std::string(kRoot) + R"(\logged-on)");
    {
        OpenedTarget target(found.targets[0], registry, hives, events);
        WriteAndReadBack(target);
    }
    EXPECT_TRUE(events.empty());  // nothing was loaded
    EXPECT_EQ(GetString(win32, reg::kUsers, std::string(kLoggedOn) + "\\" + kMouse, "MouseTrails"), "9");
    EXPECT_EQ(GetString(win32, reg::kCurrentUser, kMouse, "MouseTrails"), before);  // the running user's is untouched
}

TEST_F(TargetsWine, AnAccountNameAndItsSidFindEachOther) {
    char name[256] = {};
    DWORD size = sizeof name;
    ASSERT_TRUE(GetUserNameA(name, &size));
    std::string sid, account;
    ASSERT_EQ(hives.AccountSid(name, &sid), 0);
    EXPECT_EQ(sid.rfind("S-1-5-", 0), 0u) << sid;
    ASSERT_EQ(hives.AccountName(sid, &account), 0);
    EXPECT_EQ(account.substr(account.find('\\') + 1), name);
    std::string again;
    ASSERT_EQ(hives.AccountSid(account, &again), 0);  // DOMAIN\NAME
    EXPECT_EQ(again, sid);
}

TEST_F(TargetsWine, HivesOnDiskAreLoadedWrittenAndUnloaded) {
    const std::string profile = std::string(kRoot) + R"(\on-disk)", defaults = std::string(kRoot) + R"(\Default)";
    Folder(profile);
    Folder(defaults);
    SaveProfileHive(profile + R"(\NTUSER.DAT)");
    SaveProfileHive(defaults + R"(\NTUSER.DAT)");
    SetText(HKEY_LOCAL_MACHINE, std::string(kProfileList) + "\\" + kOnDisk, "ProfileImagePath", profile);
    Made(reg::kLocalMachine, std::string(kProfileList) + "\\" + kOnDisk);
    // The Default profile: where the system names it, else ProfileList's "Default".
    std::string systemDefault;
    const long api = hives.DefaultProfileFolder(&systemDefault);
    if (api == 0) {
        GTEST_LOG_(INFO) << "GetDefaultUserProfileDirectory gives " << systemDefault << ": the fallback is not reached";
    } else {
        EXPECT_EQ(api, 126);  // measured under Wine 8
        GTEST_LOG_(INFO) << "GetDefaultUserProfileDirectory fails with " << api << ": ProfileList's Default is used";
        restoreDefault_ = true;
        oldDefault_ = GetString(win32, reg::kLocalMachine, kProfileList, "Default");
        SetText(HKEY_LOCAL_MACHINE, kProfileList, "Default", R"(%SystemDrive%\vantrel-targets\Default)", REG_EXPAND_SZ);
    }

    const FoundTargets found = FindTargets({TargetRequest::Mode::All}, registry, files, hives);
    std::vector<Target> ours;
    for (const Target& t : found.targets) {
        if (t.sid == kOnDisk || (t.kind == Target::Kind::DefaultProfile && api != 0)) ours.push_back(t);
    }
    ASSERT_EQ(ours.size(), api != 0 ? 2u : 1u) << found.refused;
    for (const Target& target : ours) {
        SCOPED_TRACE(target.label);
        events.clear();
        EXPECT_FALSE(target.loaded);
        {
            OpenedTarget opened(target, registry, hives, events);
            WriteAndReadBack(opened);
            EXPECT_EQ(Mounted(HKEY_USERS).size(), 1u);
        }
        EXPECT_EQ(Kinds(), (std::vector{HiveEvent::Kind::Loaded, HiveEvent::Kind::Unloaded}));
        EXPECT_TRUE(Mounted(HKEY_USERS).empty());
    }

    // Held by another handle, the hive is told apart and nothing is written.
    events.clear();
    HANDLE held = CreateFileA((profile + R"(\NTUSER.DAT)").c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    {
        OpenedTarget opened(ours[0], registry, hives, events);
        EXPECT_FALSE(opened.ok());
        ASSERT_EQ(events.size(), 1u);
        EXPECT_EQ(events[0].kind, HiveEvent::Kind::InUse) << DescribeHiveEvent(events[0]);
    }
    CloseHandle(held);
    EXPECT_TRUE(Mounted(HKEY_USERS).empty());
}

TEST_F(TargetsWine, AnOfflineWindowsIsOpenedFromItsOwnHives) {
    const std::string windows = std::string(kRoot) + R"(\WINDOWS)", config = windows + R"(\System32\config)";
    for (const std::string& f : {windows, windows + R"(\System32)", config, std::string(kRoot) + R"(\Documents and Settings)",
                                 std::string(kRoot) + R"(\Documents and Settings\olga)"}) {
        Folder(f);
    }
    const std::string software = std::string(kSource) + R"(\SOFTWARE\Microsoft\Windows NT\CurrentVersion)";
    SetText(HKEY_CURRENT_USER, software, "CurrentVersion", "5.1");
    SetText(HKEY_CURRENT_USER, software, "CurrentBuildNumber", "2600");
    SetText(HKEY_CURRENT_USER, software, "ProductName", "Microsoft Windows XP");
    SetText(HKEY_CURRENT_USER, software, "SystemRoot", R"(C:\WINDOWS)");
    SetText(HKEY_CURRENT_USER, software + R"(\ProfileList\S-1-5-21-4-4-4-1001)", "ProfileImagePath",
            R"(%SystemDrive%\Documents and Settings\olga)", REG_EXPAND_SZ);
    const std::string system = std::string(kSource) + R"(\SYSTEM)";
    HKEY select = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, (system + R"(\Select)").c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &select, nullptr), 0);
    const DWORD current = 2;
    RegSetValueExA(select, "Current", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&current), sizeof current);
    RegCloseKey(select);
    SetText(HKEY_CURRENT_USER, system + R"(\ControlSet002\Control)", "Mark", "second");
    Made(reg::kCurrentUser, kSource);
    SaveHive("SOFTWARE", config + R"(\SOFTWARE)");
    SaveHive("SYSTEM", config + R"(\SYSTEM)");
    SaveProfileHive(std::string(kRoot) + R"(\Documents and Settings\olga\NTUSER.DAT)");

    {
        OfflineWindows offline(windows, registry, files, hives, events);
        ASSERT_EQ(offline.problem(), "");
        EXPECT_EQ(offline.facts().version, (WindowsVersion{5, 1, 2600}));
        EXPECT_EQ(offline.facts().productName, "Microsoft Windows XP");
        EXPECT_EQ(offline.facts().edition, "");
        EXPECT_EQ(offline.facts().controlSet, "ControlSet002");
        EXPECT_EQ(Mounted(HKEY_LOCAL_MACHINE).size(), 2u);
        const FoundTargets found = offline.FindTargets({TargetRequest::Mode::User, "olga"});
        ASSERT_EQ(found.targets.size(), 1u) << found.refused;
        EXPECT_EQ(found.targets[0].profileFolder, std::string(kRoot) + R"(\Documents and Settings\olga)");
        OpenedTarget olga(found.targets[0], registry, hives, events, &offline);
        WriteAndReadBack(olga);
        EXPECT_EQ(GetString(olga.registry(), reg::kLocalMachine, R"(SYSTEM\CurrentControlSet\Control)", "Mark"), "second");
        EXPECT_EQ(GetString(olga.registry(), reg::kLocalMachine, R"(SOFTWARE\Microsoft\Windows NT\CurrentVersion)",
                            "CurrentBuildNumber"),
                  "2600");
    }
    EXPECT_TRUE(Mounted(HKEY_LOCAL_MACHINE).empty());
    EXPECT_TRUE(Mounted(HKEY_USERS).empty());
    EXPECT_EQ(Kinds(), (std::vector{HiveEvent::Kind::Loaded, HiveEvent::Kind::Loaded, HiveEvent::Kind::Loaded,
                                    HiveEvent::Kind::Unloaded, HiveEvent::Kind::Unloaded, HiveEvent::Kind::Unloaded}));
}

}  // namespace
}  // namespace vantrel::testing

// Runs for other targets: a logged-on user, a profile whose hive is on disk,
// the Default profile and all of them, each written only with what the file
// holds, the machine's values once; the exit code and log of each switch.
#include <filesystem>
#include <functional>

#include "app/Unattended.h"
#include "registry/RegistryRoutines.h"
#include "support/TestRig.h"

namespace vantrel::testing {
namespace {

constexpr const char* kAnn = "S-1-5-21-9-9-9-1001";
constexpr const char* kBob = "S-1-5-21-9-9-9-1002";
const std::string kList = R"(SOFTWARE\Microsoft\Windows NT\CurrentVersion\ProfileList)";
const std::string kMouse = R"(Control Panel\Mouse)";
const std::string kUserFolders = R"(Software\Microsoft\Windows\CurrentVersion\Explorer\User Shell Folders)";
const std::string kNarrator = R"(SOFTWARE\Microsoft\Windows NT\CurrentVersion\Accessibility\Utility Manager\Narrator)";
const std::string kBobHive = R"(C:\Documents and Settings\bob\NTUSER.DAT)";
const std::string kDefaultHive = R"(C:\Documents and Settings\Default User\NTUSER.DAT)";

// A hive file whose Control Panel\Mouse "MouseTrails" is "7".
std::string HiveFile() {
    MemoryRegistry scratch;
    scratch.PutString(reg::kCurrentUser, "hive\\" + kMouse, "MouseTrails", "7");
    return scratch.SaveHive(reg::kCurrentUser, "hive");
}

// This computer: ann logged on, bob's hive and the Default profile's on disk.
void LayOut(TestRig& rig) {
    SeedFolders(rig.registry);
    for (const auto& [sid, name] : {std::pair{kAnn, "ann"}, std::pair{kBob, "bob"}}) {
        const std::string folder = std::string(R"(C:\Documents and Settings\)") + name;
        rig.registry.PutString(reg::kLocalMachine, kList + "\\" + sid, "ProfileImagePath", folder);
        rig.files.CreateFolders(folder);
        rig.hives.AddAccount("PC", name, sid);
    }
    rig.registry.PutString(reg::kUsers, std::string(kAnn) + "\\" + kMouse, "MouseTrails", "7");
    rig.files.CreateFolders(R"(C:\Documents and Settings\Default User)");
    rig.files.WriteAll(kBobHive, HiveFile());
    rig.files.WriteAll(kDefaultHive, HiveFile());
    rig.files.WriteAll("C:\\p.reg",
                       "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\" + kMouse +
                           "]\r\n\"SwapMouseButtons\"=\"1\"\r\n\r\n[HKEY_CURRENT_USER\\" + kUserFolders +
                           "]\r\n\"Desktop\"=hex(2):25,00,55,00,53,00,45,00,52,00,50,00,52,00,4f,00,46,00,49,00,4c,00,"
                           "45,00,25,00,5c,00,44,00,65,00,73,00,6b,00,74,00,6f,00,70,00,00,00\r\n\r\n[HKEY_LOCAL_MACHINE\\" + kNarrator +
                           "]\r\n\"Start with Windows\"=\"1\"\r\n");
}

// A value of a hive file; "" when absent.
std::string InFile(TestRig& rig, const std::string& file, const std::string& key, const char* name) {
    std::string bytes;
    MemoryRegistry reader;
    if (rig.files.ReadAll(file, &bytes, false) != 0 || reader.MountHive(reg::kUsers, "h", bytes) != 0) return {};
    return GetString(reader, reg::kUsers, "h\\" + key, name);
}

TEST(TargetRun, EachTargetGetsWhatTheFileHoldsAndNothingElse) {
    const struct {
        const char* name;
        std::string commandLine;
        std::function<void(TestRig&)> arrange;
        int exitCode;
        std::vector<std::string> logged;
        std::function<void(TestRig&)> verify;
    } cases[] = {
        {"a user who is logged on", "/apply C:\\p.reg /to:user=PC\\ann", nullptr, 0,
         {"Target: user " + std::string(kAnn) + " (PC\\ann)", "All changes applied."},
         [](TestRig& rig) {
             const std::string ann = std::string(kAnn) + "\\";
             EXPECT_EQ(GetString(rig.registry, reg::kUsers, ann + kMouse, "SwapMouseButtons"), "1");
             EXPECT_EQ(GetString(rig.registry, reg::kUsers, ann + kMouse, "MouseTrails"), "7") << "left as it was";
             EXPECT_FALSE(rig.registry.Raw(reg::kUsers, ann + kMouse, "MouseSensitivity")) << "not in the file";
             const auto desktop = rig.registry.Raw(reg::kUsers, ann + kUserFolders, "Desktop");
             ASSERT_TRUE(desktop);
             EXPECT_EQ(desktop->type, reg::kExpandSz) << "kept relative to ann's profile";
             EXPECT_FALSE(rig.registry.Raw(reg::kCurrentUser, kMouse, "SwapMouseButtons")) << "the running user's";
             EXPECT_EQ(GetString(rig.registry, reg::kLocalMachine, kNarrator, "Start with Windows"), "1");
         }},
        {"the Default profile", "/apply C:\\p.reg /to:default", nullptr, 0,
         {"Target: Default profile", "All changes applied."},
         [](TestRig& rig) {
             EXPECT_EQ(InFile(rig, kDefaultHive, kMouse, "SwapMouseButtons"), "1");
             EXPECT_EQ(InFile(rig, kDefaultHive, kMouse, "MouseTrails"), "7");
             EXPECT_EQ(rig.hives.calls.back().rfind("unload", 0), 0u) << "unloaded last";
         }},
        {"every profile, the machine's values once", "/apply C:\\p.reg /to:all", nullptr, 0,
         {"Target: user " + std::string(kAnn), "Target: user " + std::string(kBob), "Target: Default profile",
          "3 targets: 3 done as the file holds it"},
         [](TestRig& rig) {
             EXPECT_EQ(InFile(rig, kBobHive, kMouse, "SwapMouseButtons"), "1");
             EXPECT_EQ(InFile(rig, kDefaultHive, kMouse, "SwapMouseButtons"), "1");
         }},
        {"a hive in use", "/apply C:\\p.reg /to:all", [](TestRig& rig) { rig.hives.loadFails[kBobHive] = 32; }, 1,
         {"is in use", "3 targets: 2 done as the file holds it, 0 partly, 1 not at all."},
         [](TestRig& rig) { EXPECT_EQ(InFile(rig, kBobHive, kMouse, "SwapMouseButtons"), ""); }},
        {"check after apply settles", "/check C:\\p.reg /to:all",
         [](TestRig& rig) {
             App first(rig.services);
             ASSERT_EQ(RunUnattended(first, ParseSwitches({"/apply", "C:\\p.reg", "/to:all"})), 0);
         },
         0, {"3 targets: 0 would change"}, nullptr},
        {"check before apply", "/check C:\\p.reg /to:user=" + std::string(kBob), nullptr, 1,
         {"Would change: Mouse - Mouse Hand:"}, nullptr},
        {"report", "/report C:\\status.csv /to:all", nullptr, 0, {"3 targets read."},
         [](TestRig& rig) {
             std::string csv;
             ASSERT_EQ(rig.files.ReadAll("C:\\status.csv", &csv, false), 0);
             EXPECT_NE(csv.find(",Source,Target\r\n"), std::string::npos);
             EXPECT_NE(csv.find(",Default profile\r\n"), std::string::npos);
         }},
        {"not an administrator", "/apply C:\\p.reg /to:all", [](TestRig& rig) { rig.hives.administrator = false; }, 2,
         {"Only an administrator can", "Nothing was written."},
         [](TestRig& rig) { EXPECT_TRUE(rig.hives.calls.empty()); }},
        {"no such user", "/apply C:\\p.reg /to:user=nobody", nullptr, 2, {"Nothing was written."}, nullptr},
        {"export takes one target", "/export C:\\out.reg /to:all", nullptr, 2, {"Bad arguments: /export takes"}, nullptr},
    };
    for (const auto& c : cases) {
        TestRig rig;
        LayOut(rig);
        if (c.arrange) c.arrange(rig);
        const std::string before = rig.registry.ExportRegFile(RegFormat::Version5);
        App app(rig.services);
        EXPECT_EQ(RunUnattended(app, ParseSwitches(SplitCommandLine(c.commandLine + " /log C:\\run.log"))), c.exitCode)
            << c.name;
        std::string log;
        rig.files.ReadAll("C:\\run.log", &log, false);
        std::size_t at = 0;
        for (const std::string& text : c.logged) {
            at = log.find(text, at);
            ASSERT_NE(at, std::string::npos) << c.name << ": " << text << "\n" << log;
        }
        if (c.exitCode == 2) EXPECT_EQ(rig.registry.ExportRegFile(RegFormat::Version5), before) << c.name;
        EXPECT_TRUE(rig.registry.MountedHives().empty()) << c.name << ": every hive unloaded";
        if (c.verify) c.verify(rig);
    }
}

}  // namespace
}  // namespace vantrel::testing

namespace vantrel::testing {
namespace {

// A backup taken for another target goes back to it: the hive is found and
// loaded again, and the running user's settings stay as they are.
TEST(TargetRun, RestoreBackupPutsATargetsBackupBackInItsHive) {
    for (const char* to : {"/to:user=PC\\ann", "/to:user=PC\\bob", "/to:default"}) {
        TestRig rig;
        LayOut(rig);
        App unattended(rig.services);
        ASSERT_EQ(RunUnattended(unattended, ParseSwitches({"/apply", "C:\\p.reg", to})), 0) << to;
        const std::string who = to;
        const auto read = [&] {
            if (who.find("ann") != std::string::npos)
                return GetString(rig.registry, reg::kUsers, std::string(kAnn) + "\\" + kMouse, "SwapMouseButtons");
            return InFile(rig, who.find("bob") != std::string::npos ? kBobHive : kDefaultHive, kMouse, "SwapMouseButtons");
        };
        ASSERT_EQ(read(), "1") << to;
        std::string backup;
        for (const auto& entry : std::filesystem::directory_iterator(
                 rig.files.HostPath(R"(C:\Documents and Settings\User\Application Data\Vantrel\Backups)"))) {
            backup = entry.path().filename().string();
        }
        rig.dialogs.ExpectFileToOpen(R"(C:\Documents and Settings\User\Application Data\Vantrel\Backups\)" + backup)
            .ExpectReview("Restore Backup", true)
            .ExpectMessage("Backup Restored");
        rig.app->Menu("restore");
        rig.dialogs.Verify();
        EXPECT_EQ(read(), "") << to << ": absent again, as before the apply";
        EXPECT_FALSE(rig.registry.Raw(reg::kCurrentUser, kMouse, "SwapMouseButtons")) << to;
        EXPECT_TRUE(rig.registry.MountedHives().empty()) << to;
    }
}

}  // namespace
}  // namespace vantrel::testing

namespace vantrel::testing {
namespace {

// The window's pages applied to other users: the ticked profiles reviewed one
// by one, then written where accepted, with only what an export carries.
TEST(TargetRun, ApplyToOtherUsersReviewsEachProfileFirst) {
    TestRig rig;
    LayOut(rig);
    rig.app->Form_Load();
    rig.form1().option("Option1").setValue(true);  // left-handed: SwapMouseButtons "1"
    rig.dialogs
        .ExpectExportChoice([](ExportChoice& c) {
            ASSERT_EQ(c.list.rows.size(), 3u);
            for (std::size_t i = 0; i < c.checked.size(); ++i) c.checked[i] = c.list.rows[i].cells[0] != "user " + std::string(kAnn) + " (PC\\ann)";
        })
        .ExpectReview("Apply to Other Users", true)    // bob
        .ExpectReview("Apply to Other Users", false)   // the Default profile: skipped
        .ExpectMessage("Apply to Other Users", mb::kAnswerOk, "", mb::kInformation);
    rig.app->Menu("others");
    rig.dialogs.Verify();
    EXPECT_EQ(InFile(rig, kBobHive, kMouse, "SwapMouseButtons"), "1");
    EXPECT_EQ(InFile(rig, kBobHive, kMouse, "MouseTrails"), "7") << "what the pages do not carry stays";
    EXPECT_EQ(InFile(rig, kDefaultHive, kMouse, "SwapMouseButtons"), "") << "reviewed and not accepted";
    EXPECT_FALSE(rig.registry.Raw(reg::kUsers, std::string(kAnn) + "\\" + kMouse, "SwapMouseButtons")) << "not ticked";
    EXPECT_TRUE(rig.registry.MountedHives().empty());

    // Without administrator rights the command says so and opens nothing.
    rig.hives.administrator = false;
    rig.dialogs.ExpectMessage("Apply to Other Users", mb::kAnswerOk, "", mb::kExclamation);
    rig.app->Menu("others");
    rig.dialogs.Verify();
}

}  // namespace
}  // namespace vantrel::testing

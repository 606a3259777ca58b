// The Windows 10 and 11 pages through the program's runs: a profile's
// policies set and cleared by /apply, checked by /check, shown by the window
// and put back by Restore Backup; and the mouse's acceleration handed to
// Windows at once by the runs that apply for the user running them.
#include <gtest/gtest.h>

#include <functional>

#include "app/Review.h"
#include "app/Unattended.h"
#include "support/TestRig.h"

namespace vantrel::testing {
namespace {

constexpr RegKey kHkcu = reg::kCurrentUser;
constexpr RegKey kHklm = reg::kLocalMachine;
const std::string kExplorer = "Software\\Policies\\Microsoft\\Windows\\Explorer";
const std::string kWidgets = "SOFTWARE\\Policies\\Microsoft\\Dsh";
const std::string kCloud = "Software\\Policies\\Microsoft\\Windows\\CloudContent";
const std::string kMouse = "Control Panel\\Mouse";
const std::string kBackup =
    "C:\\Documents and Settings\\User\\Application Data\\Vantrel\\Backups\\Settings 2004-05-01 12-00-00.reg";

int RunWith(TestRig& rig, std::vector<std::string> args) {
    App app(rig.services);
    return RunUnattended(app, ParseSwitches(args));
}

std::optional<std::string> Stored(TestRig& rig, RegKey root, const std::string& key, const std::string& value) {
    bool present = false;
    const std::string text = GetString(rig.registry, root, key, value, &present);
    return present ? std::optional<std::string>(text) : std::nullopt;
}

TEST(ModernWindowsPages, AProfileSetsTwoPoliciesAndClearsAThird) {
    TestRig rig;
    rig.environment.setWindowsVersion({10, 0, 19045});
    SeedFolders(rig.registry);
    rig.registry.PutDword(kHkcu, kCloud, "DisableWindowsSpotlightFeatures", 1);
    ASSERT_EQ(rig.files.WriteAll("C:\\p.reg", "Windows Registry Editor Version 5.00\r\n\r\n"
                                              "[HKEY_CURRENT_USER\\" + kExplorer + "]\r\n"
                                              "\"DisableSearchBoxSuggestions\"=dword:00000001\r\n\r\n"
                                              "[HKEY_LOCAL_MACHINE\\" + kWidgets + "]\r\n"
                                              "\"AllowNewsAndInterests\"=dword:00000000\r\n\r\n"
                                              "[HKEY_CURRENT_USER\\" + kCloud + "]\r\n"
                                              "\"DisableWindowsSpotlightFeatures\"=-\r\n"),
              0);

    EXPECT_EQ(RunWith(rig, {"/check", "C:\\p.reg"}), 1);
    ASSERT_EQ(RunWith(rig, {"/apply", "C:\\p.reg", "/log", "C:\\run.log"}), 0);
    EXPECT_EQ(Stored(rig, kHkcu, kExplorer, "DisableSearchBoxSuggestions"), "1");
    EXPECT_EQ(Stored(rig, kHklm, kWidgets, "AllowNewsAndInterests"), "0");
    EXPECT_EQ(Stored(rig, kHkcu, kCloud, "DisableWindowsSpotlightFeatures"), std::nullopt);
    EXPECT_TRUE(rig.registry.HasKey(kHkcu, kCloud)) << "only the value goes";
    EXPECT_EQ(Stored(rig, kHkcu, kCloud, "DisableThirdPartySuggestions"), std::nullopt) << "not in the file";
    EXPECT_EQ(RunWith(rig, {"/check", "C:\\p.reg"}), 0);

    // The window shows the three states; Restore Backup brings the deleted value back.
    rig.app->Form_Load();
    EXPECT_EQ(rig.form1().check("Check28").value(), 1);
    EXPECT_EQ(rig.form1().check("Check35").value(), 0);
    EXPECT_EQ(rig.form1().check("Check36").value(), 2);
    rig.dialogs.ExpectFileToOpen(kBackup).ExpectReview("Restore Backup", true).ExpectMessage("Backup Restored");
    rig.app->Menu("restore");
    rig.dialogs.Verify();
    EXPECT_EQ(Stored(rig, kHkcu, kCloud, "DisableWindowsSpotlightFeatures"), "1");
    EXPECT_EQ(Stored(rig, kHkcu, kExplorer, "DisableSearchBoxSuggestions"), std::nullopt);
    EXPECT_EQ(rig.form1().check("Check36").value(), 1);

    // Review Changes shows the deletion Not configured makes.
    rig.form1().check("Check36").setValue(2);
    rig.dialogs.ExpectReview("Review Changes", false);
    rig.app->Menu("review");
    const ReviewList& list = rig.dialogs.reviews.back();
    const auto row = std::find_if(list.rows.begin(), list.rows.end(), [](const ReviewList::Row& r) {
        return r.cells.size() == 6 && r.cells[1] == "Turn off all Windows spotlight features";
    });
    ASSERT_NE(row, list.rows.end());
    EXPECT_EQ(row->cells[3], "1 (REG_DWORD)");
    EXPECT_EQ(row->cells[4], "(deleted)");
}

// MouseSpeed stored "1"; what a run stores and hands to Windows.
TEST(ModernWindowsPages, MouseAccelerationIsHandedToWindowsOnlyWhenAnApplyChangesIt) {
    struct Case {
        const char* name;
        std::function<void(TestRig&)> run;
        std::string stored;
        std::vector<int> handed;
    };
    auto profile = [](TestRig& rig, const char* speed) {
        ASSERT_EQ(rig.files.WriteAll("C:\\p.reg", "REGEDIT4\r\n[HKEY_CURRENT_USER\\Control Panel\\Mouse]\r\n"
                                                  "\"MouseSpeed\"=\"" + std::string(speed) + "\"\r\n"),
                  0);
    };
    auto window = [](int speed) {
        return [=](TestRig& rig) {
            rig.app->Form_Load();
            if (speed >= 0) rig.form1().list("Combo3").setListIndex(speed);
            rig.dialogs.ExpectMessage("Changes Applied");
            rig.app->apply_Click();
        };
    };
    auto unattended = [&](const char* mode, const char* speed) {
        return [=](TestRig& rig) {
            profile(rig, speed);
            RunWith(rig, {mode, "C:\\p.reg"});
        };
    };
    const std::vector<Case> cases = {
        {"Apply Changes, changed", window(0), "0", {0}},
        {"Apply Changes, left as loaded", window(-1), "1", {}},
        {"/apply, changed", unattended("/apply", "2"), "2", {2}},
        {"/apply of the stored value", unattended("/apply", "1"), "1", {}},
        {"/check", unattended("/check", "0"), "1", {}},
        {"/apply, the write refused",
         [&](TestRig& rig) {
             rig.registry.SetReadOnly(kHkcu, true);
             unattended("/apply", "0")(rig);
         },
         "1", {}},
        {"/apply on Windows XP",
         [&](TestRig& rig) {
             rig.environment.setWindowsVersion({5, 1, 2600});
             unattended("/apply", "0")(rig);
         },
         "0", {0}},
    };
    for (const Case& c : cases) {
        TestRig rig;
        rig.environment.setWindowsVersion({10, 0, 22631});
        SeedFolders(rig.registry);
        rig.registry.PutString(kHkcu, kMouse, "MouseSpeed", "1");
        c.run(rig);
        EXPECT_EQ(GetString(rig.registry, kHkcu, kMouse, "MouseSpeed"), c.stored) << c.name;
        EXPECT_EQ(rig.live.mouseAccelerations, c.handed) << c.name;
        rig.dialogs.Verify();
    }
}

}  // namespace
}  // namespace vantrel::testing
